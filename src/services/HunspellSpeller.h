#pragma once
#include "services/Speller.h"

#include <QSet>
#include <QStringList>
#include <memory>

class Hunspell;

// A Speller over a Hunspell dictionary (name.aff and name.dic in a folder).
// Words travel to the dictionary in its own encoding: Debian's English
// dictionaries are UTF-8, others may be ISO 8859-x or KOI8-R.
class HunspellSpeller : public Speller {
public:
    // The folder Debian installs its dictionaries in, and the one the user
    // is told to fill when there is none.
    static QString systemFolder();
    static QString fallbackDictionary() { return QStringLiteral("en_US"); }

    // The dictionary of the user's locale from the system folder, or
    // English (United States) when the locale names none that is installed,
    // with the words of the user's personal dictionary.
    static Result<std::unique_ptr<Speller>> forUserLocale();

    // The locale that decides the messages' language: LC_ALL, LC_MESSAGES,
    // then LANG, the first that is set and not empty.
    static QString userLocale();

    // The dictionary a locale such as "de_AT.UTF-8@euro" names among the
    // installed ones (names without .dic): the exact language and country,
    // the language alone, another country of the language, then en_US.
    // "" when none of them is installed.
    static QString chooseDictionary(const QString& locale, const QStringList& installed);

    // The dictionaries in a folder: names with both a .dic and an .aff file.
    static QStringList installedIn(const QString& folder);

    // Loads folder/name.aff and folder/name.dic. Fails, saying why and what
    // to install, for an empty name, missing files, or a dictionary in a
    // character set this system cannot convert. The words of the personal
    // dictionary file (see PersonalDictionary; "" for none) are spelt right,
    // and added words are kept there.
    static Result<std::unique_ptr<Speller>> open(const QString& folder, const QString& name,
                                                 const QString& personalDictionary = QString());
    ~HunspellSpeller() override;

    QString dictionaryName() const override { return m_displayName; }
    bool handles(const QString& word) const override;
    bool check(const QString& word) override;
    QStringList suggest(const QString& word) override;
    Result<> addWord(const QString& word) override;

private:
    explicit HunspellSpeller(const QString& personalDictionary);
    void learn(const QString& word);

    class Encoding;
    void readAffixHeader(const QString& affPath);

    std::unique_ptr<Hunspell> m_hunspell;
    std::unique_ptr<Encoding> m_encoding;
    QString m_displayName;
    QString m_personalDictionary;
    // The writing systems of the letters the dictionary suggests with.
    QSet<int> m_scripts;
};
