#include "services/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QTreeView>

namespace {

QString forDisplay(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}

QWidget* QtPrompts::parentWidget() const
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_owner;
}

Prompts::Answer QtPrompts::message(const QString& text, Icon icon, Buttons buttons)
{
    QMessageBox box(parentWidget());
    box.setWindowTitle(kAppTitle);
    box.setText(forDisplay(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: break;
    }
    // Closing the box with Escape or its close box: the safest answer.
    return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

QString QtPrompts::input(const QString& prompt)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parentWidget(), kAppTitle, forDisplay(prompt), QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

QStringList QtPrompts::nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        // Qt reads the patterns from the last parentheses of an entry, and
        // "*.*" there would hide names without a dot; the description keeps
        // its own text and the patterns Qt uses follow it, hidden from view.
        out << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out;
}

std::optional<QString> QtPrompts::fileDialog(const FileDialog& d, bool save)
{
    QFileDialog dialog(parentWidget(), d.title, d.initDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    if (!d.confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    const QStringList filters = nameFilters(d.filter);
    dialog.setNameFilters(filters);
    if (d.filterIndex >= 1 && d.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[d.filterIndex - 1]);
    // No extension is ever added to a typed name.
    dialog.setDefaultSuffix(QString());
    // Dot-files (.htaccess) are documents like any other.
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    // Qt's own dialog opens too small, with its size, type and date columns
    // cut short; the name column takes what the others leave.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(820, 500)));
    if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return std::nullopt;
        const QString path = chosen.first();
        if (save && d.confirmCreate && !QFileInfo::exists(path)) {
            const auto answer = QMessageBox::question(
                &dialog, d.title, QStringLiteral("%1 does not exist.\nDo you want to create it?").arg(path),
                QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes)
                continue;
        }
        if (!save && d.mustExist && !QFileInfo(path).isFile())
            continue;
        return path;
    }
    return std::nullopt;
}

std::optional<QString> QtPrompts::openFile(const FileDialog& d)
{
    return fileDialog(d, false);
}

std::optional<QString> QtPrompts::saveFile(const FileDialog& d)
{
    return fileDialog(d, true);
}

std::optional<QColor> QtPrompts::colour(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, parentWidget());
    if (!c.isValid())
        return std::nullopt;
    return c;
}
