#include "TestRegistry.h"
#include "generators/CustomFontMarkup.h"

#include <QTest>

namespace {

CustomFontChoice choice(const QString& font, const QString& colour, int style, const char* emphasis = "")
{
    CustomFontChoice c;
    c.text = QStringLiteral("Hello");
    c.font = font;
    c.colour = colour;
    c.style = style;
    c.bold = strchr(emphasis, 'b');
    c.underlined = strchr(emphasis, 'u');
    c.italic = strchr(emphasis, 'i');
    return c;
}

}

Q_DECLARE_METATYPE(CustomFontChoice)

class CustomFontMarkupTest : public QObject {
    Q_OBJECT
private slots:
    void build_data()
    {
        QTest::addColumn<CustomFontChoice>("choice");
        QTest::addColumn<QString>("expected");
        const int html = CustomFontChoice::Html;
        const int css = CustomFontChoice::Css;

        QTest::newRow("every box ticked, HTML, Arial, red")
            << choice("Arial", "red", html, "bui")
            << "<font face=\"Arial\" color=\"red\"><b><u><i>Hello</i></u></b></font>";
        QTest::newRow("nothing chosen") << choice("", "", html) << "Hello";
        QTest::newRow("HTML, font only") << choice("Arial", "", html) << "<font face=\"Arial\">Hello</font>";
        QTest::newRow("HTML, colour only") << choice("", "#FF0000", html) << "<font color=\"#FF0000\">Hello</font>";
        QTest::newRow("CSS, font and colour")
            << choice("Arial", "red", css) << "<span style=\"font-family:Arial; color:red;\">Hello</span>";
        QTest::newRow("CSS, font only") << choice("Arial", "", css)
                                        << "<span style=\"font-family:Arial;\">Hello</span>";
        QTest::newRow("CSS, colour only") << choice("", "teal", css) << "<span style=\"color:teal;\">Hello</span>";
        QTest::newRow("CSS, nothing chosen, italic") << choice("", "", css, "i") << "<i>Hello</i>";
        QTest::newRow("no style selected") << choice("Arial", "red", CustomFontChoice::NoStyle, "b")
                                           << "<b>Hello</b>";
        QTest::newRow("bold and italic nest") << choice("", "", html, "bi") << "<b><i>Hello</i></b>";
        QTest::newRow("underline and italic, CSS")
            << choice("Arial", "", css, "ui") << "<span style=\"font-family:Arial;\"><u><i>Hello</i></u></span>";
        QTest::newRow("a blank font is a font") << choice(" ", "", html) << "<font face=\" \">Hello</font>";
    }

    void build()
    {
        QFETCH(CustomFontChoice, choice);
        QFETCH(QString, expected);
        QCOMPARE(CustomFontMarkup::build(choice), expected);
    }
};

QP_REGISTER_TEST(CustomFontMarkupTest)
#include "CustomFontMarkupTest.moc"
