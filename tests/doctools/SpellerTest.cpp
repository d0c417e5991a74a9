#include "TestDictionaries.h"
#include "TestRegistry.h"
#include "services/HunspellSpeller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The Hunspell speller over the small dictionaries beside this test: one in
// UTF-8, one in ISO 8859-1 and one in KOI8-R.
class SpellerTest : public QObject {
    Q_OBJECT

    static QString dictionaries() { return testDictionaries(); }

private slots:
    void choosesTheDictionaryOfTheLocale_data()
    {
        QTest::addColumn<QString>("lcAll");
        QTest::addColumn<QString>("lcMessages");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("chosen");

        const QStringList german{"de_AT", "de_DE", "en_US"};
        QTest::newRow("LANG") << "" << "" << "de_DE.UTF-8" << german << "de_DE";
        QTest::newRow("LC_MESSAGES before LANG") << "" << "de_AT.UTF-8" << "en_US.UTF-8" << german << "de_AT";
        QTest::newRow("LC_ALL before both") << "de_DE" << "en_US" << "en_US" << german << "de_DE";
        QTest::newRow("character set and modifier") << "" << "" << "de_AT.ISO-8859-15@euro" << german << "de_AT";
        QTest::newRow("language alone") << "" << "" << "de_CH.UTF-8" << QStringList{"de", "de_DE", "en_US"}
                                        << "de";
        QTest::newRow("the language's home country") << "" << "" << "de_LU" << german << "de_DE";
        QTest::newRow("another country of the language")
            << "" << "" << "fr_CA.UTF-8" << QStringList{"fr_CH", "fr_BE", "en_US"} << "fr_BE";
        QTest::newRow("not a longer language code") << "" << "" << "de_DE" << QStringList{"dsb_DE", "en_US"}
                                                    << "en_US";
        QTest::newRow("language not installed") << "" << "" << "ja_JP.UTF-8" << german << "en_US";
        QTest::newRow("C locale") << "" << "" << "C.UTF-8" << german << "en_US";
        QTest::newRow("POSIX locale") << "POSIX" << "" << "" << german << "en_US";
        QTest::newRow("no locale set") << "" << "" << "" << german << "en_US";
        QTest::newRow("nothing installed") << "" << "" << "en_US.UTF-8" << QStringList{} << "";
        QTest::newRow("only other languages") << "" << "" << "en_GB.UTF-8" << QStringList{"de_DE"} << "";
    }
    void choosesTheDictionaryOfTheLocale()
    {
        QFETCH(QString, lcAll);
        QFETCH(QString, lcMessages);
        QFETCH(QString, lang);
        QFETCH(QStringList, installed);
        QFETCH(QString, chosen);

        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
        qputenv("LC_ALL", lcAll.toUtf8());
        qputenv("LC_MESSAGES", lcMessages.toUtf8());
        qputenv("LANG", lang.toUtf8());
        const QString result = HunspellSpeller::chooseDictionary(HunspellSpeller::userLocale(), installed);
        qputenv("LC_ALL", saved[0]);
        qputenv("LC_MESSAGES", saved[1]);
        qputenv("LANG", saved[2]);
        QCOMPARE(result, chosen);
    }

    void findsInstalledDictionaries()
    {
        QTemporaryDir dir;
        for (const char* name : {"en_US.aff", "en_US.dic", "de_DE.dic", "fr_FR.aff", "notes.txt"})
            QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
        QCOMPARE(HunspellSpeller::installedIn(dir.path()), QStringList{"en_US"});
        QCOMPARE(HunspellSpeller::installedIn(dictionaries()), (QStringList{"de_DE", "en_US", "ru_RU"}));
    }

    // Words go to the dictionary in its character set and come back from it
    // as the same letters.
    void spellsInTheDictionarysEncoding_data()
    {
        QTest::addColumn<QString>("dictionary");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<QStringList>("suggestions");

        QTest::newRow("UTF-8 right") << "en_US" << "café" << true << QStringList{"café"};
        QTest::newRow("UTF-8 wrong") << "en_US" << "naive" << false << QStringList{"naïve"};
        QTest::newRow("UTF-8 typographic apostrophe") << "en_US" << "don’t" << true << QStringList{"don't"};
        QTest::newRow("UTF-8 several, in order") << "en_US" << "cxt" << false
                                                 << QStringList{"cat", "cot", "cut", "text"};
        QTest::newRow("ISO 8859-1 right") << "de_DE" << "Straße" << true << QStringList{"Straße"};
        QTest::newRow("ISO 8859-1 wrong") << "de_DE" << "Kase" << false << QStringList{"Käse"};
        QTest::newRow("ISO 8859-1 cannot hold the word") << "de_DE" << "żółw" << false << QStringList{};
        QTest::newRow("KOI8-R right") << "ru_RU" << "привет" << true << QStringList{"привет"};
        QTest::newRow("KOI8-R wrong") << "ru_RU" << "привт" << false << QStringList{"привет"};
        QTest::newRow("KOI8-R cannot hold the word") << "ru_RU" << "日本" << false << QStringList{};
    }
    void spellsInTheDictionarysEncoding()
    {
        QFETCH(QString, dictionary);
        QFETCH(QString, word);
        QFETCH(bool, correct);
        QFETCH(QStringList, suggestions);

        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(dictionaries(), dictionary);
        QVERIFY2(made.ok(), qPrintable(made.error()));
        Speller& speller = **made;
        QCOMPARE(speller.check(word), correct);
        QCOMPARE(speller.suggest(word), suggestions);
    }

    // The name people see, and which words the dictionary may judge at all.
    void describesItsLanguage_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("handled");
        QTest::addColumn<QStringList>("notHandled");

        QTest::newRow("English") << "en_US" << "en_US" << "English (United States)"
                                 << QStringList{"hello", "naïve", "pаypal" /* a Cyrillic а inside */}
                                 << QStringList{"привет", "日本語", "1234", ""};
        QTest::newRow("German") << "de_DE" << "de_DE" << "German (Germany)" << QStringList{"Käse"}
                                << QStringList{"żółw", "привет"};
        QTest::newRow("Russian") << "ru_RU" << "ru_RU" << "Russian (Russia)" << QStringList{"привет"}
                                 << QStringList{"hello"};
        QTest::newRow("language alone") << "en_US" << "en" << "English" << QStringList{"hello"} << QStringList{};
        QTest::newRow("no locale name") << "en_US" << "medical" << "medical" << QStringList{"hello"}
                                        << QStringList{};
    }
    void describesItsLanguage()
    {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QFETCH(QStringList, handled);
        QFETCH(QStringList, notHandled);

        QTemporaryDir dir;
        for (const char* ext : {".aff", ".dic"})
            QVERIFY(QFile::copy(dictionaries() + "/" + source + ext, dir.filePath(name + ext)));
        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(dir.path(), name);
        QVERIFY2(made.ok(), qPrintable(made.error()));
        Speller& speller = **made;
        QCOMPARE(speller.dictionaryName(), shown);
        for (const QString& w : handled)
            QVERIFY2(speller.handles(w), qPrintable(w));
        for (const QString& w : notHandled)
            QVERIFY2(!speller.handles(w), qPrintable(w));
    }

    void withoutADictionaryNamesTheFolderAndPackage_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("name");

        QTest::newRow("empty folder") << QStringList{} << "en_US";
        QTest::newRow("affix file alone") << QStringList{"en_US.aff"} << "en_US";
        QTest::newRow("word list alone") << QStringList{"en_US.dic"} << "en_US";
        QTest::newRow("no dictionary chosen") << QStringList{"en_US.aff", "en_US.dic"} << "";
    }
    void withoutADictionaryNamesTheFolderAndPackage()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, name);

        QTemporaryDir dir;
        for (const QString& f : files)
            QVERIFY(QFile::copy(dictionaries() + "/" + f, dir.filePath(f)));
        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(dir.path(), name);
        QVERIFY(!made.ok());
        QCOMPARE(made.error(), "No spelling dictionary was found in " + dir.path()
                                   + ". Install the Debian package hunspell-en-us.");
    }

    void aCharacterSetItCannotConvert()
    {
        QTemporaryDir dir;
        QFile aff(dir.filePath("xx_XX.aff"));
        QVERIFY(aff.open(QIODevice::WriteOnly));
        aff.write("SET NO-SUCH-CHARSET\nTRY abc\n");
        aff.close();
        QVERIFY(QFile::copy(dictionaries() + "/en_US.dic", dir.filePath("xx_XX.dic")));
        const Result<std::unique_ptr<Speller>> made = HunspellSpeller::open(dir.path(), "xx_XX");
        QVERIFY(!made.ok());
        QCOMPARE(made.error(), "The spelling dictionary " + dir.filePath("xx_XX.dic")
                                   + " is in a character set this system cannot convert.");
    }
};

QP_REGISTER_TEST(SpellerTest)
#include "SpellerTest.moc"
