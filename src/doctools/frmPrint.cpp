#include "doctools/frmPrint.h"
#include "doctools/PrintCount.h"
#include "doctools/modPrint.h"
#include "widgets/OwnedWindow.h"
#include "services/Prompts.h"
#include "editor/RichTextBox.h"
#include "widgets/Controls.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

frmPrint::frmPrint(RichTextBox& pad, PrinterService& printers, Prompts& prompts, QWidget* owner)
    : QWidget(nullptr, Qt::Dialog), m_pad(pad), m_printers(printers), m_prompts(prompts)
{
    // Owned, not a child: the main window is disabled while this one is open.
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Quirkpad - Print Document"));

    auto* lblIntro = label("lblIntro", QStringLiteral("You can use dialog to print your document to your default printer."),
                           this);
    auto* lblTimes = label("lblTimes", QStringLiteral("Times to print:"), this);
    m_times = textBox("txtTimes", QStringLiteral("1"), this);
    m_times->setMaxLength(3);
    m_times->setFixedWidth(m_times->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    auto* cmdPrint = button("cmdPrint", QStringLiteral("Print"), this);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrint::Print);

    setLayout(column({lblIntro, Space{6}, row({lblTimes, m_times, stretch, cmdPrint})}));

    // One line of text and one row of controls: nothing gains from height.
    setMaximumHeight(sizeHint().height());
}

void frmPrint::Print()
{
    const PrintCount count = PrintCount::from(m_times->text());
    switch (count.kind) {
    case PrintCount::Kind::Empty:
        m_prompts.message(QStringLiteral("Please select the number of times you wish to print this document."),
                          Prompts::Icon::Information, Prompts::Buttons::Ok);
        return;
    case PrintCount::Kind::NotANumber:
        m_prompts.error(QStringLiteral("Type mismatch"));
        return;
    case PrintCount::Kind::Overflow:
        m_prompts.error(QStringLiteral("Overflow"));
        return;
    case PrintCount::Kind::Copies:
        break;
    }
    // Laying out many pages takes a while; the wait shows, and a failure
    // stops the copies still to come (those sent stay sent).
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    for (int i = 0; i < count.copies; ++i) {
        const Result<> printed = modPrint::PrintRichText(m_pad, m_printers, 1440, 1440, 1440, 1440);
        if (!printed) {
            QGuiApplication::restoreOverrideCursor();
            m_prompts.error(printed.error());
            return;
        }
    }
    QGuiApplication::restoreOverrideCursor();
}
