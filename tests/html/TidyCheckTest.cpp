#include "TestRegistry.h"
#include "html/TidyCheck.h"

#include <QFuture>
#include <QPromise>
#include <QTest>
#include <QThreadPool>

// HTML Tidy's problems with whole small pages, and where in the text each
// one is.
class TidyCheckTest : public QObject {
    Q_OBJECT

    static QByteArray page(const QByteArray& body)
    {
        return "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n" + body + "\n</body></html>\n";
    }

    // "E 3:1 <foo> is not recognized!" per problem.
    static QStringList describe(const std::vector<TidyCheck::Problem>& problems)
    {
        QStringList out;
        for (const TidyCheck::Problem& p : problems)
            out << QStringLiteral("%1 %2:%3 %4")
                       .arg(p.severity == TidyCheck::Severity::Error ? QLatin1Char('E') : QLatin1Char('W'))
                       .arg(p.line)
                       .arg(p.column)
                       .arg(p.message);
        return out;
    }

private slots:
    void reportsErrorsAndWarnings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("problems");

        QTest::newRow("well-formed page") << page("<p class=\"a\">One &amp; two &eacute;</p>\n<br>") << QStringList{};
        QTest::newRow("comment, script and style")
            << QByteArray("<!DOCTYPE html>\n<html><head><title>t</title><style>p > b { color: red; }</style></head>\n"
                          "<body><!-- <b> not closed -->\n<script>if (a < b && c > d) { x = '</p>'; }</script>\n"
                          "</body></html>")
            << QStringList{};
        QTest::newRow("fragment")
            << QByteArray("<p>hello")
            << QStringList{"W 1:1 missing <!DOCTYPE> declaration", "W 1:1 inserting implicit <body>",
                           "W 1:1 inserting missing 'title' element"};
        QTest::newRow("unclosed") << page("<div>\n<p>text")
                                  << QStringList{"W 3:1 missing </div>"};
        QTest::newRow("misnested") << page("<p><b><i>x</b></i></p>")
                                   << QStringList{"W 3:7 replacing unexpected b with </b>",
                                                  "W 3:15 inserting implicit <i>", "W 3:15 trimming empty <i>"};
        QTest::newRow("unknown element")
            << page("<foo>x</foo>")
            << QStringList{"E 3:1 <foo> is not recognized!", "W 3:1 discarding unexpected <foo>",
                           "W 3:7 discarding unexpected </foo>"};
        QTest::newRow("unknown attribute, found while repairing")
            << page("<a hreff=\"x.html\">x</a>") << QStringList{"W 3:1 <a> proprietary attribute \"hreff\""};
        QTest::newRow("duplicate id") << page("<p id=\"a\">1</p>\n<p id=\"a\">2</p>")
                                      << QStringList{"W 4:1 <p> anchor \"a\" already defined"};
        QTest::newRow("missing required attribute")
            << page("<img src=\"a.png\">") << QStringList{"W 3:1 <img> lacks \"alt\" attribute"};
        QTest::newRow("bad entities") << page("<p>&bogus; &amp</p>")
                                      << QStringList{"W 3:4 unescaped & or unknown entity \"&bogus\"",
                                                     "W 3:12 entity \"&amp\" doesn't end in ';'"};
        // Tidy tells some problems after later ones; they come in order.
        QTest::newRow("in order of position")
            << page("<p id=\"a\">1</p>\n<img alt=\"\">\n<p id=\"a\">2</p>")
            << QStringList{"W 4:1 <img> lacks \"src\" attribute", "W 5:1 <p> anchor \"a\" already defined"};
    }
    void reportsErrorsAndWarnings()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, problems);

        const Result<std::vector<TidyCheck::Problem>> found = TidyCheck::check(text);
        QVERIFY(found.ok());
        QCOMPARE(describe(*found), problems);
    }

    // Tidy counts lines at CR LF, LF and a lone CR, columns in characters
    // with tabs to stops of 8, and a leading byte-order mark not at all; the
    // offset of an unknown element's problem is where its tag begins.
    void locatesProblemsInTheText_data()
    {
        QTest::addColumn<QByteArray>("text");

        const QByteArray head = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>";
        const QByteArray tail = "</body></html>";
        QTest::newRow("LF") << head + "\n<p>x</p>\n  <zz>\n" + tail;
        QTest::newRow("CR LF") << QByteArray(head + "\n<p>x</p>\n  <zz>\n" + tail).replace("\n", "\r\n");
        QTest::newRow("CR") << QByteArray(head + "\n<p>x</p>\n  <zz>\n" + tail).replace("\n", "\r");
        QTest::newRow("mixed") << head + "\r\n\r\r\n\n   <zz>\r" + tail;
        QTest::newRow("tab") << head + "\n\t<zz>\n" + tail;
        QTest::newRow("tab after text") << head + "\nab\t<zz>\n" + tail;
        QTest::newRow("two-byte characters") << head + "\n\xC3\xA9\xC3\xA9<zz>\n" + tail;
        QTest::newRow("three-byte character and tab") << head + "\n\xE2\x82\xAC\t<zz>\n" + tail;
        QTest::newRow("emoji") << head + "\n\xF0\x9F\x98\x80 <zz>\n" + tail;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF<zz>" + head + "\n" + tail;
        QTest::newRow("invalid UTF-8") << head + "\n\xFF\xC3 \xE2\x82<zz>\n" + tail;
        QTest::newRow("long line") << head + QByteArray(5000, 'x') + "\xC3\xA9<zz>\n" + tail;
    }
    void locatesProblemsInTheText()
    {
        QFETCH(QByteArray, text);

        const Result<std::vector<TidyCheck::Problem>> found = TidyCheck::check(text);
        QVERIFY(found.ok());
        QStringList offsets;
        for (const TidyCheck::Problem& p : *found)
            if (p.key == "UNKNOWN_ELEMENT")
                offsets << QString::number(p.offset);
        QCOMPARE(offsets, QStringList{QString::number(text.indexOf("<zz>"))});
    }

    void offsetsOfPlacesBeyondTheText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("offset");

        QTest::newRow("first character") << QByteArray("ab\ncd") << 1 << 1 << 0;
        QTest::newRow("column past the line's end") << QByteArray("ab\r\ncd") << 1 << 9 << 2;
        QTest::newRow("column past the last line's end") << QByteArray("ab\ncd") << 2 << 9 << 5;
        QTest::newRow("line past the end") << QByteArray("ab\ncd\n") << 7 << 1 << 6;
        QTest::newRow("inside a tab") << QByteArray("\tx") << 1 << 5 << 0;
        QTest::newRow("just after a tab") << QByteArray("\tx") << 1 << 9 << 1;
        QTest::newRow("empty text") << QByteArray() << 3 << 3 << 0;
    }
    void offsetsOfPlacesBeyondTheText()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, offset);

        QCOMPARE(TidyCheck::offsetOf(text, line, column), qsizetype(offset));
    }

    // Checks run on worker threads, several at once: each finds what a check
    // on its own finds.
    void concurrentChecksFindWhatSingleOnesFind()
    {
        const QList<QByteArray> pages{page("<p>a <b>b</p>"), page("<foo>x</foo>\n<p id=\"a\"></p><p id=\"a\"></p>"),
                                      page("<p>fine</p>"), page("\t<img>\n&bogus;") + QByteArray(20000, ' ')};
        QList<QStringList> alone;
        for (const QByteArray& p : pages)
            alone << describe(TidyCheck::check(p).value());

        QThreadPool pool;
        pool.setMaxThreadCount(4);
        QList<QFuture<QStringList>> running;
        for (int round = 0; round < 25; ++round) {
            for (const QByteArray& p : pages) {
                auto promise = std::make_shared<QPromise<QStringList>>();
                running << promise->future();
                promise->start();
                pool.start([promise, p] {
                    promise->addResult(describe(TidyCheck::check(p).value()));
                    promise->finish();
                });
            }
        }
        pool.waitForDone();
        for (qsizetype i = 0; i < running.size(); ++i)
            QCOMPARE(running[i].result(), alone[i % pages.size()]);
    }
};

QP_REGISTER_TEST(TidyCheckTest)
#include "TidyCheckTest.moc"
