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
        RichTextBox* pad = padOf(w);
        NoticeBar& bar = partOf<NoticeBar>(w);
        pad->setFocus();
        QTRY_VERIFY(pad->hasFocus());
        const int textTop = pad->mapTo(&w, QPoint()).y();
        QList<int> firstAnswers, secondAnswers;
        bar.showNotice(QStringLiteral("first"), QStringLiteral("Work was found."),
                       {QStringLiteral("Open"), QStringLiteral("Discard")}, [&](int b) { firstAnswers << b; });
        bar.showNotice(QStringLiteral("second"), QStringLiteral("Colouring is off."), {QStringLiteral("OK")},
                       [&](int b) { secondAnswers << b; });
        QCOMPARE(bar.noticeIds(), (QStringList{"first", "second"}));
        QTRY_VERIFY(pad->mapTo(&w, QPoint()).y() > textTop);   // the text moved down, under them
        QVERIFY(pad->hasFocus());

        QAbstractButton* b = noticeButton(&bar, QStringLiteral("first"), clicked);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(firstAnswers, QList<int>{answer});
        QVERIFY(secondAnswers.isEmpty());
        QCOMPARE(bar.noticeIds(), QStringList{"second"});
        QVERIFY(pad->hasFocus());
        // Typing goes on into the text.
        QTest::keyClicks(pad, "ab");
        QCOMPARE(pad->Text(), QStringLiteral("ab"));

        bar.hideNotice(QStringLiteral("second"));
        QVERIFY(bar.noticeIds().isEmpty());
        QTRY_COMPARE(pad->mapTo(&w, QPoint()).y(), textTop);
        QVERIFY(secondAnswers.isEmpty());   // hidden by the program: nobody answered
    }

    // Showing a notice again puts new words and buttons into it: one notice,
    // announced once.
    void aNoticeShownAgainIsUpdatedInPlace()
    {
        NoticeBar bar;
        QSignalSpy shown(&bar, &NoticeBar::noticeShown);
        QList<int> answers;
        bar.showNotice(QStringLiteral("n"), QStringLiteral("changed"),
                       {QStringLiteral("Reload"), QStringLiteral("Ignore")}, [&](int b) { answers << 10 + b; });
        bar.showNotice(QStringLiteral("n"), QStringLiteral("removed"), {QStringLiteral("OK")},
                       [&](int b) { answers << 20 + b; });
        QCOMPARE(shown.count(), 1);
        QCOMPARE(bar.noticeText(QStringLiteral("n")), QStringLiteral("removed"));
        QVERIFY(!noticeButton(&bar, QStringLiteral("n"), QStringLiteral("Reload")));
        QAbstractButton* ok = noticeButton(&bar, QStringLiteral("n"), QStringLiteral("OK"));
        QVERIFY(ok);
        ok->click();
        QCOMPARE(answers, QList<int>{20});
    }
};

QP_REGISTER_TEST(NoticeBarTest)
#include "NoticeBarTest.moc"
