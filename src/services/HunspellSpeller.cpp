#include "services/HunspellSpeller.h"
#include "services/PersonalDictionary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <hunspell.hxx>
#include <iconv.h>

#include <cerrno>
#include <optional>
#include <string>

// Conversion between the editor's text and the dictionary's bytes. A word
// the dictionary's character set cannot hold has no spelling there.
class HunspellSpeller::Encoding {
public:
    enum class Kind { Utf8, Latin1, Iconv };

    explicit Encoding(const QByteArray& name)
    {
        const QByteArray upper = name.toUpper();
        if (upper.isEmpty() || upper == "UTF-8" || upper == "UTF8") {
            m_kind = Kind::Utf8;
        } else if (upper == "ISO8859-1" || upper == "ISO-8859-1") {
            m_kind = Kind::Latin1;
        } else {
            m_kind = Kind::Iconv;
            // Hunspell's names for two code pages differ from the C library's.
            QByteArray system = name;
            if (upper == "MICROSOFT-CP1251")
                system = "CP1251";
            else if (upper == "TIS620-2533")
                system = "TIS-620";
            m_toDictionary = iconv_open(system.constData(), "UTF-8");
            m_fromDictionary = iconv_open("UTF-8", system.constData());
        }
    }

    ~Encoding()
    {
        if (m_toDictionary != invalid())
            iconv_close(m_toDictionary);
        if (m_fromDictionary != invalid())
            iconv_close(m_fromDictionary);
    }

    Encoding(const Encoding&) = delete;
    Encoding& operator=(const Encoding&) = delete;

    bool usable() const
    {
        return m_kind != Kind::Iconv || (m_toDictionary != invalid() && m_fromDictionary != invalid());
    }

    std::optional<std::string> encode(const QString& text) const
    {
        switch (m_kind) {
        case Kind::Utf8:
            return text.toStdString();
        case Kind::Latin1:
            for (QChar c : text)
                if (c.unicode() > 0xFF)
                    return std::nullopt;
            return text.toLatin1().toStdString();
        case Kind::Iconv:
            break;
        }
        return convert(m_toDictionary, text.toUtf8());
    }

    QString decode(const std::string& bytes) const
    {
        switch (m_kind) {
        case Kind::Utf8:
            return QString::fromStdString(bytes);
        case Kind::Latin1:
            return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
        case Kind::Iconv:
            break;
        }
        const std::optional<std::string> utf8 = convert(m_fromDictionary, QByteArray::fromStdString(bytes));
        return utf8 ? QString::fromStdString(*utf8) : QString();
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    static std::optional<std::string> convert(iconv_t cd, const QByteArray& in)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string out(size_t(in.size()) * 4 + 8, '\0');
        char* inPtr = const_cast<char*>(in.constData());
        size_t inLeft = size_t(in.size());
        char* outPtr = out.data();
        size_t outLeft = out.size();
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)
            || iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1))
            return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

    Kind m_kind = Kind::Utf8;
    iconv_t m_toDictionary = invalid();
    iconv_t m_fromDictionary = invalid();
};

QString HunspellSpeller::systemFolder()
{
    return QStringLiteral("/usr/share/hunspell");
}

QString HunspellSpeller::userLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

QStringList HunspellSpeller::installedIn(const QString& folder)
{
    QStringList names;
    const QDir dir(folder);
    for (const QString& dic : dir.entryList({QStringLiteral("*.dic")}, QDir::Files | QDir::Readable, QDir::Name)) {
        const QString name = dic.chopped(4);
        if (QFileInfo(dir.filePath(name + QStringLiteral(".aff"))).isReadable())
            names << name;
    }
    return names;
}

QString HunspellSpeller::chooseDictionary(const QString& locale, const QStringList& installed)
{
    // "de_AT.UTF-8@euro": the language and country, without the character
    // set and the modifier.
    const QString name = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    QStringList candidates;
    if (!language.isEmpty() && language != QLatin1String("C") && language != QLatin1String("POSIX")) {
        candidates << name << language << language + QLatin1Char('_') + language.toUpper();
        QStringList sameLanguage;
        for (const QString& n : installed)
            if (n.startsWith(language + QLatin1Char('_')))
                sameLanguage << n;
        sameLanguage.sort();
        candidates << sameLanguage;
    }
    candidates << fallbackDictionary();
    for (const QString& c : candidates)
        if (installed.contains(c))
            return c;
    return QString();
}

Result<std::unique_ptr<Speller>> HunspellSpeller::forUserLocale()
{
    const QString folder = systemFolder();
    return open(folder, chooseDictionary(userLocale(), installedIn(folder)), PersonalDictionary::defaultPath());
}

namespace {

// "en_US" -> "English (United States)"; a name that is no locale stays as it is.
QString displayName(const QString& dictionary)
{
    const QStringList parts = dictionary.split(QLatin1Char('_'));
    const QLocale::Language language = QLocale::codeToLanguage(parts.value(0));
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return dictionary;
    QString text = QLocale::languageToString(language);
    const QLocale::Territory territory =
        parts.size() > 1 ? QLocale::codeToTerritory(parts.value(1)) : QLocale::AnyTerritory;
    if (territory != QLocale::AnyTerritory)
        text += QStringLiteral(" (") + QLocale::territoryToString(territory) + QLatin1Char(')');
    return text;
}

}

HunspellSpeller::HunspellSpeller(const QString& personalDictionary) : m_personalDictionary(personalDictionary) {}

Result<std::unique_ptr<Speller>> HunspellSpeller::open(const QString& folder, const QString& name,
                                                       const QString& personalDictionary)
{
    const QString base = QDir(folder).filePath(name);
    const QString aff = base + QStringLiteral(".aff");
    const QString dic = base + QStringLiteral(".dic");
    if (name.isEmpty() || !QFileInfo(aff).isReadable() || !QFileInfo(dic).isReadable())
        return Failure(QStringLiteral("No spelling dictionary was found in ") + QDir::toNativeSeparators(folder)
                       + QStringLiteral(". Install the Debian package hunspell-en-us."));
    std::unique_ptr<HunspellSpeller> speller(new HunspellSpeller(personalDictionary));
    speller->readAffixHeader(aff);
    if (!speller->m_encoding->usable())
        return Failure(QStringLiteral("The spelling dictionary ") + QDir::toNativeSeparators(dic)
                       + QStringLiteral(" is in a character set this system cannot convert."));
    speller->m_hunspell =
        std::make_unique<Hunspell>(QFile::encodeName(aff).constData(), QFile::encodeName(dic).constData());
    speller->m_displayName = displayName(name);
    // A personal dictionary that cannot be read adds nothing; adding a word
    // to it tells the user why.
    if (!personalDictionary.isEmpty())
        for (const QString& word : PersonalDictionary::load(personalDictionary).valueOr({}))
            speller->learn(word);
    return std::unique_ptr<Speller>(std::move(speller));
}

HunspellSpeller::~HunspellSpeller() = default;

void HunspellSpeller::readAffixHeader(const QString& affPath)
{
    // Only the character set and the letters to try matter here; both are
    // one-line settings near the top, in the dictionary's own encoding.
    QByteArray set;
    QByteArray tryLetters;
    QFile f(affPath);
    if (f.open(QIODevice::ReadOnly)) {
        while (!f.atEnd() && (set.isEmpty() || tryLetters.isEmpty())) {
            const QByteArray line = f.readLine().trimmed();
            if (line.startsWith("SET ") || line.startsWith("SET\t"))
                set = line.mid(4).trimmed();
            else if (line.startsWith("TRY ") || line.startsWith("TRY\t"))
                tryLetters = line.mid(4).trimmed();
        }
    }
    m_encoding = std::make_unique<Encoding>(set);
    if (!m_encoding->usable())
        return;
    for (char32_t c : m_encoding->decode(tryLetters.toStdString()).toUcs4())
        if (QChar::isLetter(c))
            m_scripts.insert(int(QChar::script(c)));
}

bool HunspellSpeller::handles(const QString& word) const
{
    if (!m_encoding->encode(word))
        return false;
    if (m_scripts.isEmpty())
        return true;
    for (char32_t c : word.toUcs4())
        if (QChar::isLetter(c) && m_scripts.contains(int(QChar::script(c))))
            return true;
    return false;
}

bool HunspellSpeller::check(const QString& word)
{
    const std::optional<std::string> bytes = m_encoding->encode(word);
    return bytes && m_hunspell->spell(*bytes);
}

QStringList HunspellSpeller::suggest(const QString& word)
{
    QStringList out;
    const std::optional<std::string> bytes = m_encoding->encode(word);
    if (!bytes)
        return out;
    for (const std::string& s : m_hunspell->suggest(*bytes))
        out << m_encoding->decode(s);
    return out;
}

void HunspellSpeller::learn(const QString& word)
{
    // A word the dictionary's character set cannot hold is never judged
    // (see handles()), so it needs no place in it.
    if (const std::optional<std::string> bytes = m_encoding->encode(word))
        m_hunspell->add(*bytes);
}

Result<> HunspellSpeller::addWord(const QString& word)
{
    learn(word);
    if (m_personalDictionary.isEmpty())
        return Result<>();
    return PersonalDictionary::add(m_personalDictionary, word);
}
