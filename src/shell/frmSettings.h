#pragma once
#include "services/SettingsStore.h"

#include <QList>
#include <QWidget>
#include <utility>

class QCheckBox;
class QComboBox;
class QLineEdit;
class Prompts;
class RichTextBox;

// The editor font: a name from the installed fonts and a size as typed; and
// below it the editor's own options (syntax colouring, line numbers, recovery
// copies of unsaved work), kept in a section of their own. The choices are
// stored when the window opens and again when it closes, however it closes;
// the main window applies them when it becomes active again.
class frmSettings : public QWidget {
    Q_OBJECT
public:
    frmSettings(RichTextBox& pad, SettingsStore& settings, Prompts& prompts, QWidget* owner);

    QComboBox* fontNames() const { return m_names; }
    QLineEdit* fontSize() const { return m_size; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void load();
    void defaultFont();
    void defaultSize();
    void storeChoices();

    RichTextBox& m_pad;
    SettingsStore& m_settings;
    Prompts& m_prompts;
    QComboBox* m_names;
    QLineEdit* m_size;
    // Each switch's check box, with the setting it stands for.
    QList<std::pair<QCheckBox*, Setting>> m_options;
    QString m_loadedName;
};
