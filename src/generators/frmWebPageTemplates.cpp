#include "generators/frmWebPageTemplates.h"
#include "generators/TemplateFolder.h"
#include "help/HelpLinks.h"
#include "files/AppPaths.h"
#include "widgets/Controls.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "document/Document.h"
#include "editor/DocumentService.h"
#include "editor/RichTextBox.h"
#include "services/Shell.h"
#include "files/TextFormat.h"
#include "preview/BrowserEngine.h"
#include "preview/BrowserView.h"
#include "preview/PreviewFile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

frmWebPageTemplates::frmWebPageTemplates(DocumentService& document, Prompts& prompts, Shell& shell, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_document(document), m_prompts(prompts), m_shell(shell)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmWebPageTemplates"));
    setWindowTitle(QStringLiteral("Quirkpad - Web Page Templates"));

    m_list = named(new QListWidget(this), "fileExamples");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAccessibleName(QStringLiteral("Templates"));
    m_frame = groupBox("fraPreview", QStringLiteral("Preview..."), this);
    m_noPreview = label("lblNoPreview", QString(), m_frame);
    m_noPreview->setWordWrap(true);
    m_noPreview->setAlignment(Qt::AlignCenter);
    m_noPreview->hide();
    // The browser joins the column when the first template is shown.
    m_frame->setLayout(column({m_noPreview}));

    auto* insert = button("cmdInsert", QStringLiteral("Insert"), this);
    auto* cancel = button("cmdCancel", QStringLiteral("Cancel"), this);
    auto* download = button("cmdDownload", QStringLiteral("Download new templates"), this);
    auto* help = button("cmdHelp", QStringLiteral("Help"), this);

    setLayout(column({{row({{m_list, 1}, {m_frame, 3}}), 1}, row({help, download, stretch, insert, cancel})}));
    m_list->setMinimumWidth(180);
    resize(sizeHint());

    // The selection previews, also when moved with the keys; only a
    // double-click opens, so that looking never replaces the document.
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { preview(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { openAsDocument(); });
    connect(insert, &QPushButton::clicked, this, &frmWebPageTemplates::insertTemplate);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(download, &QPushButton::clicked, this, [this] { m_shell.openUrl(HelpLinks::templatesPage()); });
    connect(help, &QPushButton::clicked, this, &frmWebPageTemplates::showHelp);

    load();
}

QSize frmWebPageTemplates::sizeHint() const
{
    // A preview large enough to judge a page's layout by.
    return QWidget::sizeHint().expandedTo(QSize(900, 560));
}

void frmWebPageTemplates::load()
{
    m_folder = TemplateFolder::path();
    const Result<QStringList> listing = TemplateFolder::list(m_folder);
    if (!listing) {
        // The window stays, empty; Insert then says that nothing is selected.
        m_prompts.error(listing.error());
        return;
    }
    m_list->addItems(*listing);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

QString frmWebPageTemplates::selectedPath() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? m_folder + QLatin1Char('/') + item->text() : QString();
}

bool frmWebPageTemplates::ensureBrowser()
{
    if (m_browser)
        return true;
    if (m_browserFailed)
        return false;
    const Result<BrowserView*> browser = BrowserEngine::createView(m_frame);
    if (!browser) {
        // Nothing to show pages with: the list, Insert and opening still work.
        m_browserFailed = true;
        m_noPreview->setText(QStringLiteral("No preview: ") + browser.error());
        m_noPreview->show();
        return false;
    }
    m_browser = *browser;
    m_frame->layout()->addWidget(m_browser->widget());
    m_browser->setLoadFinished([this](bool ok) { emit previewLoaded(ok); });
    return true;
}

void frmWebPageTemplates::preview()
{
    const QString path = selectedPath();
    if (path.isEmpty() || !ensureBrowser())
        return;
    if (TemplateFolder::browserShowsDirectly(path)) {
        m_browser->setResourceFolder(QString());
        m_browser->navigate(path);
        return;
    }
    // A server page is shown from an HTML copy in the temporary folder, its
    // style sheets and pictures still taken from beside the template. What
    // cannot be read or written is simply not shown.
    const Result<QByteArray> text = TemplateFolder::read(path);
    const Result<QString> temp = AppPaths::tempDir();
    if (!text || !temp)
        return;
    const QString copy = *temp + QStringLiteral("/Template.html");
    if (!PreviewFile::write(copy, *text))
        return;
    m_browser->setResourceFolder(m_folder);
    m_browser->navigate(copy);
}

void frmWebPageTemplates::insertTemplate()
{
    const QString path = selectedPath();
    if (path.isEmpty()) {
        m_prompts.error(QStringLiteral("No template is selected."));
        return;
    }
    const Result<QByteArray> text = TemplateFolder::read(path);
    if (!text) {
        m_prompts.error(text.error());
        return;
    }
    // As a paste: the template's own text, in the document's line breaks.
    // The document's name and changed flag follow from the edit alone.
    m_document.view().SetSelText(
        TextFormats::normalizedLineBreaks(QString::fromUtf8(*text), m_document.document().format().lineBreak));
    close();
}

void frmWebPageTemplates::openAsDocument()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    // A Yes whose save did not happen stops here: the text is not lost.
    if (!m_document.askToSave(QStringLiteral("Would you like to save your document before opening another?"),
                              Prompts::Icon::Question))
        return;
    // A new page made from the template, not the template itself: saving
    // asks for a name rather than write over the shipped file.
    if (!m_document.loadAsUntitled(path))
        return;
    close();
}

void frmWebPageTemplates::showHelp()
{
    m_prompts.message(QStringLiteral("- WEB PAGE WIZARD HELP -\r\n\r\nThis Wizard contains multiple web page templates "
                                     "that can be used as your a basic design for your own web page development "
                                     "in Quirkpad. The designs are free for you to use, change and share in any "
                                     "way you wish."),
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
}
