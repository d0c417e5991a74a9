#include "shell/frmSettings.h"
#include "services/Fonts.h"
#include "base/NumberText.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "services/SettingsStore.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

frmSettings::frmSettings(RichTextBox& pad, SettingsStore& settings, Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_settings(settings), m_prompts(prompts)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Quirkpad - Settings"));

    auto* lblPadFont = label("lblPadFont", QStringLiteral("Pad font:"), this);
    m_names = dropDownList("cboPadFontName", {}, this);
    m_names->setMinimumContentsLength(22);
    m_names->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* cmdDefaultPadFont = button("cmdDefaultPadFont", QStringLiteral("Default"), this);

    auto* lblPadFontSize = label("lblPadFontSize", QStringLiteral("Pad font size:"), this);
    m_size = textBox("txtPadFontSize", QString(), this);
    auto* cmdDefaultPadFontSize = button("cmdDefaultPadFontSize", QStringLiteral("Default"), this);

    auto* fraEditor = groupBox("fraEditor", QStringLiteral("Editor"), this);
    // A check box for every switch of the settings table, named after its key.
    auto* options = new QVBoxLayout(fraEditor);
    for (const SettingsStore::Row& row : SettingsStore::table()) {
        if (row.kind != SettingsStore::Kind::Switch)
            continue;
        auto* box = checkBox(QStringLiteral("chk") + QLatin1String(row.key), QString::fromUtf8(row.caption), fraEditor);
        options->addWidget(box);
        m_options.append({box, row.setting});
    }

    auto* cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(lblPadFont, 0, 0);
    grid->addWidget(m_names, 0, 1);
    grid->addWidget(cmdDefaultPadFont, 0, 2);
    grid->addWidget(lblPadFontSize, 1, 0);
    grid->addWidget(m_size, 1, 1);
    grid->addWidget(cmdDefaultPadFontSize, 1, 2);
    grid->setColumnStretch(1, 1);
    setLayout(column({grid, fraEditor, stretch, row({stretch, cmdCancel})}));

    connect(cmdDefaultPadFont, &QPushButton::clicked, this, &frmSettings::defaultFont);
    connect(cmdDefaultPadFontSize, &QPushButton::clicked, this, &frmSettings::defaultSize);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    load();
    // Two rows, the options and a button: wider helps a long font name,
    // taller only opens an empty gap above "Cancel".
    setMaximumHeight(sizeHint().height());
    resize(sizeHint().width(), sizeHint().height());
}

void frmSettings::load()
{
    m_names->addItems(Fonts::screenFonts());
    m_names->setCurrentIndex(m_names->findText(m_pad.FontName(), Qt::MatchFixedString | Qt::MatchCaseSensitive));
    m_loadedName = m_pad.FontName();
    if (m_names->currentIndex() >= 0)
        m_settings.store(Setting::PadFontName, m_names->currentText());
    m_size->setText(NumberText::format(m_pad.FontSize()));
    m_settings.store(Setting::PadFontSize, m_size->text());
    for (const auto& [box, setting] : std::as_const(m_options)) {
        box->setChecked(m_settings.isOn(setting));
        m_settings.setOn(setting, box->isChecked());
    }
}

void frmSettings::defaultFont()
{
    const int index = m_names->findText(Fonts::kDefaultName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0) {
        m_prompts.error(QStringLiteral("The font ") + Fonts::kDefaultName + QStringLiteral(" is not installed"));
        return;
    }
    m_names->setCurrentIndex(index);
}

void frmSettings::defaultSize()
{
    m_size->setText(Fonts::kDefaultSize);
}

void frmSettings::storeChoices()
{
    // With no entry selected (the editor's font is no longer installed),
    // keep the font the editor shows rather than store an empty name.
    const QString name = m_names->currentIndex() >= 0 ? m_names->currentText() : m_loadedName;
    m_settings.store(Setting::PadFontName, name);
    m_settings.store(Setting::PadFontSize, m_size->text());
    for (const auto& [box, setting] : std::as_const(m_options))
        m_settings.setOn(setting, box->isChecked());
}

void frmSettings::closeEvent(QCloseEvent* e)
{
    storeChoices();
    e->accept();
}
