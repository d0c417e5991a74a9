#include "EditorParts.h"
#include "ToolWindows.h"
#include "TestRegistry.h"
#include "generators/frmCustomFont.h"
#include "services/Fonts.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QString html(QWidget* window)
{
    return control<QPlainTextEdit>(window, "txtHTML")->toPlainText();
}

}

class CustomFontTest : public QObject {
    Q_OBJECT
private slots:
    // Typed as the user types: every box ticked, HTML, Arial, red, Hello;
    // back and again gives the same markup, nothing piles up.
    void convertBackAndConvertAgain()
    {
        EditorParts f;
        frmCustomFont* font = f.open<frmCustomFont>(f.pad, f.prompts);
        QVERIFY(control(font, "fraInput")->isVisible());
        QVERIFY(!control(font, "fraOutput")->isVisible());
        auto* fonts = control<QComboBox>(font, "cboFonts");
        QCOMPARE(fonts->currentText(), QString());
        QCOMPARE(items(fonts), Fonts::screenFonts());
        auto* text = control<QLineEdit>(font, "txtText");
        text->selectAll();
        QTest::keyClicks(text, QStringLiteral("Hello"));
        QTest::keyClicks(fonts->lineEdit(), QStringLiteral("Arial"));
        auto* colour = control<QComboBox>(font, "cboColour");
        colour->setCurrentIndex(colour->findText(QStringLiteral("red")));
        for (const char* box : {"chkBold", "chkUnderlined", "chkItalic"})
            control<QCheckBox>(font, box)->click();
        const QString expected = QStringLiteral("<font face=\"Arial\" color=\"red\"><b><u><i>Hello</i></u></b></font>");

        control<QPushButton>(font, "cmdConvert")->click();
        QVERIFY(control(font, "fraOutput")->isVisible());
        QVERIFY(!control(font, "fraInput")->isVisible());
        QCOMPARE(html(font), expected);
        control<QPushButton>(font, "cmdBack")->click();
        QVERIFY(control(font, "fraInput")->isVisible());
        QCOMPARE(text->text(), QStringLiteral("Hello"));
        QCOMPARE(html(font), expected);
        control<QPushButton>(font, "cmdConvert")->click();
        QCOMPARE(html(font), expected);
    }

    void customColour()
    {
        EditorParts f;
        frmCustomFont* font = f.open<frmCustomFont>(f.pad, f.prompts);
        auto* colour = control<QComboBox>(font, "cboColour");
        auto* custom = control<QPushButton>(font, "cmdCustomColour");
        colour->setEditText(QStringLiteral("navy"));
        f.prompts.answerColour(std::nullopt).answerColour(QColor(0x12, 0xAB, 0xEF)).answerColour(std::nullopt);
        custom->click();
        QCOMPARE(colour->currentText(), QStringLiteral("navy"));
        custom->click();
        QCOMPARE(colour->currentText(), QStringLiteral("#12ABEF"));
        custom->click();
        QCOMPARE(colour->currentText(), QStringLiteral("#12ABEF"));
        QCOMPARE((QStringList{f.prompts.calls[0].text, f.prompts.calls[1].text, f.prompts.calls[2].text}),
                 (QStringList{"#000000", "#000000", "#12abef"}));
        control<QPushButton>(font, "cmdConvert")->click();
        QCOMPARE(html(font), QStringLiteral("<font color=\"#12ABEF\">Enter text here...</font>"));
    }

    // What is typed stays as typed when the field loses the focus or Enter
    // is pressed: "re" is no "red" until the user picks it, and a listed name
    // typed in another case keeps the case it was typed in.
    void typedTextStaysAsTyped_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");   // "": a listed font with capitals, in lower case
        QTest::addColumn<bool>("enter");
        QTest::newRow("a listed name's beginning") << "cboColour" << "re" << false;
        QTest::newRow("a listed colour in capitals") << "cboColour" << "RED" << false;
        QTest::newRow("a listed colour in capitals, Enter") << "cboColour" << "RED" << true;
        QTest::newRow("a listed font in lower case, Enter") << "cboFonts" << "" << true;
    }

    void typedTextStaysAsTyped()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        EditorParts f;
        frmCustomFont* font = f.open<frmCustomFont>(f.pad, f.prompts);
        auto* combo = control<QComboBox>(font, box.toLatin1().constData());
        for (int i = 0; typed.isEmpty() && i < combo->count(); ++i)
            if (combo->itemText(i).toLower() != combo->itemText(i))
                typed = combo->itemText(i).toLower();
        QVERIFY(!typed.isEmpty());
        QTRY_COMPARE(QApplication::activeWindow(), font);
        combo->lineEdit()->setFocus();
        QTest::keyClicks(combo->lineEdit(), typed);
        // The offered names go when the user clicks elsewhere or presses Enter.
        combo->completer()->popup()->hide();
        if (enter)
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        control<QLineEdit>(font, "txtText")->setFocus();
        QTRY_VERIFY(!combo->lineEdit()->hasFocus());
        QCOMPARE(combo->currentText(), typed);
        control<QPushButton>(font, "cmdConvert")->click();
        const QString attribute = box == QLatin1String("cboFonts") ? QStringLiteral("face") : QStringLiteral("color");
        QCOMPARE(html(font), QStringLiteral("<font %1=\"%2\">Enter text here...</font>").arg(attribute, typed));
    }

    // Whatever is typed in text, font and colour goes in as it stands.
    void anyTextInEveryField_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        const auto wrapped = [](const QString& v) {
            return "<font face=\"" + v + "\" color=\"" + v + "\">" + v + "</font>";
        };
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks") << "  " << wrapped("  ");
        QTest::newRow("quotes") << "\"it's\"" << wrapped("\"it's\"");
        QTest::newRow("markup") << "<i>&amp;</i> & < >" << wrapped("<i>&amp;</i> & < >");
        QTest::newRow("50 characters") << QString(50, QLatin1Char('m')) << wrapped(QString(50, QLatin1Char('m')));
        QTest::newRow("non-Latin") << QStringLiteral("Ελληνικά 中文") << wrapped(QStringLiteral("Ελληνικά 中文"));
        QTest::newRow("emoji") << QStringLiteral("🙂👍🏽") << wrapped(QStringLiteral("🙂👍🏽"));
    }

    void anyTextInEveryField()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        EditorParts f;
        frmCustomFont* font = f.open<frmCustomFont>(f.pad, f.prompts);
        for (QLineEdit* box : {control<QLineEdit>(font, "txtText"),
                               control<QComboBox>(font, "cboFonts")->lineEdit(),
                               control<QComboBox>(font, "cboColour")->lineEdit()}) {
            box->selectAll();
            box->insert(value);
        }
        control<QPushButton>(font, "cmdConvert")->click();
        QCOMPARE(html(font), expected);
    }
};

QP_REGISTER_TEST(CustomFontTest)
#include "CustomFontTest.moc"
