#pragma once
#include <QByteArrayView>
#include <QString>

// Which line breaks a text uses, as the status bar names them.
namespace LineBreaks {

enum class Style { None, CrLf, Lf, Cr, Mixed };

struct Counts {
    qsizetype crLf = 0;
    qsizetype lf = 0;   // alone
    qsizetype cr = 0;   // alone
    friend bool operator==(const Counts&, const Counts&) = default;
};

// Counts every line break of the UTF-8 text (a CR and the LF after it are
// one CR LF), sixteen bytes at a time: a few milliseconds for a 20 MB page
// (bench_tidy).
Counts count(QByteArrayView utf8);

// Mixed as soon as two kinds occur; the scan of a text stops there.
Style styleOf(const Counts& counts);
Style detect(QByteArrayView utf8);

// "CR LF", "LF", "CR", "Mixed", and "" for a text without line breaks.
QString name(Style style);

}
