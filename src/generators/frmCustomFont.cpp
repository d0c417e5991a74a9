#include "generators/frmCustomFont.h"
#include "widgets/Controls.h"
#include "generators/MultiLineTextBox.h"
#include "services/Fonts.h"
#include "widgets/OwnedWindow.h"
#include "editor/RichTextBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Controls;

namespace {

// An editable list whose typed text is used as it stands: matching entries
// are offered below the box instead of being completed into the text, Enter
// adds nothing to the list, and the box starts empty. The entries are
// offered whatever the case of what was typed, and the typed text keeps its
// own case: the combo box would otherwise replace "RED" by the entry "red"
// when the field loses the focus or Enter is pressed, so that the markup
// would not hold what the user wrote.
QComboBox* editableList(const char* name, const QStringList& items)
{
    auto* box = named(new QComboBox, name);
    box->setEditable(true);
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    return box;
}

}

frmCustomFont::frmCustomFont(RichTextBox& pad, Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_colours(prompts)
{
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmCustomFont"));
    setWindowTitle(QStringLiteral("Quirkpad - Custom Font"));

    // Two frames in one place, one shown at a time.
    m_frames = new QStackedWidget;
    fraInput = buildInput();
    fraOutput = buildOutput();
    m_frames->addWidget(fraInput);
    m_frames->addWidget(fraOutput);
    m_frames->setCurrentWidget(fraInput);

    setLayout(column({m_frames}));

    resize(sizeHint());
    setMinimumSize(minimumSizeHint());
}

QSize frmCustomFont::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(QSize(440, 260));
}

QWidget* frmCustomFont::buildInput()
{
    auto* frame = named(new QWidget, "fraInput");
    txtText = textBox("txtText", QStringLiteral("Enter text here..."));
    cboFonts = editableList("cboFonts", Fonts::screenFonts());
    // A long font name must not stretch the window across the screen.
    cboFonts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboFonts->setMinimumContentsLength(18);
    cboColour = editableList("cboColour", {"black", "blue", "green", "lime", "orange", "pink", "red", "teal",
                                           "white", "yellow"});
    auto* cmdCustomColour = button("cmdCustomColour", QStringLiteral("Custom"));
    cboStyle = dropDownList("cboStyle", {QStringLiteral("HTML"), QStringLiteral("CSS")});
    cboStyle->setCurrentIndex(CustomFontChoice::Html);
    chkBold = checkBox("chkBold", QStringLiteral("Bold"));
    chkUnderlined = checkBox("chkUnderlined", QStringLiteral("Underlined"));
    chkItalic = checkBox("chkItalic", QStringLiteral("Italic"));
    auto* cmdConvert = button("cmdConvert", QStringLiteral("Convert to HTML >>"));

    auto* grid = new QGridLayout;
    grid->addWidget(label("Label1", QStringLiteral("Text:")), 0, 0);
    grid->addWidget(txtText, 0, 1, 1, 2);
    grid->addWidget(label("lblFont", QStringLiteral("Font:")), 1, 0);
    grid->addWidget(cboFonts, 1, 1, 1, 2);
    grid->addWidget(label("lblColour", QStringLiteral("Colour:")), 2, 0);
    grid->addWidget(cboColour, 2, 1);
    grid->addWidget(cmdCustomColour, 2, 2);
    grid->addWidget(label("lblStyle", QStringLiteral("Style:")), 3, 0);
    grid->addWidget(cboStyle, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    frame->setLayout(withoutMargins(column({grid, row({chkBold, chkUnderlined, chkItalic, stretch}), stretch,
                                            row({stretch, cmdConvert})})));

    connect(cmdCustomColour, &QPushButton::clicked, this, &frmCustomFont::customColour);
    connect(cmdConvert, &QPushButton::clicked, this, &frmCustomFont::convert);
    return frame;
}

QWidget* frmCustomFont::buildOutput()
{
    auto* frame = named(new QWidget, "fraOutput");
    txtHTML = named(new MultiLineTextBox(6), "txtHTML");
    auto* cmdBack = button("cmdBack", QStringLiteral("<< Back"));
    auto* cmdCopy = button("cmdCopy", QStringLiteral("Copy"));
    auto* cmdInsert = button("cmdInsert", QStringLiteral("Insert"));
    frame->setLayout(withoutMargins(column({{txtHTML, 1}, row({cmdBack, stretch, cmdCopy, cmdInsert})})));

    connect(cmdBack, &QPushButton::clicked, this, &frmCustomFont::back);
    connect(cmdCopy, &QPushButton::clicked, this, &frmCustomFont::copy);
    connect(cmdInsert, &QPushButton::clicked, this, &frmCustomFont::insert);
    return frame;
}

CustomFontChoice frmCustomFont::choice() const
{
    CustomFontChoice c;
    c.text = txtText->text();
    c.font = cboFonts->currentText();
    c.colour = cboColour->currentText();
    c.style = cboStyle->currentIndex();
    c.bold = chkBold->isChecked();
    c.underlined = chkUnderlined->isChecked();
    c.italic = chkItalic->isChecked();
    return c;
}

void frmCustomFont::customColour()
{
    // Cancel keeps what the user had typed or picked.
    if (const std::optional<QString> colour = m_colours.choose())
        cboColour->setEditText(*colour);
}

void frmCustomFont::convert()
{
    txtHTML->setPlainText(CustomFontMarkup::build(choice()));
    m_frames->setCurrentWidget(fraOutput);
}

void frmCustomFont::back()
{
    m_frames->setCurrentWidget(fraInput);
}

void frmCustomFont::copy()
{
    QApplication::clipboard()->setText(txtHTML->crlfText());
}

void frmCustomFont::insert()
{
    m_pad.InsertText(txtHTML->crlfText());
    close();
}
