#include "ScriptedSpellingDialog.h"
#include "TestDictionaries.h"
#include "TestRegistry.h"
#include "doctools/MisspellingFinder.h"
#include "doctools/SpellingSession.h"
#include "services/HunspellSpeller.h"

#include <QTest>

// Finding the misspelt words of a document and correcting them with the user.
class SpellingSessionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Speller> m_speller = HunspellSpeller::open(testDictionaries(), QStringLiteral("en_US")).valueOr({});

private slots:
    void initTestCase() { QVERIFY(m_speller); }

    void findsMisspeltWordsInOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("misspelt");

        QTest::newRow("empty document") << "" << QStringList{};
        QTest::newRow("plain text, repeats kept") << "teh cat sat on teh mat" << QStringList{"teh", "teh"};
        QTest::newRow("markup passed over")
            << "<p class=\"wrld\">teh <a href=\"cxt.html\">wrld</a> cat</p>" << QStringList{"teh", "wrld"};
        QTest::newRow("web words in the text") << "<ul><li>the src and href words in ul text</li></ul>"
                                               << QStringList{};
        QTest::newRow("web words in plain text, any case") << "the SRC and Href in UL" << QStringList{};
        QTest::newRow("other writing systems left alone") << "the привет cat 日本語 wrld" << QStringList{"wrld"};
        QTest::newRow("case is the dictionary's business") << "The CAT Teh" << QStringList{"Teh"};
    }
    void findsMisspeltWordsInOrder()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, misspelt);

        // In one go, and in slices as small as a character: the same words.
        for (const qsizetype slice : {text.size() + 1, qsizetype(7), qsizetype(1)}) {
            MisspellingFinder finder(text, *m_speller);
            int steps = 0;
            while (finder.work(slice))
                QVERIFY(++steps <= text.size() + 1);
            QVERIFY(finder.done());
            QCOMPARE(finder.position(), text.size());
            QStringList found;
            for (const auto& m : finder.found())
                found << text.mid(m.start, m.length);
            QCOMPARE(found, misspelt);
        }
    }

    void correctsWithTheUser_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("cancelled");

        QTest::newRow("change") << "teh cat" << QStringList{"change:the"} << "the cat" << QStringList{"teh[the]"}
                                << false;
        QTest::newRow("suggestions in the dictionary's order")
            << "cxt" << QStringList{"change:cot"} << "cot" << QStringList{"cxt[cat,cot,cut,text]"} << false;
        QTest::newRow("the last character is kept") << "the cat sat on teh" << QStringList{"change:the"}
                                                    << "the cat sat on the" << QStringList{"teh[the]"} << false;
        QTest::newRow("every kind of line break kept")
            << "teh\r\ncat\nwrld\rthe\r\n\n" << QStringList{"change:the", "change:world"}
            << "the\r\ncat\nworld\rthe\r\n\n" << QStringList{"teh[the]", "wrld[world]"} << false;
        QTest::newRow("longer, shorter and empty replacements")
            << "cxt teh wrld." << QStringList{"change:a cat", "change:", "change:world"} << "a cat  world."
            << QStringList{"cxt[cat,cot,cut,text]", "teh[the]", "wrld[world]"} << false;
        QTest::newRow("characters outside the BMP before the word")
            << "😀😀 teh 😀" << QStringList{"change:the"} << "😀😀 the 😀" << QStringList{"teh[the]"} << false;
        QTest::newRow("change all settles the later ones")
            << "teh cat teh mat teh" << QStringList{"changeall:the"} << "the cat the mat the"
            << QStringList{"teh[the]"} << false;
        QTest::newRow("change all does not touch other words")
            << "teh Teh teh" << QStringList{"changeall:the", "ignore"} << "the Teh the"
            << QStringList{"teh[the]", "Teh[The]"} << false;
        QTest::newRow("ignore asks again") << "teh teh" << QStringList{"ignore", "change:the"} << "teh the"
                                           << QStringList{"teh[the]", "teh[the]"} << false;
        QTest::newRow("ignore all") << "teh wrld teh" << QStringList{"ignoreall", "change:world"} << "teh world teh"
                                    << QStringList{"teh[the]", "wrld[world]"} << false;
        QTest::newRow("cancel keeps what was changed")
            << "teh wrld cxt" << QStringList{"change:the", "cancel"} << "the wrld cxt"
            << QStringList{"teh[the]", "wrld[world]"} << true;
        QTest::newRow("a change to itself is none") << "teh" << QStringList{"change:teh"} << "teh"
                                                    << QStringList{"teh[the]"} << false;
        QTest::newRow("nothing misspelt") << "the cat" << QStringList{} << "the cat" << QStringList{} << false;
        // A correction replaces the word's own characters, a letter's
        // reference among them, with the new word as typed; the references
        // around it stay.
        QTest::newRow("references around a word stay")
            << "<p>teh&nbsp;cat&amp;wrld" << QStringList{"change:the", "change:world"} << "<p>the&nbsp;cat&amp;world"
            << QStringList{"teh[the]", "wrld[world]"} << false;
        QTest::newRow("a reference inside the word is replaced with it")
            << "<p>&laquo;cafx&eacute;&raquo;" << QStringList{"change:café"} << "<p>&laquo;café&raquo;"
            << QStringList{"cafxé[café]"} << false;
        QTest::newRow("the word as shown is the one kept unchanged")
            << "<p>cafx&eacute;" << QStringList{"change:cafxé"} << "<p>cafx&eacute;"
            << QStringList{"cafxé[café]"} << false;
        QTest::newRow("change all: written with and without the reference")
            << "<p>cafx&eacute; cafxé cafx&#233;" << QStringList{"changeall:café"}
            << "<p>café café café" << QStringList{"cafxé[café]"} << false;
        QTest::newRow("empty document") << "" << QStringList{} << "" << QStringList{} << false;
    }
    void correctsWithTheUser()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, script);
        QFETCH(QString, corrected);
        QFETCH(QStringList, asked);
        QFETCH(bool, cancelled);

        MisspellingFinder finder(text, *m_speller);
        finder.finish();
        ScriptedSpellingDialog dialog(script);
        const SpellingSession::Outcome outcome = SpellingSession::run(text, finder.found(), *m_speller, dialog);
        QCOMPARE(dialog.asked, asked);
        QVERIFY(dialog.script.isEmpty());
        QCOMPARE(outcome.cancelled, cancelled);
        QCOMPARE(SpellingSession::corrected(text, outcome.corrections), corrected);
        QCOMPARE(outcome.corrections.empty(), corrected == text);
    }

    // The word is shown in its line, with the corrections made before it.
    void showsTheWordInItsLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("madeBefore");   // "start,length,replacement"
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("wordInLine");

        QTest::newRow("first line") << "one teh\r\ntwo" << 4 << 3 << "" << "one teh" << 4;
        QTest::newRow("middle line after CR LF") << "one\r\ntwo teh\r\nthree" << 9 << 3 << "" << "two teh" << 4;
        QTest::newRow("after LF, before CR") << "a\nteh b\rc" << 2 << 3 << "" << "teh b" << 0;
        QTest::newRow("earlier correction in the line")
            << "x\nwrld teh" << 7 << 3 << "2,4,world" << "world teh" << 6;
        QTest::newRow("earlier correction on another line")
            << "wrld\nteh" << 5 << 3 << "0,4,world" << "teh" << 0;
        const QString a(200, QLatin1Char('a'));
        const QString b(200, QLatin1Char('b'));
        QTest::newRow("long line cut around the word")
            << a + " teh " + b << 201 << 3 << "" << "..." + QString(77, 'a') + " teh " + QString(78, 'b') + "..."
            << 81;
        QTest::newRow("near the start of a long line") << "teh " + b << 0 << 3 << ""
                                                       << "teh " + QString(156, 'b') + "..." << 0;
        QTest::newRow("near the end of a long line") << a + " teh" << 201 << 3 << ""
                                                     << "..." + QString(156, 'a') + " teh" << 160;
    }
    void showsTheWordInItsLine()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, madeBefore);
        QFETCH(QString, line);
        QFETCH(int, wordInLine);

        std::vector<SpellingSession::Correction> made;
        if (!madeBefore.isEmpty()) {
            const QStringList p = madeBefore.split(QLatin1Char(','));
            made.push_back({p[0].toInt(), p[1].toInt(), p[2]});
        }
        const SpellingDialog::Question q = SpellingSession::question(text, start, length, made);
        QCOMPARE(q.word, text.mid(start, length));
        QCOMPARE(q.line, line);
        QCOMPARE(q.wordInLine, wordInLine);
        QCOMPARE(q.line.mid(q.wordInLine, length), q.word);
    }
};

QP_REGISTER_TEST(SpellingSessionTest)
#include "SpellingSessionTest.moc"
