#pragma once
#include "files/TextFile.h"

#include <QByteArrayView>
#include <QString>

// The decoding behind TextFile::read: bytes from a source go through
// fixed-size buffers into a sink as UTF-8, in as few passes as the encoding
// allows, and every pass must find the file as the one before it did.
namespace TextReader {

// The bytes of a file, or of memory, read from the start as often as needed.
class Source {
public:
    virtual ~Source() = default;
    // Up to n bytes, fewer only at the end.
    virtual Result<qsizetype> read(char* into, qsizetype n) = 0;
    virtual Result<> rewind() = 0;
};

// An open file, read with ordinary reads: a file another program truncates
// while it is read shortens a read, where a memory map would kill the
// reader with SIGBUS.
class FileSource : public Source {
public:
    explicit FileSource(int fd) : m_fd(fd) {}
    Result<qsizetype> read(char* into, qsizetype n) override;
    Result<> rewind() override;

private:
    int m_fd;
};

class MemorySource : public Source {
public:
    explicit MemorySource(QByteArrayView bytes) : m_bytes(bytes) {}
    Result<qsizetype> read(char* into, qsizetype n) override;
    Result<> rewind() override;

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// Decodes the `size` bytes of the source (as TextFile::read describes).
Result<TextFile::ReadInfo> decode(Source& source, qint64 size, const TextFile::Utf8Sink& sink,
                                  const TextFile::LengthHint& hint, qint64 maxLength);

}
