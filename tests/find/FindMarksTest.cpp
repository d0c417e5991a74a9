#include "MainWindowFixture.h"
#include "ScriptedPrompts.h"
#include "TestRegistry.h"
#include "ToolWindows.h"
#include "editor/EngineProbe.h"
#include "editor/FindMarks.h"
#include "editor/RichTextBox.h"
#include "find/FindSession.h"
#include "find/frmFind.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(FindReplace::Direction)

namespace {

// A shown view with the Find tab's session over it, and a Find window of
// that session (none when closed).
struct Searching {
    QWidget window;
    RichTextBox* pad = new RichTextBox(nullptr, &window);
    ScriptedPrompts prompts;
    FindSession session{*pad, prompts};
    QPointer<frmFind> find;

    explicit Searching(const QString& text, QSize size = {500, 300})
    {
        (new QVBoxLayout(&window))->addWidget(pad);
        window.resize(size);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("not shown");
        pad->SetText(text);
        pad->document().clearUndo();
    }
    ~Searching() { delete find.data(); }

    // A new Find window; one open before closes.
    void open(const QString& what, FindReplace::Direction direction = FindReplace::Direction::Right)
    {
        delete find.data();
        find = new frmFind(pad, prompts, &window, &session);
        find->findChild<QComboBox*>(QStringLiteral("cboDirection"))->setCurrentIndex(direction == FindReplace::Direction::Left ? 0 : 1);
        find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(what);
    }
    // The text with every marked run in brackets.
    QString marked() const
    {
        const QByteArray text = pad->document().snapshot();
        QByteArray shown;
        long at = 0;
        for (const FindMarks::Range& r : session.marks().marked()) {
            shown += text.mid(at, r.start - at) + '[' + text.mid(r.start, r.end - r.start) + ']';
            at = r.end;
        }
        return QString::fromUtf8(shown + text.mid(at));
    }
    // The first line on screen, and how many there are.
    QPair<long, long> screen() const
    {
        const QsciScintillaBase& e = EngineProbe::of(*pad);
        return {e.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE),
                e.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)};
    }
};

}

// While the Find window holds a text, its other occurrences are marked in
// what the view shows, found as Find Next finds them; F3 is Find Next from
// the caret, with the window's text, or the last one once it has closed.
class FindMarksTest : public QObject {
    Q_OBJECT
private slots:
    void marksTheOtherOccurrences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QPoint>("selected");   // start, length
        QTest::addColumn<QString>("marked");

        // Case and what counts as a match are Find Next's own table.
        QTest::newRow("the selected one is no other") << "a Hello hello HELLO" << "HeLLo" << QPoint(8, 5)
                                                     << "a [Hello] hello [HELLO]";
        QTest::newRow("letters beyond ASCII") << "\u00c9t\u00e9 \u00e9t\u00e9 x" << "\u00e9T\u00c9" << QPoint(0, 0)
                                              << "[\u00c9t\u00e9] [\u00e9t\u00e9] x";
        QTest::newRow("side by side stay two") << "ababa" << "ab" << QPoint(0, 0) << "[ab][ab]a";
    }
    void marksTheOtherOccurrences()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QPoint, selected);
        QFETCH(QString, marked);

        Searching s(text);
        s.pad->SetSelStart(selected.x());
        s.pad->SetSelLength(selected.y());
        const QByteArray before = s.pad->document().snapshot();
        s.open(what);
        QTRY_COMPARE(s.marked(), marked);
        // Marks touch neither the text, nor the selection, nor the undo history.
        QCOMPARE(s.pad->document().snapshot(), before);
        QCOMPARE(QPoint(s.pad->SelStart(), s.pad->SelLength()), selected);
        QVERIFY(!s.pad->CanUndo());
        // An emptied field and a closed window mark nothing.
        s.find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->clear();
        QCOMPARE(s.marked(), text);
        s.find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(what);
        QTRY_COMPARE(s.marked(), marked);
        s.find->close();
        delete s.find.data();
        QCOMPARE(s.marked(), text);
    }

    // Only the lines on screen are marked, and the marks follow scrolls and edits.
    void marksWhatIsShown()
    {
        Searching s(QStringLiteral("line needle\r\n").repeated(3000));
        s.open(QStringLiteral("NEEDLE"));
        const auto markedLines = [&s] {
            QList<int> lines;
            for (const FindMarks::Range& r : s.session.marks().marked())
                lines << s.pad->document().lineOfByte(r.start);
            return lines;
        };
        const auto shownLines = [&s](int first) {
            QList<int> lines;
            for (int line = first; line <= std::min(2999L, first + s.screen().second); ++line)
                lines << line;
            return lines;
        };
        QTRY_COMPARE(markedLines(), shownLines(0));
        s.pad->SetSelStart(s.pad->TextLength());
        QTRY_VERIFY(s.screen().first > 2900);
        QTRY_COMPARE(markedLines(), shownLines(int(s.screen().first)));
        // Typed where the caret is: marked as it appears.
        QTest::keyClicks(s.pad, QStringLiteral("needle"));
        QTRY_COMPARE(markedLines().last(), 3000);
    }

    void f3RepeatsTheSearch_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<FindReplace::Direction>("direction");
        QTest::addColumn<bool>("windowOpen");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QPoint>("selected");   // (-1, -1): not found, the message shown
        QTest::addColumn<bool>("searched");

        const auto right = FindReplace::Direction::Right;
        const auto left = FindReplace::Direction::Left;
        // "a Hello hello HELLO"
        QTest::newRow("window open, right") << "hello" << right << true << 3 << QPoint(8, 5) << true;
        QTest::newRow("window closed: its last text and direction") << "hello" << left << false << 13 << QPoint(8, 5)
                                                                    << true;
        QTest::newRow("not found: the message") << "hello" << right << false << 15 << QPoint(-1, -1) << true;
        QTest::newRow("window open with nothing to find") << "" << right << true << 3 << QPoint(3, 0) << false;
    }
    void f3RepeatsTheSearch()
    {
        QFETCH(QString, what);
        QFETCH(FindReplace::Direction, direction);
        QFETCH(bool, windowOpen);
        QFETCH(int, caret);
        QFETCH(QPoint, selected);
        QFETCH(bool, searched);

        Searching s(QStringLiteral("a Hello hello HELLO"));
        s.open(QStringLiteral("an earlier text"));
        s.find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(what);
        s.open(what, direction);   // a second window: the first one's text is no more
        if (!windowOpen)
            s.find->close();
        s.pad->SetSelStart(caret);
        if (selected.x() < 0)
            s.prompts.answer(Prompts::Answer::Ok);
        QCOMPARE(s.session.repeat(), searched);
        if (selected.x() < 0) {
            QCOMPARE(s.prompts.messages(), QStringList{QStringLiteral("Cannot find \"hello\".")});
            selected = {caret, 0};
        }
        QCOMPARE(QPoint(s.pad->SelStart(), s.pad->SelLength()), selected);
    }

    // In the main window F3 is that search; with nothing to search for yet
    // it opens the Find window. It never reaches the text.
    void f3InTheMainWindow()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        RichTextBox* pad = padOf(w);
        pad->SetText(QStringLiteral("one two one"));
        QTest::keyClick(pad, Qt::Key_F3);
        QTRY_VERIFY(!openWindows<frmFind>().isEmpty());
        frmFind* find = openWindows<frmFind>().first();
        find->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QStringLiteral("ONE"));
        find->close();
        QTRY_VERIFY(openWindows<frmFind>().isEmpty());
        w.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &w);
        pad->SetSelStart(1);
        QTest::keyClick(pad, Qt::Key_F3);
        QCOMPARE(QPoint(pad->SelStart(), pad->SelLength()), QPoint(8, 3));
        QCOMPARE(pad->Text(), QStringLiteral("one two one"));
    }
};

QP_REGISTER_TEST(FindMarksTest)
#include "FindMarksTest.moc"
