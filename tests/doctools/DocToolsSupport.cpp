#include "DocToolsSupport.h"

#include <Qsci/qsciprinter.h>
#include <QDir>
#include <QProcess>
#include <QXmlStreamReader>

#include <cstring>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

std::unique_ptr<QsciPrinter> PdfPrinterService::newJob(QString* error)
{
    ++m_jobs;
    if (failAt > 0 && m_jobs >= failAt) {
        *error = failure;
        return nullptr;
    }
    auto printer = std::make_unique<QsciPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QDir(m_folder).filePath(QStringLiteral("job-%1.pdf").arg(m_jobs, 3, 10, QLatin1Char('0'))));
    return printer;
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
