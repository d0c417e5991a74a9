#include "ScriptedSpellingDialog.h"
#include "TestDictionaries.h"
#include "TestRegistry.h"
#include "doctools/MisspellingFinder.h"
#include "doctools/SpellingSession.h"
#include "platform/HunspellSpeller.h"
#include "platform/PersonalDictionary.h"

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
    void livesInTheUsersDataFolder()
    {
        // The tests' main() points XDG_DATA_HOME into their sandbox.
        QCOMPARE(PersonalDictionary::defaultPath(), qEnvironmentVariable("XDG_DATA_HOME") + "/Quirkpad/dictionary.txt");
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "relative/folder");
        const QString fallback = PersonalDictionary::defaultPath();
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(fallback, QDir::homePath() + "/.local/share/Quirkpad/dictionary.txt");
    }

    void readsTheWordsItCan_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("words");

        const QByteArray longest(PersonalDictionary::kLongestWord, 'a');
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("LF") << QByteArray("Quirkpad\nKate\n") << QStringList{"Quirkpad", "Kate"};
        QTest::newRow("CR LF, no break at the end") << QByteArray("Quirkpad\r\nKate") << QStringList{"Quirkpad", "Kate"};
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFQuirkpad\n") << QStringList{"Quirkpad"};
        QTest::newRow("blanks around, blank lines") << QByteArray("\n  Quirkpad\t\n \t \n\nKate  \n")
                                                    << QStringList{"Quirkpad", "Kate"};
        QTest::newRow("beyond ASCII") << QByteArray("Müller\nΑθήνα\n日本語\n") << QStringList{"Müller", "Αθήνα", "日本語"};
        QTest::newRow("not UTF-8: that line alone")
            << QByteArray("M\xFCller\nKate\n\xC3\nGeany\n") << QStringList{"Kate", "Geany"};
        QTest::newRow("blanks inside: not a word") << QByteArray("two words\nKate\n") << QStringList{"Kate"};
        QTest::newRow("other white space inside") << QByteArray("a\xC2\xA0" "b\nKate\n") << QStringList{"Kate"};
        QTest::newRow("control characters") << QByteArray("a\x01z\nnul\0x\nKate\n", 18) << QStringList{"Kate"};
        QTest::newRow("the longest word, and one longer")
            << longest + "\n" + longest + "b\nKate" << QStringList{QString(longest), "Kate"};
        QTest::newRow("each word once") << QByteArray("Kate\nGeany\nKate\n") << QStringList{"Kate", "Geany"};
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

    void addsAWordAtTheEnd_data()
    {
        QTest::addColumn<QByteArray>("before");   // "(missing)": no file
        QTest::addColumn<QString>("word");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("no file, no folder") << QByteArray("(missing)") << "Quirkpad" << QByteArray("Quirkpad\n");
        QTest::newRow("empty file") << QByteArray() << "Quirkpad" << QByteArray("Quirkpad\n");
        QTest::newRow("after the others") << QByteArray("Kate\n") << "Quirkpad" << QByteArray("Kate\nQuirkpad\n");
        QTest::newRow("no break at the end") << QByteArray("Kate") << "Quirkpad" << QByteArray("Kate\nQuirkpad\n");
        QTest::newRow("CR LF file") << QByteArray("Kate\r\n") << "Quirkpad" << QByteArray("Kate\r\nQuirkpad\r\n");
        QTest::newRow("damaged lines kept as they are")
            << QByteArray("M\xFCller\n\ntwo words\n  Kate \n") << "Quirkpad"
            << QByteArray("M\xFCller\n\ntwo words\n  Kate \nQuirkpad\n");
        QTest::newRow("a word already there") << QByteArray("Kate\n  Quirkpad\n") << "Quirkpad"
                                              << QByteArray("Kate\n  Quirkpad\n");
        QTest::newRow("beyond ASCII") << QByteArray("Kate\n") << "Αθήνα" << QByteArray("Kate\nΑθήνα\n");
    }
    void addsAWordAtTheEnd()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, word);
        QFETCH(QByteArray, after);

        QTemporaryDir dir;
        const QString path = dir.filePath("data/Quirkpad/dictionary.txt");
        if (before != "(missing)") {
            QDir(dir.path()).mkpath("data/Quirkpad");
            write(path, before);
        }
        const Result<> added = PersonalDictionary::add(path, word);
        QVERIFY2(added.ok(), qPrintable(added.error()));
        QCOMPARE(contents(path), after);
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"dictionary.txt"});
    }

    // What cannot be kept is said, and the file stays as it was.
    void failsWithTheReason_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("obstacle");   // what stands at the file's place
        QTest::addColumn<QString>("reason");

        QTest::newRow("not a word") << "two words" << "" << "it is not a single word";
        QTest::newRow("a folder where the file should be") << "Quirkpad" << "folder" << "Is a directory";
        QTest::newRow("a file where the folder should be") << "Quirkpad" << "file" << "Not a directory";
    }
    void failsWithTheReason()
    {
        QFETCH(QString, word);
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);

        QTemporaryDir dir;
        QString path = dir.filePath("Quirkpad/dictionary.txt");
        QDir(dir.path()).mkpath("Quirkpad");
        write(path, "Kate\n");
        if (obstacle == "folder") {
            path = dir.filePath("Quirkpad/words");
            QDir(dir.path()).mkpath("Quirkpad/words");
        } else if (obstacle == "file") {
            path = dir.filePath("Quirkpad/dictionary.txt/dictionary.txt");
        }
        const Result<> added = PersonalDictionary::add(path, word);
        QVERIFY(!added.ok());
        QVERIFY2(added.error().startsWith("The word " + word + " could not be added to the personal dictionary "
                                          + path + ": "),
                 qPrintable(added.error()));
        QVERIFY2(added.error().contains(reason), qPrintable(added.error()));
        QCOMPARE(contents(dir.filePath("Quirkpad/dictionary.txt")), QByteArray("Kate\n"));
    }

    // Through Hunspell: a word added is right at once, and for the next
    // speller made from the file; the dictionary's own words are untouched.
    void addedWordsPassTheNextSpeller_data()
    {
        QTest::addColumn<QString>("dictionary");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("right");
        QTest::addColumn<QStringList>("wrong");

        QTest::newRow("added and capitalised")
            << "en_US" << QByteArray() << QStringList{"quirkpad"} << QStringList{"quirkpad", "Quirkpad", "QUIRKPAD", "cat"}
            << QStringList{"teh"};
        QTest::newRow("a capitalised word stays capitalised")
            << "en_US" << QByteArray() << QStringList{"Quirkpad"} << QStringList{"Quirkpad", "QUIRKPAD"}
            << QStringList{"quirkpad"};
        QTest::newRow("from a damaged file")
            << "en_US" << QByteArray("M\xFCller\nKate\ntwo words\n") << QStringList{"Geany"}
            << QStringList{"Kate", "Geany"} << QStringList{"Müller"};
        QTest::newRow("in the dictionary's character set") << "de_DE" << QByteArray() << QStringList{"Quirkpäd"}
                                                           << QStringList{"Quirkpäd"} << QStringList{"Kase"};
    }
    void addedWordsPassTheNextSpeller()
    {
        QFETCH(QString, dictionary);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, added);
        QFETCH(QStringList, right);
        QFETCH(QStringList, wrong);

        QTemporaryDir dir;
        const QString path = dir.filePath("dictionary.txt");
        write(path, file);
        {
            HunspellSpeller first(testDictionaries(), dictionary, path);
            for (const QString& w : added) {
                QVERIFY(!first.check(w));
                QVERIFY(first.addWord(w).ok());
                QVERIFY(first.check(w));
            }
        }
        HunspellSpeller next(testDictionaries(), dictionary, path);
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
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QByteArray>("file");

        QTest::newRow("kept") << true << QStringList{"Quirkpad[]", "teh[the]", "wrld[world]"}
                              << QByteArray("Quirkpad\nwrld\n");
        QTest::newRow("not kept") << false << QStringList{"Quirkpad[]", "teh[the]", "wrld[world]"} << QByteArray();
    }
    void addToDictionaryInACheck()
    {
        QFETCH(bool, keepable);
        QFETCH(QStringList, asked);
        QFETCH(QByteArray, file);

        QTemporaryDir dir;
        const QString path = dir.filePath(keepable ? "dictionary.txt" : "folder");
        if (!keepable)
            QDir(dir.path()).mkpath("folder");
        HunspellSpeller speller(testDictionaries(), "en_US", path);
        const QString text = "Quirkpad teh Quirkpad QUIRKPAD wrld Wrld wrld";
        MisspellingFinder finder(text, speller);
        while (finder.work(1000)) {
        }
        ScriptedSpellingDialog dialog({"add", "change:the", "add"});
        const SpellingSession::Outcome outcome = SpellingSession::run(text, finder.found(), speller, dialog);
        QCOMPARE(dialog.asked, asked);
        QCOMPARE(SpellingSession::corrected(text, outcome.corrections),
                 "Quirkpad the Quirkpad QUIRKPAD wrld Wrld wrld");
        QVERIFY(!outcome.cancelled);
        if (keepable) {
            QCOMPARE(outcome.dictionaryFailure, QString());
            QCOMPARE(contents(path), file);
        } else {
            QCOMPARE(outcome.dictionaryFailure,
                     "The word Quirkpad could not be added to the personal dictionary " + path + ": Is a directory");
        }
    }
};

QP_REGISTER_TEST(PersonalDictionaryTest)
#include "PersonalDictionaryTest.moc"
