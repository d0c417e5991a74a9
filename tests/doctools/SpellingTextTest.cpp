#include "TestRegistry.h"
#include "doctools/SpellingText.h"

#include <QTest>

// Which words of a page a spelling check looks at.
class SpellingTextTest : public QObject {
    Q_OBJECT
private slots:
    void recognisesMarkup_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("markup");

        QTest::newRow("plain sentence") << "Dear Sir, thank you." << false;
        QTest::newRow("comparisons") << "if a < b and c > d then 1 <2 >0" << false;
        QTest::newRow("tag never closed") << "x <b and more" << false;
        QTest::newRow("stray < before a tag-like >") << "a <b c < d> e" << false;
        QTest::newRow("element") << "Use <br> for breaks" << true;
        QTest::newRow("closing tag") << "text</div>" << true;
        QTest::newRow("tag over two lines") << "<a\r\nhref=\"x\">" << true;
        QTest::newRow("doctype") << "<!DOCTYPE html>" << true;
        QTest::newRow("comment") << "<!-- note" << true;
        QTest::newRow("php") << "<?php echo 1;" << true;
        QTest::newRow("asp") << "<% Response.Write(1) %>" << true;
    }
    void recognisesMarkup()
    {
        QFETCH(QString, text);
        QFETCH(bool, markup);
        QCOMPARE(SpellingText::isMarkup(text), markup);
    }

    void checksTheseWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("markup");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("empty") << "" << true << QStringList{};
        QTest::newRow("punctuation and hyphens")
            << "Hello, wrld! It's a well-known (fact)." << false
            << QStringList{"Hello", "wrld", "It's", "a", "well", "known", "fact"};
        QTest::newRow("tags and attributes")
            << "<p class=\"intro\" title=\"Greetng\">Helo <b>wrld</b></p>" << true << QStringList{"Helo", "wrld"};
        QTest::newRow("quoted > inside a tag") << "<a title=\"a > b\" href='x>y'>Link</a>" << true
                                               << QStringList{"Link"};
        QTest::newRow("text of title and textarea is prose")
            << "<title>My Pge</title><textarea>Tpye here</textarea>" << true
            << QStringList{"My", "Pge", "Tpye", "here"};
        QTest::newRow("comment") << "<!-- a note wth typos -->Text" << true << QStringList{"Text"};
        QTest::newRow("comment never closed") << "Text <!-- never closed wrds" << true << QStringList{"Text"};
        QTest::newRow("script and style")
            << "<script>var teh = 1;</script><style>p { colr: red }</style>After" << true << QStringList{"After"};
        QTest::newRow("script in capitals with attributes")
            << "<SCRIPT type=\"text/javascript\">alrt(\"x\")</Script >Done" << true << QStringList{"Done"};
        QTest::newRow("self-closed script has no contents")
            << "<script src=\"a.js\"/>Words here" << true << QStringList{"Words", "here"};
        QTest::newRow("php and asp blocks")
            << "<?php echo \"helo\"; ?>Good <% Respnse.Write \"x\" %>day" << true << QStringList{"Good", "day"};
        QTest::newRow("php with > inside")
            << "<?php if ($a > $b) echo \"wrng\"; ?>ok" << true << QStringList{"ok"};
        QTest::newRow("php inside a tag")
            << "<input <?php echo $chekd ?> value=\"x\">Word" << true << QStringList{"Word"};
        QTest::newRow("php block to the end")
            << "Intro <?php echo \"no closing mark\";" << true << QStringList{"Intro"};
        QTest::newRow("doctype and cdata")
            << "<!DOCTYPE html><![CDATA[ x < y wrds ]]>End" << true << QStringList{"End"};
        QTest::newRow("addresses")
            << "Visit http://exmple.com/pth or www.exmple.org, mail me@exmple.com or <mailto:me@x.org> now"
            << false << QStringList{"Visit", "or", "mail", "or", "now"};
        QTest::newRow("file names and paths")
            << "Open index.html and styles/main.css or C:\\web\\pge today" << false
            << QStringList{"Open", "and", "or", "today"};
        QTest::newRow("address ends at the tag") << "<a href=\"#\">exmple.com</a>Next" << true
                                                 << QStringList{"Next"};
        QTest::newRow("digits and underscores")
            << "Version 2nd h1 my_var abc123 fine" << false << QStringList{"Version", "fine"};
        QTest::newRow("apostrophes inside words only")
            << "'quoted' don't students' l’homme" << false
            << QStringList{"quoted", "don't", "students", "l’homme"};
        QTest::newRow("other scripts are words too")
            << "Привет мир 日本語 ελληνικά" << false << QStringList{"Привет", "мир", "日本語", "ελληνικά"};
        QTest::newRow("combining marks stay in the word")
            << QString::fromUtf8("cafe\xCC\x81 ok") << false << QStringList{QString::fromUtf8("cafe\xCC\x81"), "ok"};
        QTest::newRow("a run longer than a word")
            << QString(SpellingText::kLongestWord, QLatin1Char('x')) + " " + QString(65, QLatin1Char('y')) << false
            << QStringList{QString(SpellingText::kLongestWord, QLatin1Char('x'))};
        QTest::newRow("tags in plain text are text") << "Use <b> tags" << false << QStringList{"Use", "b", "tags"};
        QTest::newRow("a lone < in a page") << "<p>a < b, c</p>" << true << QStringList{"a", "b", "c"};
    }
    void checksTheseWords()
    {
        QFETCH(QString, text);
        QFETCH(bool, markup);
        QFETCH(QStringList, words);

        SpellingText::WordScanner scanner(text, markup);
        QStringList found;
        qsizetype last = -1;
        while (const auto w = scanner.next()) {
            QVERIFY(w->start > last);
            last = w->start;
            found << SpellingText::spelling(text, *w);
        }
        QCOMPARE(found, words);
        QCOMPARE(scanner.position(), text.size());
    }

    // In a page, references are read as what they stand for. Each word is
    // given as its characters in the text, "=" and the word it shows when
    // that differs.
    void readsCharacterReferences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");

        QTest::newRow("references that are no letters stand between words")
            << "Fish &amp; chips&nbsp;sat&lt;b&gt;it&#169;x&#x2014y &quot;so&quot;"
            << QStringList{"Fish", "chips", "sat", "b", "it", "x", "y", "so"};
        QTest::newRow("letters by name, decimal and hexadecimal, any case of x")
            << "caf&eacute; caf&#233; caf&#xE9; caf&#Xe9;s &Eacute;t&eacute; &scaron;ef &Alpha;lpha"
            << QStringList{"caf&eacute;=café", "caf&#233;=café", "caf&#xE9;=café", "caf&#Xe9;s=cafés",
                           "&Eacute;t&eacute;=Été", "&scaron;ef=šef", "&Alpha;lpha=Αlpha"};
        QTest::newRow("semicolon left out, as browsers allow")
            << "caf&eacute ok" << QStringList{"caf&eacute=café", "ok"};
        QTest::newRow("a letter outside the BMP") << "x&#x1D400;y" << QStringList{"x&#x1D400;y=x\U0001D400y"};
        QTest::newRow("a digit's reference makes an identifier") << "h&#49; ok" << QStringList{"ok"};
        QTest::newRow("apostrophes by reference, between letters only")
            << "don&rsquo;t it&#39;s &lsquo;quoted&rsquo;"
            << QStringList{"don&rsquo;t=don’t", "it&#39;s=it's", "quoted"};
        QTest::newRow("soft hyphens inside a word drop out")
            << "hy&shy;phen hy\u00ADphen end&shy;" << QStringList{"hy&shy;phen=hyphen", "hy\u00ADphen=hyphen", "end"};
        QTest::newRow("numbers that name no character")
            << "a&#0;b c&#xD800;d e&#99999999;f" << QStringList{"a", "b", "c", "d", "e", "f"};
        QTest::newRow("unknown names: the words glued to them are left alone")
            << "teh&foo;wrld AT&T Q&A; alone" << QStringList{"alone"};
        QTest::newRow("an & that starts no reference") << "this & that &1 &#; x&" << QStringList{"this", "that", "x"};
        QTest::newRow("the longest word counts what it shows")
            << QString(63, QLatin1Char('x')) + "&eacute; " + QString(64, QLatin1Char('x')) + "&eacute;"
            << QStringList{QString(63, QLatin1Char('x')) + "&eacute;=" + QString(63, QLatin1Char('x')) + "é"};
    }
    void readsCharacterReferences()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);

        const QString page = QStringLiteral("<p>") + text;
        SpellingText::WordScanner scanner(page, true);
        QStringList found;
        while (const auto w = scanner.next()) {
            const QString written = page.mid(w->start, w->length);
            found << (w->shown.isEmpty() ? written : written + QLatin1Char('=') + w->shown);
        }
        QCOMPARE(found, words);
    }
};

QP_REGISTER_TEST(SpellingTextTest)
#include "SpellingTextTest.moc"
