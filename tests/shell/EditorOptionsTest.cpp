#include "EditorParts.h"
#include "MainWindowFixture.h"
#include "TestRegistry.h"
#include "editing/ClipboardCommands.h"
#include "find/FindReplace.h"
#include "editor/LineNumberMargin.h"
#include "editor/RichTextBox.h"
#include "editor/SyntaxColouring.h"
#include "shell/NoticeBar.h"
#include "shell/frmSettings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QSettings>
#include <QTest>

Q_DECLARE_METATYPE(SyntaxLanguage)

namespace {

QSettings storedSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quirkpad"),
                     QStringLiteral("Quirkpad"));
}

frmSettings* openSettings(frmMain& w)
{
    run(w, Cmd::mnuSettings);
    const QList<frmSettings*> open = openWindows<frmSettings>();
    return open.isEmpty() ? nullptr : open.first();
}

// What the user sees of a document and gets from it: its text, where a
// search finds a word, what a copy puts on the clipboard, where typing goes
// and what is saved.
struct Observed {
    QString text;
    QList<int> found;
    QString copied;
    int caretAfterTyping = 0;
    QByteArray saved;
    bool operator==(const Observed&) const = default;
};

Observed observe(EditorParts& f, SyntaxColouring& colouring, const QString& path, const QString& word)
{
    Observed o;
    RichTextBox& pad = f.pad;
    f.files.loadAsDocument(path);
    colouring.setDocumentName(path);
    o.text = pad.Text();
    pad.SetSelStart(0);
    while (FindReplace::findNext(pad, word, FindReplace::Direction::Right))
        o.found << pad.SelStart();
    pad.SetSelStart(3);
    pad.SetSelLength(20);
    ClipboardCommands::copy(pad);
    o.copied = QGuiApplication::clipboard()->text();
    pad.SetSelStart(pad.TextLength() / 2);
    pad.setFocus();
    QTest::keyClicks(&pad, QStringLiteral("typed<b>"));
    QTest::keyClick(&pad, Qt::Key_Return);
    o.caretAfterTyping = pad.SelStart();
    f.files.SaveDocument();
    o.saved = TestFiles::read(path);
    return o;
}

}

class EditorOptionsTest : public QObject {
    Q_OBJECT
private slots:
    // The options are stored in a section of their own when the window
    // stores its values, and reach the editor when it is active again; the
    // "Settings" section keeps exactly its three keys.
    void settingsGroupIsStoredInTheEditorSection_data()
    {
        QTest::addColumn<bool>("colouring");
        QTest::addColumn<bool>("lineNumbers");
        QTest::addColumn<bool>("recovery");
        QTest::newRow("all on") << true << true << true;
        QTest::newRow("colouring off") << false << true << true;
        QTest::newRow("line numbers off") << true << false << true;
        QTest::newRow("recovery off") << true << true << false;
        QTest::newRow("all off") << false << false << false;
    }
    void settingsGroupIsStoredInTheEditorSection()
    {
        QFETCH(bool, colouring);
        QFETCH(bool, lineNumbers);
        QFETCH(bool, recovery);
        MainWindowFixture f;
        frmMain& w = f.show();
        f.prompts.answerOpen(f.file(QStringLiteral("a.html"), "<p>one</p>\r\n<p>two</p>\r\n"));
        run(w, Cmd::mnuOpen);
        QCOMPARE(partOf<SyntaxColouring>(w).language(), SyntaxLanguage::Html);
        QVERIFY(partOf<LineNumberMargin>(w).width() > 0);

        frmSettings* s = openSettings(w);
        QVERIFY(s);
        // All on by default, and stored as the window opens.
        auto box = [&s](const char* name) { return s->findChild<QCheckBox*>(QLatin1String(name)); };
        for (const char* name : {"chkSyntaxColouring", "chkLineNumbers", "chkRecoveryCopies"})
            QVERIFY(box(name)->isChecked());
        QCOMPARE(storedSettings().value(QStringLiteral("Editor/SyntaxColouring")).toString(), QStringLiteral("true"));
        box("chkSyntaxColouring")->setChecked(colouring);
        box("chkLineNumbers")->setChecked(lineNumbers);
        box("chkRecoveryCopies")->setChecked(recovery);
        s->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        QTRY_VERIFY(openWindows<frmSettings>().isEmpty());

        QSettings stored = storedSettings();
        auto text = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
        QCOMPARE(stored.value(QStringLiteral("Editor/SyntaxColouring")).toString(), text(colouring));
        QCOMPARE(stored.value(QStringLiteral("Editor/LineNumbers")).toString(), text(lineNumbers));
        QCOMPARE(stored.value(QStringLiteral("Editor/RecoveryCopies")).toString(), text(recovery));
        QCOMPARE(f.settings.isOn(Setting::RecoveryCopies), recovery);
        stored.beginGroup(QStringLiteral("Settings"));
        QCOMPARE(stored.childKeys(), (QStringList{QStringLiteral("LastDir"), QStringLiteral("PadFontName"),
                                                  QStringLiteral("PadFontSize")}));
        stored.endGroup();
        QCOMPARE(stored.childGroups(), (QStringList{QStringLiteral("Editor"), QStringLiteral("Settings")}));

        w.applyFontSettings();   // what the next activation does
        QCOMPARE(partOf<SyntaxColouring>(w).language(), colouring ? SyntaxLanguage::Html : SyntaxLanguage::Plain);
        QCOMPARE(partOf<LineNumberMargin>(w).width() > 0, lineNumbers);

        // Reopened, the window shows what was stored.
        s = openSettings(w);
        QCOMPARE(box("chkSyntaxColouring")->isChecked(), colouring);
        QCOMPARE(box("chkLineNumbers")->isChecked(), lineNumbers);
        QCOMPARE(box("chkRecoveryCopies")->isChecked(), recovery);
        s->close();
        QTRY_VERIFY(openWindows<frmSettings>().isEmpty());
    }

    // Saved under another name, a document is coloured by the new name; a
    // new document is untitled, coloured by its text.
    void theLanguageFollowsTheDocumentsName_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("savedAs");
        QTest::addColumn<SyntaxLanguage>("language");
        QTest::newRow("page saved as a style sheet") << "a.html" << "b.css" << SyntaxLanguage::Css;
        QTest::newRow("notes saved as a page") << "a.txt" << "b.HTM" << SyntaxLanguage::Html;
        QTest::newRow("script saved as text") << "a.js" << "b.txt" << SyntaxLanguage::Plain;
    }
    void theLanguageFollowsTheDocumentsName()
    {
        QFETCH(QString, opened);
        QFETCH(QString, savedAs);
        MainWindowFixture f;
        frmMain& w = f.show();
        f.prompts.answerOpen(f.file(opened, "<p>x</p>\r\n"));
        run(w, Cmd::mnuOpen);
        f.prompts.answerSave(f.dir.filePath(savedAs));
        run(w, Cmd::mnuSaveAs);
        QTEST(partOf<SyntaxColouring>(w).language(), "language");
        run(w, Cmd::mnuNew);
        QCOMPARE(partOf<SyntaxColouring>(w).language(), SyntaxLanguage::Plain);
        QTest::keyClicks(padOf(w), QStringLiteral("<p>"));
        QCOMPARE(partOf<SyntaxColouring>(w).language(), SyntaxLanguage::Html);
    }

    // Colouring changes how the text looks and nothing else: the same file
    // with colouring on and off gives the same text, search results,
    // clipboard, caret and saved bytes.
    void colouringChangesNothingButTheLook_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("word");
        QTest::newRow("page, CR LF, accents") << "page.html"
                                             << QByteArray("<html>\r\n<style>p { color: red }</style>\r\n"
                                                           "<p>Caf\xc3\xa9 \xe2\x82\xac <b>red</b></p>\r\n"
                                                           "<script>var red = 1;</script>\r\n</html>\r\n")
                                             << "red";
        QTest::newRow("style sheet, LF") << "site.css" << QByteArray("body {\n  color: red;\n}\n/* red */\n")
                                         << "RED";
        QTest::newRow("script, CR") << "app.js" << QByteArray("var a = 'x';\r// x marks\rlet x = a;\r") << "x";
        QTest::newRow("Windows-1252 page") << "old.htm" << QByteArray("<p>na\xefve caf\xe9 & <i>caf\xe9</i></p>\r\n")
                                           << QString::fromUtf8("caf\xc3\xa9");
    }
    void colouringChangesNothingButTheLook()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, word);
        EditorParts f;
        f.pad.show();
        SyntaxColouring colouring(f.pad);
        LineNumberMargin lineNumbers(f.pad);
        QList<Observed> seen;
        for (const bool on : {true, false}) {
            const QString path = f.file(name, bytes);
            colouring.setEnabled(on);
            lineNumbers.setVisible(on);
            seen << observe(f, colouring, path, word);
            QCOMPARE(colouring.language() != SyntaxLanguage::Plain, on);
        }
        QVERIFY(!seen[0].found.isEmpty());
        QCOMPARE(seen[0].text, seen[1].text);
        QCOMPARE(seen[0].found, seen[1].found);
        QCOMPARE(seen[0].copied, seen[1].copied);
        QCOMPARE(seen[0].caretAfterTyping, seen[1].caretAfterTyping);
        QCOMPARE(seen[0].saved, seen[1].saved);
        QVERIFY(seen[0].saved.startsWith(bytes.left(bytes.size() / 4)));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // Why a document is shown plain is said in a notice above the text,
    // which never takes the keyboard: typing goes on into the text. It goes
    // when closed, or when the next document is coloured.
    void aNoticeSaysWhyADocumentIsPlain()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        NoticeBar* bar = &partOf<NoticeBar>(w);
        RichTextBox* pad = padOf(w);
        const QString id = frmMain::kColouringNotice;
        QVERIFY(!bar->hasNotice(id));
        const QByteArray line = "<p>" + QByteArray(SyntaxColouring::kMaxLineBytes, 'x') + "</p>\r\n";
        const QString longLined = f.file(QStringLiteral("long.html"), "<html>\r\n" + line);
        const QString small = f.file(QStringLiteral("small.html"), "<p>x</p>\r\n");

        pad->setFocus();
        f.prompts.answerOpen(longLined);
        run(w, Cmd::mnuOpen);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->noticeText(id).contains(QLatin1String("line longer than 1 MB")));
        QCOMPARE(partOf<SyntaxColouring>(w).language(), SyntaxLanguage::Plain);
        QCOMPARE(QApplication::focusWidget(), pad);
        pad->SetSelStart(0);
        QTest::keyClicks(pad, QStringLiteral("ok"));
        QVERIFY(pad->Text().startsWith(QLatin1String("ok<html>")));

        auto* close = bar->findChild<QWidget*>(QStringLiteral("notice_") + id)
                          ->findChild<QAbstractButton*>(QStringLiteral("closeNotice"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!bar->hasNotice(id));
        QCOMPARE(QApplication::focusWidget(), pad);

        // Shown again for the next such document, withdrawn for a coloured one.
        f.prompts.answer(Prompts::Answer::No).answerOpen(longLined);   // the typing is not kept
        run(w, Cmd::mnuOpen);
        QVERIFY(bar->hasNotice(id));
        f.prompts.answerOpen(small);
        run(w, Cmd::mnuOpen);
        QVERIFY(!bar->hasNotice(id));
        QCOMPARE(partOf<SyntaxColouring>(w).language(), SyntaxLanguage::Html);
    }
};

QP_REGISTER_TEST(EditorOptionsTest)
#include "EditorOptionsTest.moc"
