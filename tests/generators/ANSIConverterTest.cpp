#include "GeneratorWindows.h"
#include "TestRegistry.h"
#include "generators/frmANSIConverter.h"

#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

QWidget* openConverter(frmMain& w)
{
    return openTool(w, Cmd::mnuANSIConverter, "frmANSIConverter");
}

// One key as the keyboard sends it: the whole character in one event, as
// an input method does for an emoji.
void typeCharacter(QLineEdit* box, const QString& character)
{
    QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, character, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, character, Qt::NoModifier);
}

void retype(QLineEdit* box, const QStringList& keys)
{
    box->setFocus();
    box->selectAll();
    box->del();
    for (const QString& key : keys)
        typeCharacter(box, key);
}

}

class ANSIConverterTest : public QObject {
    Q_OBJECT
private slots:
    void controlsOnTheirTabs()
    {
        MainWindowFixture f;
        QWidget* ansi = openConverter(f.show());
        QVERIFY(ansi);
        QCOMPARE(ansi->windowTitle(), QStringLiteral("Quirkpad - ANSI Converter"));
        auto* tabs = control<QTabWidget>(ansi, "tabANSI");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QStringLiteral("ANSI -> Character"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Character -> ANSI"));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(control<QPushButton>(ansi, "cmdANSIHelp")->text(), QStringLiteral("Help"));
        QVERIFY(!tabs->isAncestorOf(control(ansi, "cmdANSIHelp")));

        const struct {
            int tab;
            const char* name;
            const char* caption;
        } captions[] = {
            {0, "lblANSI1", "ANSI:         Chr("}, {0, "lblCloseBracket1", ")"}, {0, "cmdANSIFind1", "Find"},
            {0, "lblChar1", "Character:"},         {0, "cmdCopy1", "Copy"},          {1, "lblChar2", "Character:"},
            {1, "cmdANSIFind2", "Find"},           {1, "lblANSI2", "ANSI:         Chr("},
            {1, "lblCloseBracket2", ")"},          {1, "cmdCopy2", "Copy"},
        };
        for (const auto& c : captions) {
            QWidget* w = control(ansi, c.name);
            QVERIFY2(tabs->widget(c.tab)->isAncestorOf(w), c.name);
            const auto* label = qobject_cast<QLabel*>(w);
            QCOMPARE(label ? label->text() : qobject_cast<QPushButton*>(w)->text(), QLatin1String(c.caption));
        }
        QVERIFY(tabs->widget(0)->isAncestorOf(control<QFrame>(ansi, "lneANSI")));
        QVERIFY(tabs->widget(1)->isAncestorOf(control<QFrame>(ansi, "Line1")));
        for (const char* box : {"txtANSIQuery1", "txtANSIResult1", "txtANSIQuery2", "txtANSIResult2"})
            QCOMPARE(control<QLineEdit>(ansi, box)->text(), QString());
    }

    // What the boxes let the user type: three characters in a code box, one
    // character as the user sees it in a character box.
    void boxLimits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("held");
        QTest::newRow("code box, four keys") << "txtANSIQuery1" << QStringList{" ", "6", "5", " "} << " 65";
        QTest::newRow("code result box") << "txtANSIResult2" << QStringList{"1", "2", "3", "4"} << "123";
        QTest::newRow("character box, two letters") << "txtANSIQuery2" << QStringList{"A", "B"} << "A";
        QTest::newRow("character box, an emoji") << "txtANSIQuery2" << QStringList{"🙂"} << "🙂";
        QTest::newRow("character box, emoji then letter") << "txtANSIQuery2" << QStringList{"🙂", "A"} << "🙂";
        QTest::newRow("character box, emoji with skin tone")
            << "txtANSIQuery2" << QStringList{"👍🏽"} << "👍🏽";
        QTest::newRow("character box, letter and combining accent")
            << "txtANSIQuery2" << QStringList{"e", "\u0301"} << "e\u0301";
        QTest::newRow("character box, CJK") << "txtANSIQuery2" << QStringList{"中", "文"} << "中";
        QTest::newRow("character result box") << "txtANSIResult1" << QStringList{"x", "y"} << "x";
    }

    void boxLimits()
    {
        QFETCH(QString, box);
        QFETCH(QStringList, keys);
        QFETCH(QString, held);
        MainWindowFixture f;
        QWidget* ansi = openConverter(f.show());
        auto* edit = control<QLineEdit>(ansi, qPrintable(box));
        retype(edit, keys);
        QCOMPARE(edit->text(), held);
    }

    // Code to character: a code that cannot be looked up leaves the
    // character found before; code 0 empties the box.
    void codeToCharacter_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("65") << QStringList{"6", "5"} << "A";
        QTest::newRow("34") << QStringList{"3", "4"} << "\"";
        QTest::newRow("blank, 66") << QStringList{" ", "6", "6"} << "B";
        QTest::newRow("+66") << QStringList{"+", "6", "6"} << "B";
        QTest::newRow("1e2") << QStringList{"1", "e", "2"} << "d";
        QTest::newRow("6.5, halves to even") << QStringList{"6", ".", "5"} << QString(QChar(6));
        QTest::newRow("128") << QStringList{"1", "2", "8"} << QStringLiteral("€");
        QTest::newRow("0 empties") << QStringList{"0"} << "";
        QTest::newRow("empty keeps") << QStringList{} << "A";
        QTest::newRow("blanks keep") << QStringList{" ", " "} << "A";
        QTest::newRow("abc keeps") << QStringList{"a", "b", "c"} << "A";
        QTest::newRow("-1 keeps") << QStringList{"-", "1"} << "A";
        QTest::newRow("256 keeps") << QStringList{"2", "5", "6"} << "A";
        QTest::newRow("quote keeps") << QStringList{"\"", "<", "&"} << "A";
        QTest::newRow("CJK keeps") << QStringList{"中"} << "A";
        QTest::newRow("emoji keeps") << QStringList{"🙂"} << "A";
    }

    void codeToCharacter()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, shown);
        MainWindowFixture f;
        QWidget* ansi = openConverter(f.show());
        auto* query = control<QLineEdit>(ansi, "txtANSIQuery1");
        auto* find = control<QPushButton>(ansi, "cmdANSIFind1");
        auto* result = control<QLineEdit>(ansi, "txtANSIResult1");
        retype(query, {"6", "5"});
        find->click();
        QCOMPARE(result->text(), QStringLiteral("A"));
        retype(query, keys);
        find->click();
        QCOMPARE(result->text(), shown);
        // Copy takes the bare result, whatever it is.
        control<QPushButton>(ansi, "cmdCopy1")->click();
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // Character to code: a character outside the code page, or none, leaves
    // the code found before.
    void characterToCode_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("B") << "B" << "66";
        QTest::newRow("double quote") << "\"" << "34";
        QTest::newRow("blank") << " " << "32";
        QTest::newRow("<") << "<" << "60";
        QTest::newRow("&") << "&" << "38";
        QTest::newRow("euro sign") << QStringLiteral("€") << "128";
        QTest::newRow("empty keeps") << "" << "65";
        QTest::newRow("CJK keeps") << QStringLiteral("中") << "65";
        QTest::newRow("emoji keeps") << QStringLiteral("🙂") << "65";
        QTest::newRow("Greek keeps") << QStringLiteral("Ω") << "65";
    }

    void characterToCode()
    {
        QFETCH(QString, key);
        QFETCH(QString, shown);
        MainWindowFixture f;
        QWidget* ansi = openConverter(f.show());
        control<QTabWidget>(ansi, "tabANSI")->setCurrentIndex(1);
        auto* query = control<QLineEdit>(ansi, "txtANSIQuery2");
        auto* find = control<QPushButton>(ansi, "cmdANSIFind2");
        auto* result = control<QLineEdit>(ansi, "txtANSIResult2");
        retype(query, {"A"});
        find->click();
        QCOMPARE(result->text(), QStringLiteral("65"));
        retype(query, key.isEmpty() ? QStringList() : QStringList{key});
        QCOMPARE(query->text(), key);
        find->click();
        QCOMPARE(result->text(), shown);
        control<QPushButton>(ansi, "cmdCopy2")->click();
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(f.prompts.calls.isEmpty());
    }

    void help()
    {
        MainWindowFixture f;
        QWidget* ansi = openConverter(f.show());
        f.prompts.answer(Prompts::Answer::Ok);
        control<QPushButton>(ansi, "cmdANSIHelp")->click();
        QCOMPARE(f.prompts.calls.size(), 1);
        QCOMPARE(f.prompts.calls[0].text,
                 QStringLiteral("- ANSI CONVERTER HELP -\r\n\r\nIn web site development, it is very oftern you will "
                                "need to know what is called the ANSI code of a character to show a particular "
                                "character.\r\n\r\nFor example, the ANSI code: Chr(34) will return a: \" (speach "
                                "mark) character."));
        QCOMPARE(f.prompts.calls[0].icon, Prompts::Icon::Information);
        QCOMPARE(f.prompts.calls[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(toolWindow(QStringLiteral("frmANSIConverter")));
    }
};

QP_REGISTER_TEST(ANSIConverterTest)
#include "ANSIConverterTest.moc"
