#include "MainWindowFixture.h"
#include "NoticeButtons.h"
#include "TestRegistry.h"
#include "editor/RichTextBox.h"
#include "shell/NoticeBar.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class NoticeBarTest : public QObject {
    Q_OBJECT
private slots:
    // Notices stack above the text, each with its own buttons; a click
    // answers the notice it belongs to, hides it and leaves the others, and
    // the keyboard stays with the text all along.
    void eachNoticeAnswersForItself_data()
    {
        QTest::addColumn<QString>("clicked");   // "" is the close button
        QTest::addColumn<int>("answer");
        QTest::newRow("first button") << "Open" << 0;
        QTest::newRow("second button") << "Discard" << 1;
        QTest::newRow("closed") << "" << -1;
    }

    void eachNoticeAnswersForItself()
    {
        QFETCH(QString, clicked);
        QFETCH(int, answer);
        MainWindowFixture f;
        frmMain& w = f.show();
        w.pad()->setFocus();
        QTRY_VERIFY(w.pad()->hasFocus());
        const int textTop = w.pad()->mapTo(&w, QPoint()).y();
        QList<int> firstAnswers, secondAnswers;
        w.showNotice(QStringLiteral("first"), QStringLiteral("Work was found."),
                     {QStringLiteral("Open"), QStringLiteral("Discard")}, [&](int b) { firstAnswers << b; });
        w.showNotice(QStringLiteral("second"), QStringLiteral("Colouring is off."), {QStringLiteral("OK")},
                     [&](int b) { secondAnswers << b; });
        QCOMPARE(w.notices()->noticeIds(), (QStringList{"first", "second"}));
        QTRY_VERIFY(w.pad()->mapTo(&w, QPoint()).y() > textTop);   // the text moved down, under them
        QVERIFY(w.pad()->hasFocus());

        QAbstractButton* b = noticeButton(w.notices(), QStringLiteral("first"), clicked);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(firstAnswers, QList<int>{answer});
        QVERIFY(secondAnswers.isEmpty());
        QCOMPARE(w.notices()->noticeIds(), QStringList{"second"});
        QVERIFY(w.pad()->hasFocus());
        // Typing goes on into the text.
        QTest::keyClicks(w.pad(), "ab");
        QCOMPARE(w.pad()->Text(), QStringLiteral("ab"));

        w.hideNotice(QStringLiteral("second"));
        QVERIFY(w.notices()->noticeIds().isEmpty());
        QTRY_COMPARE(w.pad()->mapTo(&w, QPoint()).y(), textTop);
        QVERIFY(secondAnswers.isEmpty());   // hidden by the program: nobody answered
    }

    // Showing a notice again puts new words and buttons into it: one notice,
    // announced once.
    void aNoticeShownAgainIsUpdatedInPlace()
    {
        MainWindowFixture f;
        frmMain& w = f.make();
        QSignalSpy shown(w.notices(), &NoticeBar::noticeShown);
        QList<int> answers;
        w.showNotice(QStringLiteral("n"), QStringLiteral("changed"), {QStringLiteral("Reload"), QStringLiteral("Ignore")},
                     [&](int b) { answers << 10 + b; });
        w.showNotice(QStringLiteral("n"), QStringLiteral("removed"), {QStringLiteral("OK")}, [&](int b) { answers << 20 + b; });
        QCOMPARE(shown.count(), 1);
        QCOMPARE(w.notices()->noticeText(QStringLiteral("n")), QStringLiteral("removed"));
        QVERIFY(!noticeButton(w.notices(), QStringLiteral("n"), QStringLiteral("Reload")));
        QAbstractButton* ok = noticeButton(w.notices(), QStringLiteral("n"), QStringLiteral("OK"));
        QVERIFY(ok);
        ok->click();
        QCOMPARE(answers, QList<int>{20});
    }
};

QP_REGISTER_TEST(NoticeBarTest)
#include "NoticeBarTest.moc"
