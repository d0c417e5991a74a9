#include "GeneratorWindows.h"
#include "TestRegistry.h"
#include "generators/frmCustomFont.h"
#include "platform/Fonts.h"
#include "platform/RichTextBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

frmCustomFont* openCustomFont(frmMain& w)
{
    return qobject_cast<frmCustomFont*>(openTool(w, Cmd::mnuCustomFont, "frmCustomFont"));
}

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
    void opensOnTheInputFrame()
    {
        MainWindowFixture f;
        frmCustomFont* font = openCustomFont(f.show());
        QVERIFY(font);
        QCOMPARE(font->windowTitle(), QStringLiteral("Quirkpad - Custom Font"));
        QWidget* input = control(font, "fraInput");
        QWidget* output = control(font, "fraOutput");
        QVERIFY(input->isVisible());
        QVERIFY(!output->isVisible());

        const struct {
            const char* name;
            QWidget* frame;
            const char* caption;
        } captions[] = {
            {"Label1", input, "Text:"},          {"txtText", input, "Enter text here..."},
            {"lblFont", input, "Font:"},         {"lblColour", input, "Colour:"},
            {"lblStyle", input, "Style:"},       {"cmdCustomColour", input, "Custom"},
            {"chkBold", input, "Bold"},          {"chkUnderlined", input, "Underlined"},
            {"chkItalic", input, "Italic"},      {"cmdConvert", input, "Convert to HTML >>"},
            {"cmdBack", output, "<< Back"},      {"cmdCopy", output, "Copy"},
            {"cmdInsert", output, "Insert"},
        };
        for (const auto& c : captions) {
            QWidget* w = control(font, c.name);
            QVERIFY2(c.frame->isAncestorOf(w), c.name);
            const QString text = qobject_cast<QLabel*>(w)            ? qobject_cast<QLabel*>(w)->text()
                                 : qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text()
                                                                     : qobject_cast<QLineEdit*>(w)->text();
            QCOMPARE(text, QLatin1String(c.caption));
            if (auto* check = qobject_cast<QCheckBox*>(w))
                QVERIFY(!check->isChecked());
        }
        auto* fonts = control<QComboBox>(font, "cboFonts");
        auto* colour = control<QComboBox>(font, "cboColour");
        auto* style = control<QComboBox>(font, "cboStyle");
        QVERIFY(fonts->isEditable() && colour->isEditable() && !style->isEditable());
        QCOMPARE(fonts->currentText(), QString());
        QCOMPARE(items(fonts), Fonts::screenFonts());
        QCOMPARE(colour->currentText(), QString());
        QCOMPARE(items(colour), (QStringList{"black", "blue", "green", "lime", "orange", "pink", "red", "teal",
                                             "white", "yellow"}));
        QCOMPARE(items(style), (QStringList{"HTML", "CSS"}));
        QCOMPARE(style->currentIndex(), 0);
        QCOMPARE(html(font), QString());
    }

    // Typed as the user types: every box ticked, HTML, Arial, red, Hello;
    // back and again gives the same markup, nothing piles up.
    void convertBackAndConvertAgain()
    {
        MainWindowFixture f;
        frmCustomFont* font = openCustomFont(f.show());
        auto* text = control<QLineEdit>(font, "txtText");
        text->selectAll();
        QTest::keyClicks(text, QStringLiteral("Hello"));
        QTest::keyClicks(control<QComboBox>(font, "cboFonts")->lineEdit(), QStringLiteral("Arial"));
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

        // The CSS flavour from the same choices.
        control<QPushButton>(font, "cmdBack")->click();
        control<QComboBox>(font, "cboStyle")->setCurrentIndex(1);
        control<QPushButton>(font, "cmdConvert")->click();
        QCOMPARE(html(font),
                 QStringLiteral("<span style=\"font-family:Arial; color:red;\"><b><u><i>Hello</i></u></b></span>"));
    }

    void customColour()
    {
        MainWindowFixture f;
        frmCustomFont* font = openCustomFont(f.show());
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

    // Copy puts exactly the output, as edited, on the clipboard and keeps
    // the window open.
    void copy()
    {
        MainWindowFixture f;
        frmCustomFont* font = openCustomFont(f.show());
        QApplication::clipboard()->setText(QStringLiteral("old"));
        control<QCheckBox>(font, "chkBold")->click();
        control<QPushButton>(font, "cmdConvert")->click();
        control<QPushButton>(font, "cmdCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("<b>Enter text here...</b>"));
        auto* out = control<QPlainTextEdit>(font, "txtHTML");
        out->setPlainText(QString());
        control<QPushButton>(font, "cmdCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), QString());
        QVERIFY(toolWindow(QStringLiteral("frmCustomFont")));
        QVERIFY(f.prompts.calls.isEmpty());
    }

    // An emptied output box inserts nothing and so deletes the selection.
    void insertingNothingDeletesTheSelection()
    {
        MainWindowFixture f;
        frmMain& w = f.show();
        w.pad()->SetText(QStringLiteral("keep this"));
        w.pad()->SetSelStart(4);
        w.pad()->SetSelLength(5);
        frmCustomFont* font = openCustomFont(w);
        control<QPushButton>(font, "cmdConvert")->click();
        control<QPlainTextEdit>(font, "txtHTML")->clear();
        control<QPushButton>(font, "cmdInsert")->click();
        QCOMPARE(w.pad()->Text(), QStringLiteral("keep"));
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
        MainWindowFixture f;
        frmCustomFont* font = openCustomFont(f.show());
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
