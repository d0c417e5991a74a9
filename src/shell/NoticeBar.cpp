#include "shell/NoticeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

NoticeBar::NoticeBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("NoticeBar"));
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::StyledPanel);
    // A pale, warm band that stands apart from the white text below it.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xFF, 0xF6, 0xD5));
    p.setColor(QPalette::WindowText, QColor(0x33, 0x2B, 0x00));
    setPalette(p);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblNotice"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    m_close = makeButton(QStringLiteral("Close"));
    m_close->setObjectName(QStringLiteral("cmdCloseNotice"));
    connect(m_close, &QPushButton::clicked, this, [this] {
        hide();
        emit closedByUser();
    });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 4, 4);
    row->addWidget(m_text, 1);
    m_buttons = new QHBoxLayout;
    row->addLayout(m_buttons);
    row->addWidget(m_close);
    hide();
}

QPushButton* NoticeBar::makeButton(const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    // A click acts; the keyboard stays with the text.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    return b;
}

void NoticeBar::showMessage(const QString& message, const QList<Action>& actions)
{
    m_text->setText(message);
    // Later: the button whose action shows the next message is still at work.
    for (QPushButton* b : m_actionButtons)
        b->deleteLater();
    m_actionButtons.clear();
    for (const Action& a : actions) {
        QPushButton* b = makeButton(a.caption);
        connect(b, &QPushButton::clicked, this, [this, run = a.run] {
            hide();
            emit closedByUser();
            if (run)
                run();
        });
        m_buttons->addWidget(b);
        m_actionButtons.append(b);
    }
    show();
}

void NoticeBar::withdraw()
{
    hide();
}

QString NoticeBar::message() const
{
    return m_text->text();
}
