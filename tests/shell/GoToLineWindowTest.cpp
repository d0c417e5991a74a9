#include "TestRegistry.h"
#include "editor/EngineProbe.h"
#include "editor/RichTextBox.h"
#include "shell/frmGoToLine.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

namespace {

// 300 lines: "line 1" ... with an accented word on line 2 and a tab on line 3.
QString text()
{
    QString t = QStringLiteral("first\r\n\u00e9t\u00e9 ici\r\n\tx\r\n");
    for (int i = 4; i <= 300; ++i)
        t += QStringLiteral("line %1\r\n").arg(i);
    t.chop(2);
    return t;
}

}

// The Go to Line box: a line (and column) typed moves the caret there and
// shows it; anything else is told in the box, which stays open.
class GoToLineWindowTest : public QObject {
    Q_OBJECT
private slots:
    void goesOrSaysWhy_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caret");     // UTF-16 position; -1: stays
        QTest::addColumn<QString>("problem");

        // What is wrong with the input is the parser's table; the box shows it.
        QTest::newRow("a line") << "3" << 16 << "";
        QTest::newRow("line and column in characters") << " 2 : 4 " << 10 << "";
        QTest::newRow("a tab is one column") << "3:2" << 17 << "";
        QTest::newRow("a column past the end: the line's end") << "1:99" << 5 << "";
        QTest::newRow("the last line, far down") << "300" << int(text().size()) - 8 << "";
        QTest::newRow("past the end") << "301" << -1 << "Line 301 is past the end: the document has 300 lines.";
    }
    void goesOrSaysWhy()
    {
        QFETCH(QString, typed);
        QFETCH(int, caret);
        QFETCH(QString, problem);

        QWidget owner;
        auto* pad = new RichTextBox(nullptr, &owner);
        (new QVBoxLayout(&owner))->addWidget(pad);
        owner.resize(500, 200);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        pad->SetText(text());
        pad->SetSelStart(10);   // line 2
        QPointer<frmGoToLine> box = new frmGoToLine(*pad, &owner);
        box->show();
        auto* field = box->findChild<QLineEdit*>(QStringLiteral("txtLine"));
        QCOMPARE(field->text(), QStringLiteral("2"));
        QCOMPARE(field->selectedText(), QStringLiteral("2"));

        field->setText(typed);
        QTest::keyClick(field, Qt::Key_Return);
        if (caret < 0) {
            QVERIFY(box && box->isVisible());
            auto* said = box->findChild<QLabel*>(QStringLiteral("lblProblem"));
            QVERIFY(said->isVisible());
            QCOMPARE(said->text(), problem);
            QCOMPARE(pad->SelStart(), 10);
            delete box.data();
            return;
        }
        QTRY_VERIFY(!box);
        QCOMPARE(pad->SelStart(), caret);
        QCOMPARE(pad->SelLength(), 0);
        // The caret's line is on screen.
        QsciScintillaBase& e = EngineProbe::of(*pad);
        const long line = e.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, e.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
        const long first = e.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
        QVERIFY(line >= first && line < first + e.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    }
};

QP_REGISTER_TEST(GoToLineWindowTest)
#include "GoToLineWindowTest.moc"
