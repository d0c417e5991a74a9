#include "services/PersonalDictionary.h"
#include "files/PosixFile.h"
#include "files/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

namespace PersonalDictionary {
namespace {

std::optional<QString> decodedLine(QByteArrayView line)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

QString trimmedBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && (s[from] == QLatin1Char(' ') || s[from] == QLatin1Char('\t')))
        ++from;
    while (to > from && (s[to - 1] == QLatin1Char(' ') || s[to - 1] == QLatin1Char('\t')))
        --to;
    return s.mid(from, to - from);
}

// The whole file, or why it could not be read; a missing file is empty.
Result<QByteArray> readFile(const QString& path)
{
    PosixFile::Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return QByteArray();
        return Failure(PosixFile::describe(errno));
    }
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const qsizetype n = PosixFile::readUpTo(fd.get(), buffer, qsizetype(sizeof buffer));
        if (n < 0)
            return Failure(PosixFile::describe(errno));
        bytes.append(buffer, n);
        if (n < qsizetype(sizeof buffer))
            return bytes;
    }
}

}

QString defaultPath()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Quirkpad/dictionary.txt");
}

bool isWord(QStringView text)
{
    if (text.isEmpty())
        return false;
    qsizetype characters = 0;
    for (char32_t c : text.toUcs4()) {
        if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control
            || QChar::category(c) == QChar::Other_Format || QChar::category(c) == QChar::Other_Surrogate)
            return false;
        if (++characters > kLongestWord)
            return false;
    }
    return true;
}

QStringList wordsOf(const QByteArray& fileBytes)
{
    QByteArrayView bytes(fileBytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList words;
    QSet<QString> seen;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(from, end - from);
        from = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        const std::optional<QString> text = decodedLine(line);
        if (!text)
            continue;
        const QString word = trimmedBlanks(*text);
        if (isWord(word) && !seen.contains(word)) {
            seen.insert(word);
            words << word;
        }
    }
    return words;
}

Result<QStringList> load(const QString& path)
{
    const Result<QByteArray> bytes = readFile(path);
    if (!bytes)
        return Failure(QStringLiteral("The personal dictionary ") + QDir::toNativeSeparators(path)
                       + QStringLiteral(" could not be read: ") + bytes.error());
    return wordsOf(*bytes);
}

Result<> add(const QString& path, const QString& word)
{
    const auto failed = [&](const QString& why) {
        return Failure(QStringLiteral("The word ") + word + QStringLiteral(" could not be added to the personal dictionary ")
                       + QDir::toNativeSeparators(path) + QStringLiteral(": ") + why);
    };
    if (!isWord(word))
        return failed(QStringLiteral("it is not a single word"));
    const Result<QByteArray> old = readFile(path);
    if (!old)
        return failed(old.error());
    if (wordsOf(*old).contains(word))
        return Result<>();

    QByteArray content = *old;
    const QByteArray lineBreak = content.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    if (!content.isEmpty() && !content.endsWith('\n'))
        content += lineBreak;
    content += word.toUtf8() + lineBreak;

    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("the folder ") + QDir::toNativeSeparators(folder)
                      + QStringLiteral(" could not be made"));
    const Result<> written = SafeWrite::replace(
        QFile::encodeName(path), [&](const SafeWrite::Put& put) { return put(content.constData(), content.size()); });
    if (!written)
        return failed(written.error());
    return Result<>();
}

}
