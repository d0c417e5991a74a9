#include "TestRegistry.h"
#include "editor/RichTextBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class RichTextBoxTest : public QObject {
    Q_OBJECT
private slots:
    void positionsCountUtf16UnitsAndCrLfAsTwo()
    {
        RichTextBox box;
        const QString text = QStringLiteral("a\r\n😀é\nxyz");
        box.SetText(text);
        QCOMPARE(box.Text(), text);
        QCOMPARE(box.TextLength(), int(text.size()));
        box.SetSelStart(3);   // after the CR LF
        box.SetSelLength(3);  // the emoji (two units) and é
        QCOMPARE(box.SelText(), QStringLiteral("😀é"));
        QCOMPARE(box.SelStart(), 3);
        QCOMPARE(box.SelLength(), 3);
        box.SetSelStart(int(text.size()) + 10);   // past the end: the end
        QCOMPARE(box.SelStart(), int(text.size()));
        QCOMPARE(box.SelText(), QString());
    }

    void selTextReplacesSelectionAndLeavesCaretAfterIt()
    {
        RichTextBox box;
        box.SetText(QStringLiteral("hello world"));
        box.SetSelStart(6);
        box.SetSelLength(5);
        box.SetSelText(QStringLiteral("there"));
        QCOMPARE(box.Text(), QStringLiteral("hello there"));
        QCOMPARE(box.SelStart(), 11);
        QCOMPARE(box.SelLength(), 0);
        box.SetSelStart(0);
        box.SetSelLength(6);
        box.SetSelText(QString());   // writing "" deletes the selection
        QCOMPARE(box.Text(), QStringLiteral("there"));
        QCOMPARE(box.SelStart(), 0);
    }

    void textWithNulCharactersSurvives()
    {
        RichTextBox box;
        const QString text = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        box.SetText(text);
        QCOMPARE(box.Text(), text);
        QCOMPARE(box.TextLength(), 3);
    }

    void changeIsRaisedOnceInsideEachStep()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("from disk");
        f.close();

        RichTextBox box;
        box.SetText(QStringLiteral("abc"));
        QString seen;
        int count = 0;
        connect(&box.document(), &Document::contentsChanged, &box, [&] {
            ++count;
            seen = box.Text();   // the text is already the new one
        });
        box.SetText(QStringLiteral("xyz"));
        QCOMPARE(count, 1);
        QCOMPARE(seen, QStringLiteral("xyz"));
        box.SetSelStart(1);
        box.SetSelLength(1);
        box.SetSelText(QStringLiteral("Y"));
        QCOMPARE(count, 2);
        QVERIFY(box.document().load(path).ok());
        QCOMPARE(count, 3);
        QCOMPARE(seen, QStringLiteral("from disk"));
        // Typing over a selection is one change, not a delete and an insert.
        box.SetSelStart(0);
        box.SetSelLength(4);
        QTest::keyClick(&box, Qt::Key_Q);
        QCOMPARE(count, 4);
        QCOMPARE(box.Text(), QStringLiteral("q disk"));
        box.Undo();
        QCOMPARE(count, 5);
        QCOMPARE(box.Text(), QStringLiteral("from disk"));
        // A failed load changes nothing.
        QVERIFY(!box.document().load(dir.filePath(QStringLiteral("missing"))).ok());
        QCOMPARE(count, 5);
        QCOMPARE(box.Text(), QStringLiteral("from disk"));
    }

    // Assigning the whole text, or loading a file, is a change of the
    // document even when the text stays as it was.
    void wholeTextAssignmentsAreAlwaysAChange_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("assigned");
        QTest::addColumn<bool>("fromFile");
        QTest::newRow("empty text to an empty document") << QString() << QString() << false;
        QTest::newRow("the same text again") << QStringLiteral("abc") << QStringLiteral("abc") << false;
        QTest::newRow("an empty file into an empty document") << QString() << QString() << true;
        QTest::newRow("a file holding the same text") << QStringLiteral("abc") << QStringLiteral("abc") << true;
    }

    void wholeTextAssignmentsAreAlwaysAChange()
    {
        QFETCH(QString, before);
        QFETCH(QString, assigned);
        QFETCH(bool, fromFile);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(assigned.toUtf8()) == assigned.toUtf8().size());
        f.close();
        RichTextBox box;
        box.SetText(before);
        QSignalSpy changes(&box.document(), &Document::contentsChanged);
        if (fromFile)
            QVERIFY(box.document().load(path).ok());
        else
            box.SetText(assigned);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(box.Text(), assigned);
    }

    void editsOutsideTheBoxsOwnStepsStillReportOnce()
    {
        RichTextBox box;
        QSignalSpy spy(&box.document(), &Document::contentsChanged);
        QString seen;
        connect(&box.document(), &Document::contentsChanged, &box, [&] { seen = box.Text(); });
        box.QsciScintilla::insert(QStringLiteral("abc"));   // the control's own slot
        box.QsciScintilla::insert(QStringLiteral("x"));
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(seen, QStringLiteral("xabc"));
    }

    void keyDownCanSwallowAKey()
    {
        RichTextBox box;
        QList<QPair<int, int>> keys;
        connect(&box, &RichTextBox::KeyDown, &box, [&](RichTextBox::KeyDownArgs& a) {
            keys.append({a.keyCode, a.shift});
            if (a.keyCode == 'X' && a.shift == 0)
                a.keyCode = 0;
        });
        QTest::keyClick(&box, Qt::Key_X);
        QTest::keyClick(&box, Qt::Key_Y);
        QTest::keyClick(&box, Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(box.Text(), QStringLiteral("y"));
        QCOMPARE(keys.at(0), qMakePair(88, 0));
        QCOMPARE(keys.at(1), qMakePair(89, 0));
        QCOMPARE(keys.last(), qMakePair(112, 3));   // after the Shift and Ctrl keys themselves
    }

    void rightButtonReportsWithoutMovingTheCaret()
    {
        RichTextBox box;
        box.resize(300, 200);
        box.SetText(QStringLiteral("one two three"));
        box.SetSelStart(4);
        box.SetSelLength(3);
        QSignalSpy spy(&box, &RichTextBox::MouseDown);
        QTest::mouseClick(box.viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(box.SelStart(), 4);
        QCOMPARE(box.SelLength(), 3);
    }

    void lockRefusesTypingButNotProgramSteps()
    {
        RichTextBox box;
        box.SetLocked(true);
        QTest::keyClicks(&box, QStringLiteral("typed"));
        QCOMPARE(box.Text(), QString());
        box.SetSelText(QStringLiteral("<b></b>"));
        QCOMPARE(box.Text(), QStringLiteral("<b></b>"));
        QVERIFY(box.Locked());
        // Keys that would edit leave the selection as it was; moving still works.
        box.SetSelStart(1);
        box.SetSelLength(2);
        for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Tab, Qt::Key_X})
            QTest::keyClick(&box, key);
        QCOMPARE(box.Text(), QStringLiteral("<b></b>"));
        QCOMPARE(QPoint(box.SelStart(), box.SelLength()), QPoint(1, 2));
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.Text(), QStringLiteral("<b></b>"));
        QCOMPARE(QPoint(box.SelStart(), box.SelLength()), QPoint(1, 2));
        QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(QPoint(box.SelStart(), box.SelLength()), QPoint(1, 3));
        box.SetLocked(false);
        box.SetSelStart(box.TextLength());
        QTest::keyClicks(&box, QStringLiteral("ok"));
        QCOMPARE(box.Text(), QStringLiteral("<b></b>ok"));
    }

    void insertedTextFollowsTheDocumentsLineBreaks()
    {
        RichTextBox box;
        TextFormat lf;
        lf.lineBreak = LineBreak::Lf;
        box.document().setFormat(lf);
        box.InsertText(QStringLiteral("<%\r\n\r\n%>"));
        QCOMPARE(box.Text(), QStringLiteral("<%\n\n%>"));
        box.document().setFormat(TextFormat{});
        box.InsertText(QStringLiteral("\r\nx"));
        QCOMPARE(box.Text(), QStringLiteral("<%\n\n%>\r\nx"));
    }

    void fontRefusesWhatItCannotTake()
    {
        RichTextBox box;
        QVERIFY(box.SetFontSize(9.75));
        QCOMPARE(box.FontSize(), 9.75);
        QVERIFY(!box.SetFontSize(0));
        QVERIFY(!box.SetFontSize(-1));
        QVERIFY(!box.SetFontSize(0.995));   // below a point, even if it rounds to one
        QCOMPARE(box.FontSize(), 9.75);
        QVERIFY(!box.SetFontName(QStringLiteral("No Such Font Family 12345")));
        QVERIFY(box.SetFontName(QStringLiteral("Lucida Console")));   // substituted when missing
        QCOMPARE(box.FontName(), QStringLiteral("Lucida Console"));
    }
};

QP_REGISTER_TEST(RichTextBoxTest)
#include "tst_RichTextBox.moc"
