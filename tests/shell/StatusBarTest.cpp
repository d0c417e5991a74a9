#include "TestRegistry.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "shell/StatusBar.h"

#include <QAccessible>
#include <QFile>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A document in a view with its colouring and the status bar under it, as
// the main window holds them.
struct Shown {
    QWidget window;
    Document document;
    RichTextBox* pad = new RichTextBox(&document, &window);
    SyntaxColouring colouring{*pad};
    StatusBar* bar = new StatusBar(*pad, &colouring, &window);

    Shown()
    {
        QObject::connect(&document, &Document::aboutToLoad, &colouring, &SyntaxColouring::prepareForLoad);
        QObject::connect(&document, &Document::locationChanged, &colouring, &SyntaxColouring::setDocumentName);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(pad);
        layout->addWidget(bar);
        window.resize(700, 300);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("not shown");
        pad->setFocus();
    }

    // What the field says to assistive technology; "" while it is hidden.
    QString field(const char* name) const
    {
        auto* w = window.findChild<QWidget*>(QLatin1String(name));
        if (!w)
            return QStringLiteral("<no %1>").arg(QLatin1String(name));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const QString said = a ? a->text(QAccessible::Name) : QStringLiteral("<no accessible>");
        return w->isVisibleTo(&window) ? said : QString();
    }
    // The fields the user reads, in their order.
    QString fields() const
    {
        QStringList said;
        for (const char* name : {"cmdCaret", "lblSelection", "lblLocked", "lblLanguage", "lblEncoding", "lblLineBreaks"})
            said << field(name);
        return said.join(QLatin1Char('|'));
    }
    void keys(const QString& sequence)
    {
        const QKeySequence keys(sequence);
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(pad, keys[i].key(), keys[i].keyboardModifiers());
    }
};

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

}

// The status bar's fields as assistive technology reads them, after loads
// of every encoding and line-break style and after caret moves, typing and
// selections.
class StatusBarTest : public QObject {
    Q_OBJECT
private slots:
    void tellsTheFileAndTheCaret_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("fields");

        using E = QStringConverter;
        QTest::newRow("UTF-8, CR LF, HTML")
            << "page.html" << QByteArray("<p>\r\n\tcaf\xc3\xa9 au lait\r\n</p>\r\n") << "Down, End, Left"
            << "Ln 2, Col 13|||HTML|UTF-8|CR LF";
        QTest::newRow("UTF-8 with BOM, LF, CSS")
            << "site.css" << QByteArray("\xEF\xBB\xBF" "a { }\nb { }\n") << "Down, Shift+End"
            << "Ln 2, Col 6|5 selected||CSS|UTF-8 with BOM|LF";
        QTest::newRow("UTF-16 LE, CR, JavaScript")
            << "app.js" << encoded("x = 1;\r\u20ac = 2;\r", E::Utf16LE) << "Down, Right, Right"
            << "Ln 2, Col 3|||JavaScript|UTF-16 LE|CR";
        QTest::newRow("UTF-16 BE, mixed, XML")
            << "feed.xml" << encoded("<a>\r\n<b/>\n</a>", E::Utf16BE) << "Ctrl+End, Shift+Home"
            << "Ln 3, Col 1|4 selected||XML|UTF-16 BE|Mixed";
        QTest::newRow("Windows-1252, no line break, plain")
            << "notes.txt" << QByteArray("na\xefve \x80 text") << "End"
            << "Ln 1, Col 13|||Plain text|Windows-1252|CR LF";
    }
    void tellsTheFileAndTheCaret()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, keys);
        QFETCH(QString, fields);

        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        Shown s;
        QVERIFY(s.document.load(path));
        s.document.becomeNamed(path);
        QTRY_COMPARE(s.field("cmdCaret"), QStringLiteral("Ln 1, Col 1"));
        s.keys(keys);
        QTRY_COMPARE(s.fields(), fields);
    }

    // What the document does later reaches the bar too: the lock, a new
    // language, line breaks of another kind (at once in a small text, once
    // typing pauses in a large one), an edit before the caret on its line,
    // a column on a line of megabytes.
    void followsTheDocument()
    {
        Shown s;
        s.bar->setLineBreakPause(50);
        s.pad->SetText(QStringLiteral("<p>one\r\ntwo"));
        s.keys(QStringLiteral("Ctrl+End"));
        QTRY_COMPARE(s.fields(), QStringLiteral("Ln 2, Col 4|||HTML|UTF-8|CR LF"));
        s.document.setLocked(true);
        QTRY_COMPARE(s.field("lblLocked"), QStringLiteral("Locked"));
        s.document.setLocked(false);
        s.document.setLocation(QStringLiteral("/nowhere/style.css"));
        s.colouring.setDocumentName(s.document.location());
        QTRY_COMPARE(s.field("lblLanguage"), QStringLiteral("CSS"));
        s.colouring.setEnabled(false);
        QTRY_COMPARE(s.field("lblLanguage"), QStringLiteral("Plain text"));
        s.keys(QStringLiteral("Return"));
        QTRY_COMPARE(s.fields(), QStringLiteral("Ln 3, Col 1|||Plain text|UTF-8|CR LF"));
        s.pad->SetSelStart(0);
        s.pad->SetSelText(QStringLiteral("a\n"));
        QTRY_COMPARE(s.field("lblLineBreaks"), QStringLiteral("Mixed"));

        // A large text: looked at again when typing pauses.
        s.pad->SetText(QString(StatusBar::kSmallText, QLatin1Char('x')) + QStringLiteral("\r\n"));
        QTRY_COMPARE(s.field("lblLineBreaks"), QStringLiteral("CR LF"));
        s.pad->SetSelStart(0);
        s.pad->SetSelText(QStringLiteral("\r"));
        QTRY_COMPARE(s.field("lblLineBreaks"), QStringLiteral("Mixed"));

        // A line of megabytes: its column after typing at its end, after a
        // character taken out before the caret and after one added there.
        s.pad->SetText(QString(3 << 20, QLatin1Char('y')) + QStringLiteral("\u00e9"));
        s.keys(QStringLiteral("Ctrl+End, z"));
        QTRY_COMPARE(s.field("cmdCaret"), QStringLiteral("Ln 1, Col %1").arg((3 << 20) + 3));
        s.keys(QStringLiteral("Left, Backspace"));
        QTRY_COMPARE(s.field("cmdCaret"), QStringLiteral("Ln 1, Col %1").arg((3 << 20) + 1));
        s.pad->SetSelStart(10);
        s.pad->SetSelText(QStringLiteral("\u20ac\u20ac"));
        s.keys(QStringLiteral("Ctrl+End, Shift+Ctrl+Home"));
        QTRY_COMPARE(s.fields(), QStringLiteral("Ln 1, Col 1|%1 selected||Plain text|UTF-8|CR LF").arg((3 << 20) + 3));
    }

    // The caret's place asks for Go to Line when clicked; the page
    // checker's findings show while there are any.
    void caretPlaceAndProblems()
    {
        Shown s;
        QSignalSpy asked(s.bar, &StatusBar::goToLineRequested);
        QTest::mouseClick(s.window.findChild<QToolButton*>(QStringLiteral("cmdCaret")), Qt::LeftButton);
        QCOMPARE(asked.size(), 1);
        QVERIFY(s.pad->hasFocus());
        s.bar->setProblems(QStringLiteral("2 errors"), QStringLiteral("Missing </p>"));
        QCOMPARE(s.field("lblProblems") + s.field("lblProblemAtCaret"), QStringLiteral("2 errorsMissing </p>"));
        s.bar->setProblems(QString(), QString());
        QCOMPARE(s.field("lblProblems") + s.field("lblProblemAtCaret"), QString());
    }
};

QP_REGISTER_TEST(StatusBarTest)
#include "StatusBarTest.moc"
