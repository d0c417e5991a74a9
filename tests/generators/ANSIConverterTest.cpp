#include "ScriptedPrompts.h"
#include "ToolWindows.h"
#include "generators/frmANSIConverter.h"
#include "TestRegistry.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Keys as the keyboard sends them: each whole character in one event, as an
// input method does for an emoji.
void retype(QLineEdit* box, const QStringList& keys)
{
    box->setFocus();
    box->selectAll();
    box->del();
    for (const QString& key : keys) {
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, key, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, key, Qt::NoModifier);
    }
}

}

class ANSIConverterTest : public QObject {
    Q_OBJECT
private slots:
    // Three characters in a code box; one character as the user sees it in
    // a character box, however many UTF-16 units it takes.
    void boxLimits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("held");
        QTest::newRow("code box, four keys") << "txtANSIQuery1" << QStringList{" ", "6", "5", " "} << " 65";
        QTest::newRow("character box, emoji then letter") << "txtANSIQuery2" << QStringList{"🙂", "A"} << "🙂";
        QTest::newRow("character box, emoji with skin tone") << "txtANSIQuery2" << QStringList{"👍🏽"} << "👍🏽";
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
        ScriptedPrompts prompts;
        frmANSIConverter window(prompts, nullptr);
        window.show();
        QWidget* ansi = &window;
        auto* edit = control<QLineEdit>(ansi, qPrintable(box));
        retype(edit, keys);
        QCOMPARE(edit->text(), held);
    }

    // After a first lookup of "A" / 65 on the page, a second lookup: one that
    // cannot be done keeps the result; code 0 empties it. Copy takes the
    // bare result.
    void lookups_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("code 34") << 1 << QStringList{"3", "4"} << "\"";
        QTest::newRow("code 0 empties") << 1 << QStringList{"0"} << "";
        QTest::newRow("code 256 keeps") << 1 << QStringList{"2", "5", "6"} << "A";
        QTest::newRow("letters keep") << 1 << QStringList{"a", "b", "c"} << "A";
        QTest::newRow("character <") << 2 << QStringList{"<"} << "60";
        QTest::newRow("no character keeps") << 2 << QStringList{} << "65";
        QTest::newRow("emoji keeps") << 2 << QStringList{QStringLiteral("🙂")} << "65";
    }

    void lookups()
    {
        QFETCH(int, page);
        QFETCH(QStringList, keys);
        QFETCH(QString, shown);
        ScriptedPrompts prompts;
        frmANSIConverter window(prompts, nullptr);
        window.show();
        QWidget* ansi = &window;
        const QByteArray n = QByteArray::number(page);
        auto* query = control<QLineEdit>(ansi, "txtANSIQuery" + n);
        auto* find = control<QPushButton>(ansi, "cmdANSIFind" + n);
        auto* result = control<QLineEdit>(ansi, "txtANSIResult" + n);
        retype(query, {page == 1 ? "65" : "A"});
        find->click();
        QCOMPARE(result->text(), page == 1 ? "A" : "65");
        retype(query, keys);
        find->click();
        QCOMPARE(result->text(), shown);
        QApplication::clipboard()->setText(QStringLiteral("old"));
        control<QPushButton>(ansi, "cmdCopy" + n)->click();
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(prompts.calls.isEmpty());
    }
};

QP_REGISTER_TEST(ANSIConverterTest)
#include "ANSIConverterTest.moc"
