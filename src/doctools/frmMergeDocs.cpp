#include "doctools/frmMergeDocs.h"
#include "doctools/MergeDocuments.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "editor/DocumentService.h"
#include "widgets/Controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

frmMergeDocs::frmMergeDocs(DocumentService& document, Prompts& prompts,
                           QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_document(document), m_prompts(prompts)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmMergeDocs"));
    setWindowTitle(QStringLiteral("Quirkpad - Merge Documents"));

    auto* lblIntro = label("lblIntro",
                           QStringLiteral("This dialog can be used merge multiple files in to the one currently open."),
                           this);

    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        auto* number = label(QStringLiteral("lbl") + n, n + QLatin1Char('.'), this);
        auto* path = textBox(QStringLiteral("txtDocument") + n, QString(), this);
        path->setMinimumWidth(path->fontMetrics().averageCharWidth() * 48);
        auto* find = button(QStringLiteral("cmdFind") + n, QStringLiteral("Find"), this);
        grid->addWidget(number, i, 0);
        grid->addWidget(path, i, 1);
        grid->addWidget(find, i, 2);
        m_documents[std::size_t(i)] = path;
        connect(find, &QPushButton::clicked, this, [this, i] { FindDoc(i + 1); });
    }
    grid->setColumnStretch(1, 1);

    auto* lblLines = label("lblLines", QStringLiteral("Number of lines between each file:"), this);
    m_lines = textBox("txtLines", QStringLiteral("-1"), this);
    m_lines->setMaxLength(4);
    m_lines->setFixedWidth(m_lines->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    auto* cmdMerge = button("cmdMerge", QStringLiteral("Merge"), this);
    connect(cmdMerge, &QPushButton::clicked, this, &frmMergeDocs::Merge);

    setLayout(column({lblIntro, Space{4}, grid, Space{4}, row({lblLines, m_lines, stretch, cmdMerge})}));

    // Wider shows longer paths; taller would only open empty space.
    setMaximumHeight(sizeHint().height());
}

void frmMergeDocs::FindDoc(int DocNum)
{
    if (DocNum < 1 || DocNum > 3)
        return;
    const std::optional<QString> chosen = m_document.chooseFileToOpen(
        QStringLiteral("Quirkpad - Merge Documents Wizard"), DocumentService::kFileFilter);
    if (!chosen || chosen->isEmpty())
        return;
    document(DocNum)->setText(*chosen);
}

void frmMergeDocs::warn(const QString& text)
{
    m_prompts.message(text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

void frmMergeDocs::Merge()
{
    const std::optional<long long> lines = MergeDocuments::lineCount(m_lines->text());
    if (!lines) {
        warn(QStringLiteral("Please enter a valid number for the number of lines to place between each file."));
        return;
    }

    std::array<QString, 3> paths;
    bool any = false;
    for (std::size_t i = 0; i < 3; ++i) {
        paths[i] = m_documents[i]->text();
        if (paths[i].isEmpty())
            continue;
        any = true;
        if (!MergeDocuments::fileExists(paths[i])) {
            warn(QStringLiteral("A file you entered doesn't exist."));
            return;
        }
    }
    // With every box empty there is nothing to merge; a selection in the
    // document is not thrown away for it.
    if (!any) {
        close();
        return;
    }

    // The merge only adds to the document, so it goes on whatever the save
    // did: nothing is lost by going on.
    if (!m_document.askToSave(QStringLiteral("Would you like to save your document before merging it?"),
                              Prompts::Icon::Exclamation, DocumentService::AfterFailedSave::GoOn))
        return;

    // The files' line breaks become the document's, as for a paste. The
    // text goes from the files into the document a piece at a time, after a
    // first reading that tells its length; nothing is inserted unless every
    // file was read.
    RichTextBox& pad = m_document.view();
    const MergeDocuments::Merge merge{paths, *lines, m_document.document().format().lineBreak};
    const RichTextBox::ByteRange selected = pad.selectionBytes();
    const qint64 length = m_document.document().byteLength();
    const qint64 kept = length - (selected.end - selected.start);
    Result<> merged = MergeDocuments::checkSize(merge, kept);
    Result<qint64> bytes = merged ? MergeDocuments::measure(merge, kept) : Failure(merged.error());
    if (bytes)
        merged = pad.SetSelTextFrom(*bytes, [&](const TextFile::Utf8Sink& sink) {
            return MergeDocuments::write(merge, kept, sink);
        });
    else
        merged = Failure(bytes.error());
    if (!merged) {
        m_prompts.error(merged.error());
        return;
    }
    close();
    // The folder of the last file chosen in a file dialog is already in
    // LastDir: every dialog that returns a name stores it there.
}
