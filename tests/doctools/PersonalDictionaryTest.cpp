#include "ScriptedSpellingDialog.h"
#include "TestDictionaries.h"
#include "TestRegistry.h"
#include "doctools/MisspellingFinder.h"
#include "doctools/SpellingSession.h"
#include "services/HunspellSpeller.h"
#include "services/PersonalDictionary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}

// The user's own dictionary: the words added with "Add to Dictionary", kept
// in a plain file that survives damage and is only ever replaced whole.
class PersonalDictionaryTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheWordsItCan_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("words");

        const QByteArray longest(PersonalDictionary::kLongestWord, 'a');
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("LF, CR LF, no break at the end, each word once")
            << QByteArray("Quirkpad\nKate\r\nQuirkpad\nGeany") << QStringList{"Quirkpad", "Kate", "Geany"};
        QTest::newRow("byte-order mark, blanks around, blank lines")
            << QByteArray("\xEF\xBB\xBF  Quirkpad\t\n \t \n\nKate  \n") << QStringList{"Quirkpad", "Kate"};
        QTest::newRow("beyond ASCII") << QByteArray("Müller\nΑθήνα\n日本語\n") << QStringList{"Müller", "Αθήνα", "日本語"};
        QTest::newRow("not UTF-8: those lines alone")
            << QByteArray("M\xFCller\nKate\n\xC3\nGeany\n") << QStringList{"Kate", "Geany"};
        QTest::newRow("white space or control characters inside")
            << QByteArray("two words\na\xC2\xA0" "b\na\x01z\nnul\0x\nKate\n", 30) << QStringList{"Kate"};
        QTest::newRow("the longest word, and one longer")
            << longest + "\n" + longest + "b\nKate" << QStringList{QString(longest), "Kate"};
    }
    void readsTheWordsItCan()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, words);

        QTemporaryDir dir;
        const QString path = dir.filePath("dictionary.txt");
        write(path, file);
        QCOMPARE(PersonalDictionary::load(path).valueOr({"(failed)"}), words);
    }

    // The file after a word was added; what cannot be kept is said, and the
    // file stays as it was.
    void addsAWordAtTheEnd_data()
    {
        QTest::addColumn<QByteArray>("before");   // "(missing)": no file, no folder
        QTest::addColumn<QString>("word");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("failure");

        QTest::newRow("no file, no folder") << QByteArray("(missing)") << "Quirkpad" << QByteArray("Quirkpad\n") << "";
        QTest::newRow("no break at the end") << QByteArray("Kate") << "Αθήνα" << QByteArray("Kate\nΑθήνα\n") << "";
        QTest::newRow("CR LF file") << QByteArray("Kate\r\n") << "Quirkpad" << QByteArray("Kate\r\nQuirkpad\r\n")
                                    << "";
        QTest::newRow("damaged lines kept as they are")
            << QByteArray("M\xFCller\n\ntwo words\n") << "Quirkpad" << QByteArray("M\xFCller\n\ntwo words\nQuirkpad\n")
            << "";
        QTest::newRow("a word already there") << QByteArray("Kate\n  Quirkpad\n") << "Quirkpad"
                                              << QByteArray("Kate\n  Quirkpad\n") << "";
        QTest::newRow("not a word") << QByteArray("Kate\n") << "two words" << QByteArray("Kate\n")
                                    << "it is not a single word";
        QTest::newRow("a folder in the file's place") << QByteArray("(folder)") << "Quirkpad" << QByteArray("(folder)")
                                                      << "Is a directory";
    }
    void addsAWordAtTheEnd()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, word);
        QFETCH(QByteArray, after);
        QFETCH(QString, failure);

        QTemporaryDir dir;
        const QString path = dir.filePath("data/Quirkpad/dictionary.txt");
        if (before == "(folder)")
            QDir(dir.path()).mkpath("data/Quirkpad/dictionary.txt");
        else if (before != "(missing)" && QDir(dir.path()).mkpath("data/Quirkpad"))
            write(path, before);
        const Result<> added = PersonalDictionary::add(path, word);
        QCOMPARE(added.error(), failure.isEmpty() ? QString()
                                                  : "The word " + word + " could not be added to the personal "
                                                        "dictionary " + path + ": " + failure);
        QCOMPARE(QFileInfo(path).isDir() ? QByteArray("(folder)") : contents(path), after);
        if (QFileInfo(path).isFile())   // nothing left beside it
            QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"dictionary.txt"});
    }

    // Through Hunspell: a word added is right at once, and for the next
    // speller made from the file, whose damaged lines teach it nothing.
    void addedWordsPassTheNextSpeller_data()
    {
        QTest::addColumn<QString>("dictionary");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("right");
        QTest::addColumn<QStringList>("wrong");

        QTest::newRow("UTF-8, from a damaged file")
            << "en_US" << QByteArray("M\xFCller\nKate\ntwo words\n") << "quirkpad"
            << QStringList{"Kate", "quirkpad", "Quirkpad", "QUIRKPAD", "cat"} << QStringList{"Müller", "teh"};
        QTest::newRow("in the dictionary's character set")
            << "de_DE" << QByteArray() << "Quirkpäd" << QStringList{"Quirkpäd"} << QStringList{"Kase"};
    }
    void addedWordsPassTheNextSpeller()
    {
        QFETCH(QString, dictionary);
        QFETCH(QByteArray, file);
        QFETCH(QString, added);
        QFETCH(QStringList, right);
        QFETCH(QStringList, wrong);

        QTemporaryDir dir;
        const QString path = dir.filePath("dictionary.txt");
        write(path, file);
        {
            const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(testDictionaries(), dictionary, path);
            QVERIFY2(made.ok(), qPrintable(made.error()));
            Speller& first = **made;
            QVERIFY(!first.check(added));
            QVERIFY(first.addWord(added).ok());
            QVERIFY(first.check(added));
        }
        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(testDictionaries(), dictionary, path);
        QVERIFY2(made.ok(), qPrintable(made.error()));
        Speller& next = **made;
        for (const QString& w : right)
            QVERIFY2(next.check(w), qPrintable(w));
        for (const QString& w : wrong)
            QVERIFY2(!next.check(w), qPrintable(w));
    }

    // "Add to Dictionary" in a check: the word and every later word it makes
    // right pass without a question; a failure to keep it is told once.
    void addToDictionaryInACheck_data()
    {
        QTest::addColumn<bool>("keepable");
        QTest::addColumn<QByteArray>("file");

        QTest::newRow("kept") << true << QByteArray("Quirkpad\nwrld\n");
        QTest::newRow("not kept") << false << QByteArray("(missing)");
    }
    void addToDictionaryInACheck()
    {
        QFETCH(bool, keepable);
        QFETCH(QByteArray, file);

        QTemporaryDir dir;
        const QString path = dir.filePath(keepable ? "dictionary.txt" : "folder/dictionary.txt");
        if (!keepable)
            QDir(dir.path()).mkpath("folder/dictionary.txt");
        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(testDictionaries(), "en_US", path);
        QVERIFY2(made.ok(), qPrintable(made.error()));
        Speller& speller = **made;
        const QString text = "Quirkpad teh Quirkpad QUIRKPAD wrld Wrld wrld";
        MisspellingFinder finder(text, speller);
        while (finder.work(1000)) {
        }
        ScriptedSpellingDialog dialog({"add", "change:the", "add"});
        const SpellingSession::Outcome outcome = SpellingSession::run(text, finder.found(), speller, dialog);
        QCOMPARE(dialog.asked, (QStringList{"Quirkpad[]", "teh[the]", "wrld[world]"}));
        QCOMPARE(SpellingSession::corrected(text, outcome.corrections), "Quirkpad the Quirkpad QUIRKPAD wrld Wrld wrld");
        QCOMPARE(contents(path), keepable ? file : QByteArray("(missing)"));
        QCOMPARE(outcome.wordsKept.ok(), keepable);
        QCOMPARE(outcome.wordsKept.error(),
                 keepable ? QString()
                          : "The word Quirkpad could not be added to the personal dictionary " + path
                                + ": Is a directory");
    }
};

QP_REGISTER_TEST(PersonalDictionaryTest)
#include "PersonalDictionaryTest.moc"
