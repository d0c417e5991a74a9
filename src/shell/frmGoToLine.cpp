#include "shell/frmGoToLine.h"
#include "editor/RichTextBox.h"
#include "text/GoToLine.h"
#include "text/StatusText.h"
#include "widgets/Controls.h"
#include "widgets/OwnedWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

namespace {

// A line's text without its line break.
QByteArrayView lineText(const Document& document, int line)
{
    const long start = document.lineStartByte(line);
    const long end = line + 1 < document.lineCount() ? document.lineStartByte(line + 1) : document.byteLength();
    QByteArrayView text = document.utf8Range(start, end);
    while (text.endsWith('\n') || text.endsWith('\r'))
        text.chop(1);
    return text;
}

// The byte offset of the character `column` of a line (its end when the
// line is shorter).
long byteOfColumn(QByteArrayView line, int column)
{
    qsizetype at = 0;
    for (int seen = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80)
            continue;   // a character's later bytes
        if (seen++ == column)
            break;
    }
    return long(at);
}

}

frmGoToLine::frmGoToLine(RichTextBox& pad, QWidget* owner) : QWidget(nullptr, Qt::Dialog), m_pad(&pad)
{
    OwnedWindow::setOwner(this, owner);
    setObjectName(QStringLiteral("frmGoToLine"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quirkpad - Go to Line"));

    const Document& document = pad.document();
    const QString lines = QLocale::system().toString(document.lineCount());
    lblLine = label("lblLine", QStringLiteral("Line number (1 to %1), or line:column:").arg(lines), this);
    txtLine = textBox("txtLine", QString::number(document.lineOfByte(pad.caretByte()) + 1), this);
    lblLine->setBuddy(txtLine);
    lblProblem = label("lblProblem", QString(), this);
    lblProblem->setWordWrap(true);
    lblProblem->hide();
    cmdGo = button("cmdGo", QStringLiteral("Go"), this, Enter::PressesThis);
    cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), this);
    setLayout(column({lblLine, txtLine, lblProblem, row({stretch, cmdGo, cmdCancel})}));

    connect(cmdGo, &QPushButton::clicked, this, &frmGoToLine::go);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    txtLine->selectAll();
    txtLine->setFocus();
    resize(std::max(sizeHint().width(), 320), sizeHint().height());
}

bool frmGoToLine::go()
{
    if (!m_pad)
        return false;
    const Document& document = m_pad->document();
    const Result<GoToLine::Target> target = GoToLine::parse(txtLine->text(), document.lineCount(), [&](int line) {
        return int(StatusText::characters(lineText(document, line)));
    });
    if (!target) {
        lblProblem->setText(target.error());
        lblProblem->show();
        // The box grows to hold the message, never narrower than it was.
        resize(width(), std::max(height(), sizeHint().height()));
        txtLine->selectAll();
        txtLine->setFocus();
        return false;
    }
    const long at = document.lineStartByte(target->line) + byteOfColumn(lineText(document, target->line), target->column);
    m_pad->selectBytes(at, at);
    // The keyboard goes back to the text, in the window that holds it.
    if (m_pad->window()->isEnabled()) {
        m_pad->window()->activateWindow();
        m_pad->SetFocus();
    }
    close();
    return true;
}

void frmGoToLine::keyPressEvent(QKeyEvent* e)
{
    // Enter is Go wherever the focus is (the text box passes it on).
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        e->accept();
        cmdGo->click();
        return;
    }
    QWidget::keyPressEvent(e);
}
