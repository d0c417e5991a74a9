#pragma once
#include "services/Prompts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// Prompts shown with Qt's own message box, input dialog and file and colour
// dialogs, over the given window (or the active one).
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer message(const QString& text, Icon icon, Buttons buttons) override;
    QString input(const QString& prompt) override;
    std::optional<QString> openFile(const FileDialog& dialog) override;
    std::optional<QString> saveFile(const FileDialog& dialog) override;
    std::optional<QColor> colour(const QColor& initial) override;

    // "All Files (*.*)|*.*|Text (*.txt)|*.txt" as Qt name filters; "*.*"
    // lists every file here, names without a dot too.
    static QStringList nameFilters(const QString& filter);

private:
    QWidget* parentWidget() const;
    std::optional<QString> fileDialog(const FileDialog& d, bool save);
    QPointer<QWidget> m_owner;
};
