#include "shell/frmFileProperties.h"
#include "widgets/Controls.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString permissionText(QFileDevice::Permissions p)
{
    QString s;
    const QFileDevice::Permission bits[] = {QFileDevice::ReadOwner, QFileDevice::WriteOwner, QFileDevice::ExeOwner,
                                            QFileDevice::ReadGroup, QFileDevice::WriteGroup, QFileDevice::ExeGroup,
                                            QFileDevice::ReadOther, QFileDevice::WriteOther, QFileDevice::ExeOther};
    const char letters[] = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i)
        s += (p & bits[i]) ? QLatin1Char(letters[i]) : QLatin1Char('-');
    int octal = 0;
    for (int i = 0; i < 9; ++i)
        if (p & bits[i])
            octal |= 1 << (8 - i);
    return s + QStringLiteral(" (%1)").arg(octal, 3, 8, QLatin1Char('0'));
}

QString timeText(const QDateTime& t)
{
    if (!t.isValid())
        return QStringLiteral("unknown");
    return QLocale::system().toString(t, QLocale::LongFormat);
}

}

QList<frmFileProperties::Row> frmFileProperties::describe(const QString& path)
{
    QList<Row> rows;
    const QFileInfo info(path);
    const QLocale locale = QLocale::system();
    rows.append({QStringLiteral("Name:"), info.fileName()});
    rows.append({QStringLiteral("Folder:"), info.absolutePath()});
    if (!info.exists()) {
        rows.append({QStringLiteral("Status:"), QStringLiteral("The file no longer exists.")});
        return rows;
    }
    const qint64 size = info.size();
    const QString bytes = size == 1 ? QStringLiteral("1 byte") : locale.toString(size) + QStringLiteral(" bytes");
    rows.append({QStringLiteral("Size:"), size < 1024 ? bytes
                                                      : QStringLiteral("%1 (%2)").arg(locale.formattedDataSize(size), bytes)});
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    rows.append({QStringLiteral("Type:"), mime.comment().isEmpty() ? mime.name()
                                                                     : mime.comment() + QStringLiteral(" (") +
                                                                           mime.name() + QLatin1Char(')')});
    rows.append({QStringLiteral("Modified:"), timeText(info.lastModified())});
    rows.append({QStringLiteral("Accessed:"), timeText(info.lastRead())});
    rows.append({QStringLiteral("Permissions:"), permissionText(info.permissions())});
    rows.append({QStringLiteral("Owner:"), info.owner() + QLatin1Char(':') + info.group()});
    if (info.isSymLink())
        rows.append({QStringLiteral("Link to:"), info.symLinkTarget()});
    return rows;
}

frmFileProperties::frmFileProperties(const QString& path, QWidget* owner) : QWidget(owner, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmFileProperties"));
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral(" - Properties"));
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    for (const Row& r : describe(path)) {
        // A file may be called "<b>.html": its name is shown as written.
        QLabel* value = Controls::label({}, r.value, this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(true);
        value->setMinimumWidth(300);
        form->addRow(r.label, value);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    setLayout(Controls::column({form, Controls::stretch, buttons}));
}
