#include "generators/frmWebPageWizard.h"
#include "widgets/Controls.h"
#include "generators/MultiLineTextBox.h"
#include "generators/PictureBox.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "editor/DocumentService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Controls;

frmWebPageWizard::frmWebPageWizard(DocumentService& document, Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_document(document), m_prompts(prompts), m_colours(prompts)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmWebPageWizard"));
    setWindowTitle(QStringLiteral("Quirkpad - Web Page Wizard"));

    auto* instructions = label("lblInstructions",
                               QStringLiteral("You can use this wizard to generate the HTML for a web page for you. "
                                              "Simply design the way you want the page to look and click 'Apply'."));
    instructions->setWordWrap(true);

    auto* ssTab = tabs("ssTab");
    ssTab->addTab(buildPageInformation(), QStringLiteral("Page Information"));
    ssTab->addTab(buildAppearance(), QStringLiteral("Appearance"));
    ssTab->addTab(buildAdvanced(), QStringLiteral("Advanced"));
    ssTab->addTab(buildContent(), QStringLiteral("Content"));

    auto* cmdApply = button("cmdApply", QStringLiteral("Apply"));
    auto* cmdCancel = button("cmdCancel", QStringLiteral("Cancel"));

    setLayout(column({instructions, {ssTab, 1}, row({stretch, cmdApply, cmdCancel})}));

    connect(cmdApply, &QPushButton::clicked, this, &frmWebPageWizard::apply);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    resize(sizeHint());
    setMinimumSize(minimumSizeHint());
    // The user starts typing the title.
    txtTitle->setFocus();
}

QSize frmWebPageWizard::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(QSize(580, 0));
}

QWidget* frmWebPageWizard::buildPageInformation()
{
    const WebPageFields initial;
    auto* page = new QWidget;
    txtTitle = textBox("txtTitle", initial.title);
    txtMetaDesc = named(new MultiLineTextBox(4), "txtMetaDesc");
    txtMetaAuthor = textBox("txtMetaAuthor", initial.metaAuthor);
    txtMetaKeyWords = named(new MultiLineTextBox(3), "txtMetaKeyWords");
    txtCSS = textBox("txtCSS", initial.css);
    auto* cmdFindCSS = button("cmdFindCSS", QStringLiteral("Find"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(label("lblTitle", QStringLiteral("Page Title:")), 0, 0);
    grid->addWidget(txtTitle, 0, 1, 1, 2);
    grid->addWidget(label("lblMetalDesc", QStringLiteral("Description:")), 1, 0, Qt::AlignTop);
    grid->addWidget(txtMetaDesc, 1, 1, 1, 2);
    grid->addWidget(label("lblMetaAuthor", QStringLiteral("Author:")), 2, 0);
    grid->addWidget(txtMetaAuthor, 2, 1, 1, 2);
    grid->addWidget(label("lblMetaKeyWords", QStringLiteral("Key Words:")), 3, 0, Qt::AlignTop);
    grid->addWidget(txtMetaKeyWords, 3, 1, 1, 2);
    grid->addWidget(label("lblCSS", QStringLiteral("CSS:")), 4, 0);
    grid->addWidget(txtCSS, 4, 1);
    grid->addWidget(cmdFindCSS, 4, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(cmdFindCSS, &QPushButton::clicked, this, &frmWebPageWizard::findCss);
    return page;
}

QWidget* frmWebPageWizard::buildAppearance()
{
    const WebPageFields initial;
    auto* page = new QWidget;
    const struct {
        QLineEdit** field;
        const char* fieldName;
        const QString* text;
        const char* labelName;
        const char* caption;
        const char* buttonName;
        int aspect;
    } colours[] = {
        {&txtBGCol, "txtBGCol", &initial.bgCol, "lblBGCol", "Back Ground:", "cmdBGCol", 1},
        {&txtTextCol, "txtTextCol", &initial.textCol, "lblTextCol", "Text Colour:", "cmdTextCol", 2},
        {&txtLinkCol, "txtLinkCol", &initial.linkCol, "lblLinkCol", "Link Colour:", "cmdLinkCol", 3},
        {&txtVisitedCol, "txtVisitedCol", &initial.visitedCol, "lblVisitedCol", "Visited Link:", "cmdVisitedCol", 4},
        {&txtActiveCol, "txtActiveCol", &initial.activeCol, "lblActiveCol", "Active Link:", "cmdActiveCol", 5},
    };
    auto* colourGrid = new QGridLayout;
    int gridRow = 0;
    for (const auto& c : colours) {
        *c.field = textBox(c.fieldName, *c.text);
        // Room for a colour text such as #FFFFFF or a name such as purple.
        (*c.field)->setMinimumWidth((*c.field)->fontMetrics().horizontalAdvance(QStringLiteral("#FFFFFFWW")));
        auto* custom = button(c.buttonName, QStringLiteral("Custom"));
        colourGrid->addWidget(label(c.labelName, QLatin1String(c.caption)), gridRow, 0);
        colourGrid->addWidget(*c.field, gridRow, 1);
        colourGrid->addWidget(custom, gridRow, 2);
        connect(custom, &QPushButton::clicked, this, [this, aspect = c.aspect] { HexColour(aspect); });
        ++gridRow;
    }
    colourGrid->setColumnStretch(1, 1);
    colourGrid->setRowStretch(gridRow, 1);

    txtBGImg = textBox("txtBGImg", initial.bgImg);
    txtBGImg->setMinimumWidth(txtBGImg->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 14);
    auto* cmdImgFind = button("cmdImgFind", QStringLiteral("Find"));
    auto* cmdShowImage = button("cmdShowImage", QStringLiteral("Display image"));
    imgBGImage = named(new PictureBox, "imgBGImage");
    imgBGImage->setMinimumSize(120, 90);
    auto* imageGrid = new QGridLayout;
    imageGrid->addWidget(label("lblBGImage", QStringLiteral("Background Image:")), 0, 0, 1, 2);
    imageGrid->addWidget(txtBGImg, 1, 0);
    imageGrid->addWidget(cmdImgFind, 1, 1);
    imageGrid->addWidget(imgBGImage, 2, 0, 1, 2);
    imageGrid->addWidget(cmdShowImage, 3, 1);
    imageGrid->setColumnStretch(0, 1);
    imageGrid->setRowStretch(2, 1);

    page->setLayout(row({{colourGrid, 1}, Space{12}, {imageGrid, 1}}));

    connect(cmdImgFind, &QPushButton::clicked, this, &frmWebPageWizard::findImage);
    connect(cmdShowImage, &QPushButton::clicked, this, &frmWebPageWizard::showImage);
    return page;
}

QWidget* frmWebPageWizard::buildAdvanced()
{
    const WebPageFields initial;
    auto* page = new QWidget;
    chkJump = checkBox("chkJump", QStringLiteral("Use URL Jumping"));
    chkJump->setChecked(initial.jump);
    auto* lblMetaJumpURL = label("lblMetaJumpURL", QStringLiteral("Jump to URL:"));
    txtMetaJumpURL = textBox("txtMetaJumpURL", initial.jumpUrl);
    auto* lblMetaJumpDelay = label("lblMetaJumpDelay", QStringLiteral("Jump Delay:"));
    txtMetaJumpDelay = textBox("txtMetaJumpDelay", initial.jumpDelay);
    txtMetaJumpDelay->setMaximumWidth(txtMetaJumpDelay->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10 + 16);
    auto* lblMetaJumpSeconds = label("lblMetaJumpSeconds", QStringLiteral("Seconds"));
    m_jumpControls = {lblMetaJumpURL, txtMetaJumpURL, lblMetaJumpDelay, txtMetaJumpDelay, lblMetaJumpSeconds};
    for (QWidget* w : m_jumpControls)
        w->setEnabled(initial.jump);

    auto* delay = row({txtMetaJumpDelay, lblMetaJumpSeconds, stretch});
    auto* grid = new QGridLayout(page);
    grid->addWidget(chkJump, 0, 0, 1, 2);
    grid->addWidget(lblMetaJumpURL, 1, 0);
    grid->addWidget(txtMetaJumpURL, 1, 1);
    grid->addWidget(lblMetaJumpDelay, 2, 0);
    grid->addLayout(delay, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    connect(chkJump, &QCheckBox::toggled, this, &frmWebPageWizard::jumpClicked);
    return page;
}

QWidget* frmWebPageWizard::buildContent()
{
    auto* page = new QWidget;
    auto* lblContent = label("lblContent", QStringLiteral("This is the 'body' of your page. Enter the content of "
                                                          "your page here. You can always edit this later."));
    lblContent->setWordWrap(true);
    txtContent = named(new MultiLineTextBox(10), "txtContent");
    txtContent->setPlainText(WebPageFields().content);
    page->setLayout(column({lblContent, {txtContent, 1}}));
    return page;
}

WebPageFields frmWebPageWizard::fields() const
{
    WebPageFields f;
    f.title = txtTitle->text();
    f.css = txtCSS->text();
    f.metaAuthor = txtMetaAuthor->text();
    f.metaDesc = txtMetaDesc->crlfText();
    f.metaKeyWords = txtMetaKeyWords->crlfText();
    f.jump = chkJump->isChecked();
    f.jumpUrl = txtMetaJumpURL->text();
    f.jumpDelay = txtMetaJumpDelay->text();
    f.bgCol = txtBGCol->text();
    f.textCol = txtTextCol->text();
    f.linkCol = txtLinkCol->text();
    f.visitedCol = txtVisitedCol->text();
    f.activeCol = txtActiveCol->text();
    f.bgImg = txtBGImg->text();
    f.content = txtContent->crlfText();
    return f;
}

void frmWebPageWizard::HexColour(int elementAspect)
{
    QLineEdit* const fields[] = {txtBGCol, txtTextCol, txtLinkCol, txtVisitedCol, txtActiveCol};
    if (elementAspect < 1 || elementAspect > 5)
        return;
    if (const std::optional<QString> colour = m_colours.choose())
        fields[elementAspect - 1]->setText(*colour);
}

void frmWebPageWizard::jumpClicked()
{
    // The texts stay as they are; only whether they can be edited changes.
    for (QWidget* w : m_jumpControls)
        w->setEnabled(chkJump->isChecked());
}

std::optional<QString> frmWebPageWizard::chooseFile(const QString& title, const QString& filter)
{
    // A cancelled dialog leaves the field and the remembered folder alone.
    return m_document.chooseFileToOpen(title, filter);
}

void frmWebPageWizard::findCss()
{
    if (const auto path = chooseFile(QStringLiteral("Quirkpad - Find CSS File"),
                                     QStringLiteral("All Files (*.*)|*.*|CSS Documents (*.css)|*.css")))
        txtCSS->setText(*path);
}

void frmWebPageWizard::findImage()
{
    if (const auto path = chooseFile(
            QStringLiteral("Quirkpad - Find Image"),
            QStringLiteral("All Files (*.*)|*.*|All Images|*.gif;*.jpeg;*.jpg;*.bmp;*.png|GIF Files (*.gif)|*.gif|"
                           "JPEG Files (*.jpeg / *.jpg)|*.jpeg;*.jpg|Bitmap Files (*.bmp)|*.bmp|"
                           "PNG Files (*.png)|*.png")))
        txtBGImg->setText(*path);
}

void frmWebPageWizard::showImage()
{
    const QString name = txtBGImg->text();
    if (name.isEmpty()) {
        imgBGImage->setPicture(QPixmap());
        return;
    }
    QImageReader reader(name);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    // A file that is no picture leaves the last good one in view.
    if (image.isNull()) {
        m_prompts.error(reader.errorString());
        return;
    }
    imgBGImage->setPicture(QPixmap::fromImage(image));
}

void frmWebPageWizard::apply()
{
    m_document.view().InsertText(WebPage::build(fields()));
    close();
}
