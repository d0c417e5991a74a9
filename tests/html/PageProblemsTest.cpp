#include "TestRegistry.h"
#include "html/PageProblems.h"

#include <QTest>

// What of a page is checked, which problems are marked and how, where F8
// goes and how the problems are counted.
class PageProblemsTest : public QObject {
    Q_OBJECT

    static QByteArray page(const QByteArray& body)
    {
        return "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n" + body + "\n</body></html>\n";
    }

private slots:
    // Server code disappears byte for byte: blanks, "x" in a value.
    void hidesServerCodeFromTidy_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("shown");

        QTest::newRow("PHP between tags") << QByteArray("<p><?php echo $a; ?></p>") << "<p>" + QByteArray(17, ' ') + "</p>";
        QTest::newRow("in a quoted value") << QByteArray("<a href=\"<?= $u ?>\">") << QByteArray("<a href=\"xxxxxxxxx\">");
        QTest::newRow("quotes inside the code") << QByteArray("<a title='<?= \"it's\" ?>' id=b>")
                                                << QByteArray("<a title='xxxxxxxxxxxxx' id=b>");
        QTest::newRow("an unquoted value") << QByteArray("<img src=<% =p %> alt=\"\">")
                                           << QByteArray("<img src=xxxxxxxx alt=\"\">");
        QTest::newRow("among the attributes") << QByteArray("<input <?php if ($c) echo 'checked'; ?>>")
                                              << QByteArray("<input                                 >");
        QTest::newRow("line breaks stay") << QByteArray("<?php\r\n$a = '<b>';\n?>\n<p>")
                                          << QByteArray("     \r\n           \n  \n<p>");
        QTest::newRow("in a script, not read as a tag")
            << QByteArray("<script>if (a<b) s = \"<?= $x ?>\";</script><p class=<?= $c ?>>")
            << QByteArray("<script>if (a<b) s = \"         \";</script><p class=xxxxxxxxx>");
        QTest::newRow("unclosed to the end") << QByteArray("<p><% x") << QByteArray("<p>    ");
        QTest::newRow("XML declaration, comment and plain page stay")
            << QByteArray("<?xml version=\"1.0\"?><!-- a=\"<b>' --><p a=\"1\">x &lt; y</p>")
            << QByteArray("<?xml version=\"1.0\"?><!-- a=\"<b>' --><p a=\"1\">x &lt; y</p>");
    }
    void hidesServerCodeFromTidy()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, shown);
        QCOMPARE(PageProblems::withoutServerCode(text), shown);
    }

    // Whole pages, as the editor checks them: "W 3:1 missing </div>".
    void keepsTheProblemsWorthMarking_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("problems");

        QTest::newRow("well-formed") << page("<p>One &amp; two</p>\n<!-- <b> -->\n<script>if (a < b) x = '</p>';</script>")
                                     << QStringList{};
        QTest::newRow("unclosed and misnested")
            << page("<div>\n<p><b><i>x</b></i></p>")
            << QStringList{"W 3:1 missing </div>", "W 4:7 replacing unexpected b with </b>",
                           "W 4:15 inserting implicit <i>", "W 4:15 trimming empty <i>"};
        QTest::newRow("a full page without a doctype says so")
            << QByteArray("<html><head><title>t</title></head><body><p>x</p></body></html>")
            << QStringList{"W 1:1 missing <!DOCTYPE> declaration"};
        QTest::newRow("fragment: no notes about its frame") << QByteArray("<p>hello\n<div>x</div>") << QStringList{};
        QTest::newRow("fragment starting with text")
            << QByteArray("hello <b>x</b>\n<foo>") << QStringList{"E 2:1 <foo> is not recognized!",
                                                                   "W 2:1 discarding unexpected <foo>"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("PHP page: server code is no problem")
            << QByteArray("<?php include 'head.php'; ?>\n<a href=\"<?= $url ?>\">x</a>\n"
                          "<input type=\"checkbox\" <?php if ($c) echo 'checked'; ?>>\n<img src=\"<%= p %>\" alt=\"\">")
            << QStringList{};
        QTest::newRow("a repeated message once")
            << page("<a href=\"a b c\">x</a>") << QStringList{"W 3:1 <a> escaping malformed URI reference",
                                                              "W 3:1 <a> illegal characters found in URI"};
        QTest::newRow("same place, different messages")
            << page("<a href=\"  \">x</a>") << QStringList{"W 3:1 <a> discarding whitespace in URI reference",
                                                          "W 3:1 <a> attribute \"href\" lacks value"};
    }
    void keepsTheProblemsWorthMarking()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, problems);

        const Result<PageProblems::Problems> found = PageProblems::check(text);
        QVERIFY(found.ok());
        QStringList described;
        for (const TidyCheck::Problem& p : *found) {
            described << QStringLiteral("%1 %2:%3 %4")
                             .arg(p.severity == TidyCheck::Severity::Error ? QLatin1Char('E') : QLatin1Char('W'))
                             .arg(p.line)
                             .arg(p.column)
                             .arg(p.message);
            QCOMPARE(p.offset, TidyCheck::offsetOf(text, p.line, p.column));
        }
        QCOMPARE(described, problems);
    }

    // "^" is the problem's place, "[...]" what its mark underlines.
    void underlinesTheTagOrWordThere_data()
    {
        QTest::addColumn<QByteArray>("marked");

        QTest::newRow("a tag with attributes") << QByteArray("^[<a hreff=\"x\" id=\"é\">]y</a>");
        QTest::newRow("a tag up to its line's end") << QByteArray("^[<img src=\"a]\r\nb\">");
        QTest::newRow("an entity") << QByteArray("a ^[&bogus;] b");
        QTest::newRow("an entity without its ;") << QByteArray("^[&amp] x");
        QTest::newRow("a word") << QByteArray("^[naïve-word_2]! x");
        QTest::newRow("a lone less-than") << QByteArray("a ^[<] b");
        QTest::newRow("a character beyond ASCII, alone") << QByteArray("^[\xE2\x82\xAC]!");
        QTest::newRow("at a line's end: the character before") << QByteArray("ab[\xC3\xA9]^\r\nd");
        QTest::newRow("at the text's end") << QByteArray("ab[c]^");
        QTest::newRow("an empty line: its line break") << QByteArray("a\n^[\r\n]b");
        QTest::newRow("the empty last line") << QByteArray("a[\r\n]^");
        QTest::newRow("a long word, cut") << QByteArray("^[" + QByteArray(PageProblems::kLongestMark, 'w') + "]www");
        QTest::newRow("a long word beyond ASCII, cut on a whole character")
            << QByteArray("^[" + QByteArray(255, 'w') + QByteArray("\xC3\xA9").repeated(128) + "]"
                          + QByteArray("\xC3\xA9").repeated(127) + "w");
        QTest::newRow("empty text") << QByteArray("^[]");
    }
    void underlinesTheTagOrWordThere()
    {
        QFETCH(QByteArray, marked);

        QByteArray text;
        qsizetype at = 0, start = 0, end = 0;
        for (const char c : marked) {
            if (c == '^')
                at = text.size();
            else if (c == '[')
                start = text.size();
            else if (c == ']')
                end = text.size();
            else
                text += c;
        }
        QCOMPARE(PageProblems::underlined(text, at), (PageProblems::Span{start, end}));
    }

    void findsTheNextProblem_data()
    {
        QTest::addColumn<QList<qsizetype>>("starts");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("stop");

        const QList<qsizetype> three{10, 20, 30};
        QTest::newRow("none") << QList<qsizetype>{} << 5 << true << -1;
        QTest::newRow("F8 before the first") << three << 0 << true << 0;
        QTest::newRow("F8 at a problem: the next") << three << 10 << true << 1;
        QTest::newRow("F8 after the last: the first") << three << 30 << true << 0;
        QTest::newRow("Shift+F8 after the last") << three << 40 << false << 2;
        QTest::newRow("Shift+F8 at a problem: the one before") << three << 20 << false << 0;
        QTest::newRow("Shift+F8 inside one: its start") << three << 25 << false << 1;
        QTest::newRow("Shift+F8 at the first: the last") << three << 10 << false << 2;
    }
    void findsTheNextProblem()
    {
        QFETCH(QList<qsizetype>, starts);
        QFETCH(int, caret);
        QFETCH(bool, forward);
        QFETCH(int, stop);
        QCOMPARE(PageProblems::nextStop({starts.begin(), starts.end()}, caret, forward), qsizetype(stop));
    }

    void countsProblems_data()
    {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QString>("summary");

        QTest::newRow("none") << 0 << 0 << "";
        QTest::newRow("one error") << 1 << 0 << "1 error";
        QTest::newRow("warnings") << 0 << 3 << "3 warnings";
        QTest::newRow("both") << 2 << 1 << "2 errors, 1 warning";
    }
    void countsProblems()
    {
        QFETCH(int, errors);
        QFETCH(int, warnings);
        QFETCH(QString, summary);
        QCOMPARE(PageProblems::summary(errors, warnings), summary);
    }
};

QP_REGISTER_TEST(PageProblemsTest)
#include "PageProblemsTest.moc"
