#include "DocToolsSupport.h"
#include "Contrast.h"

#include <QPrinter>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstring>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

Result<> PdfPrinterService::setUpJob(QPrinter& printer)
{
    ++m_jobs;
    if (failAt > 0 && m_jobs >= failAt)
        return Failure(failure);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(m_folder).filePath(QStringLiteral("job-%1.pdf").arg(m_jobs, 3, 10, QLatin1Char('0'))));
    return {};
}

QStringList PdfPrinterService::files() const
{
    QStringList found;
    for (const QString& name : QDir(m_folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
        found << QDir(m_folder).filePath(name);
    return found;
}

QString PdfPage::text() const
{
    QStringList all;
    for (const PdfWord& w : words)
        all << w.text;
    return all.join(QLatin1Char(' '));
}

QList<PdfPage> readPdf(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QList<PdfPage> pages;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        auto number = [&a](const char* name) { return a.value(QLatin1String(name)).toDouble(); };
        if (xml.name() == QLatin1String("page")) {
            pages.append({number("width"), number("height"), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.isEmpty()) {
            const QRectF box(QPointF(number("xMin"), number("yMin")), QPointF(number("xMax"), number("yMax")));
            pages.last().words.append({box, xml.readElementText()});
        }
    }
    return pages;
}

QString printedLookProblem(const QString& pdf)
{
    QTemporaryDir out;
    QProcess p;
    // Without smoothing every pixel is paper or ink, none a blend of both.
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-aa"),
                                         QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                         QStringLiteral("-png"), pdf, out.filePath(QStringLiteral("page"))});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("pdftoppm could not read ") + pdf;
    const QStringList pages = QDir(out.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    qint64 ink = 0;
    for (qsizetype n = 0; n < pages.size(); ++n) {
        const QImage page = QImage(out.filePath(pages[n])).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y) | 0xFF000000;
                if (c == 0xFFFFFFFF)
                    continue;
                if (contrastRatio(c, 0xFFFFFFFF) < 3)
                    return QStringLiteral("page %1: a pale mark %2 at (%3, %4)")
                        .arg(QString::number(n + 1), QColor(c).name(), QString::number(x), QString::number(y));
                ++ink;
            }
        }
    }
    return ink > 0 ? QString() : QStringLiteral("nothing printed");
}

QString longDocument(QStringList* words)
{
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("Line %1 of the page").arg(i, 3, 10, QLatin1Char('0'));
    QStringList wide;
    for (int i = 1; i <= 60; ++i)
        wide << QStringLiteral("wide%1").arg(i);
    lines.insert(40, wide.join(QLatin1Char(' ')));
    words->clear();
    for (const QString& l : lines)
        *words << l.split(QLatin1Char(' '));
    return lines.join(QStringLiteral("\r\n"));
}

QString pagesProblem(const QList<PdfPage>& pages, const QStringList& words, double margin)
{
    if (pages.isEmpty())
        return QStringLiteral("no pages");
    QStringList printed;
    double widest = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const PdfPage& page = pages[p];
        printed << page.text();
        if (page.words.isEmpty())
            continue;
        QRectF used = page.words.first().box;
        for (const PdfWord& w : page.words)
            used |= w.box;
        widest = std::max(widest, used.right());
        const QString where = QStringLiteral("page %1 of %2 (%3 x %4): text in %5, %6 to %7, %8: ")
                                  .arg(p + 1).arg(pages.size()).arg(page.width).arg(page.height)
                                  .arg(used.left()).arg(used.top()).arg(used.right()).arg(used.bottom());
        if (qAbs(used.left() - margin) > 1.5)
            return where + QStringLiteral("lines do not start at the left margin");
        // A word's height is its font's ascent and descent, which a PDF
        // converter on the way (the spooler's) may state a little larger.
        const double slack = 3;
        if (used.top() < margin - slack || used.top() > margin + 12)
            return where + QStringLiteral("the first line is not at the top margin");
        if (used.right() > page.width - margin + 1.5 || used.bottom() > page.height - margin + slack)
            return where + QStringLiteral("text crosses the right or bottom margin");
        if (p + 1 < pages.size() && used.bottom() < page.height - margin - 30)
            return where + QStringLiteral("the page ends well above the bottom margin");
    }
    const QStringList got = printed.join(QLatin1Char(' ')).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (got != words)
        return QStringLiteral("printed words differ: ") + got.join(QLatin1Char(' ')).left(300);
    // A line wider than the paper wraps close to the right margin.
    if (words.contains(QLatin1String("wide60")) && widest < pages.first().width - margin - 60)
        return QStringLiteral("the wide line did not reach the right margin: %1").arg(widest);
    return QString();
}

namespace {

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool setEffective(bool withOverrides)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2];
    std::memset(data, 0, sizeof data);
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (withOverrides)
        data[0].effective |= data[0].permitted & kOverrides;
    else
        data[0].effective &= ~kOverrides;
    return syscall(SYS_capset, &header, data) == 0;
}

}

PermissionsHold::PermissionsHold() : m_dropped(geteuid() == 0 && setEffective(false)) {}

PermissionsHold::~PermissionsHold()
{
    if (m_dropped)
        setEffective(true);
}
