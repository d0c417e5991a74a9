#include "TestRegistry.h"
#include "generators/WebPage.h"

#include <QTest>
#include <functional>

namespace {

using Edit = std::function<void(WebPageFields&)>;

QString lines(const QStringList& l)
{
    return l.join(QStringLiteral("\r\n"));
}

// The page around a given head and body tag, as every row expects it.
QString page(const QStringList& head, const QString& bodyTag, const QString& content)
{
    return lines(QStringList{"<html>", "", "<head>"} + head +
                 QStringList{"</head>", "", bodyTag, content, "</body>", "", "</html>"});
}

const QString kBody = QStringLiteral(
    "<body bgcolor=\"white\" text=\"black\" link=\"blue\" vlink=\"purple\" alink=\"red\">");
const QString kContent = QStringLiteral("<p>Your content here</p>");

}

Q_DECLARE_METATYPE(Edit)

class WebPageTest : public QObject {
    Q_OBJECT
private slots:
    void build_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");

        QTest::newRow("initial values, title Home")
            << Edit([](WebPageFields& f) { f.title = "Home"; })
            << "<html>\r\n\r\n<head>\r\n<title>Home</title>\r\n</head>\r\n\r\n" + kBody +
                   "\r\n<p>Your content here</p>\r\n</body>\r\n\r\n</html>";
        QTest::newRow("empty title and content")
            << Edit([](WebPageFields& f) { f.content.clear(); }) << page({"<title></title>"}, kBody, "");
        QTest::newRow("every head line, in order")
            << Edit([](WebPageFields& f) {
                   f.title = "T";
                   f.metaKeyWords = "k1, k2";
                   f.metaDesc = "D";
                   f.metaAuthor = "A";
                   f.css = "site.css";
                   f.jump = true;
                   f.jumpUrl = "http://example.com/";
                   f.jumpDelay = "5";
               })
            << page({"<title>T</title>", "<link href=\"site.css\" type=\"text/css\" rel=\"stylesheet\">",
                     "<meta name=\"author\" content=\"A\">", "<meta name=\"description\" content=\"D\">",
                     "<meta name=\"keywords\" content=\"k1, k2\">",
                     "<meta http-equiv=\"refresh\" content=\"5;url=http://example.com/\">"},
                    kBody, kContent);
        QTest::newRow("jump with its initial texts")
            << Edit([](WebPageFields& f) { f.jump = true; })
            << page({"<title></title>", "<meta http-equiv=\"refresh\" content=\"0;url=http://\">"}, kBody, kContent);
        QTest::newRow("jump on, URL emptied: no refresh line")
            << Edit([](WebPageFields& f) {
                   f.jump = true;
                   f.jumpUrl.clear();
               })
            << page({"<title></title>"}, kBody, kContent);
        QTest::newRow("jump off, URL typed: no refresh line")
            << Edit([](WebPageFields& f) { f.jumpUrl = "http://example.com/"; })
            << page({"<title></title>"}, kBody, kContent);
        QTest::newRow("every colour and a background image")
            << Edit([](WebPageFields& f) {
                   f.bgCol = "#FFFFFF";
                   f.textCol = "#000000";
                   f.linkCol = "#0000FF";
                   f.visitedCol = "#800080";
                   f.activeCol = "#FF0000";
                   f.bgImg = "img/bg.png";
               })
            << page({"<title></title>"},
                    "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000FF\" vlink=\"#800080\" "
                    "alink=\"#FF0000\" background=\"img/bg.png\">",
                    kContent);
        QTest::newRow("a blank colour is a colour")
            << Edit([](WebPageFields& f) { f.bgCol = " "; })
            << page({"<title></title>"},
                    "<body bgcolor=\" \" text=\"black\" link=\"blue\" vlink=\"purple\" alink=\"red\">", kContent);
        QTest::newRow("description and content on two lines")
            << Edit([](WebPageFields& f) {
                   f.metaDesc = "one\r\ntwo";
                   f.content = "<p>a</p>\r\n<p>b</p>";
               })
            << page({"<title></title>", "<meta name=\"description\" content=\"one", "two\">"}, kBody,
                    "<p>a</p>\r\n<p>b</p>");

        // Whatever is typed goes in as it stands.
        const QString odd[] = {"   ", "say \"hi\" & <b>", QStringLiteral("Ελληνικά 中文 🙂👍🏽")};
        const char* names[] = {"blanks", "quotes and markup", "non-Latin and emoji"};
        for (int i = 0; i < 3; ++i) {
            const QString v = odd[i];
            QTest::addRow("verbatim: %s", names[i])
                << Edit([v](WebPageFields& f) {
                       f.title = v;
                       f.metaAuthor = v;
                       f.textCol = v;
                       f.content = v;
                   })
                << page({"<title>" + v + "</title>", "<meta name=\"author\" content=\"" + v + "\">"},
                        "<body bgcolor=\"white\" text=\"" + v + "\" link=\"blue\" vlink=\"purple\" alink=\"red\">",
                        v);
        }
    }

    void build()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, expected);
        WebPageFields fields;
        edit(fields);
        QCOMPARE(WebPage::build(fields), expected);
    }
};

QP_REGISTER_TEST(WebPageTest)
#include "WebPageTest.moc"
