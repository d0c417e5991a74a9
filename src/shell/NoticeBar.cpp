#include "shell/NoticeBar.h"
#include "widgets/Controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

struct NoticeBar::Notice {
    QString id;
    QFrame* frame = nullptr;
    QLabel* label = nullptr;
    QHBoxLayout* buttons = nullptr;
    Answer answer;
};

NoticeBar::NoticeBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("noticeBar"));
    setFocusPolicy(Qt::NoFocus);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    // A calm light yellow with dark text, whatever the desktop's colours,
    // and a line that parts each notice from what is below it.
    setStyleSheet(QStringLiteral("QFrame[notice=\"true\"] { background: #fff4c8; border-bottom: 1px solid #d8c88a; }"
                                 "QFrame[notice=\"true\"] > QLabel { color: #202020; }"));
    hide();
}

NoticeBar::Notice* NoticeBar::find(const QString& id) const
{
    for (Notice* n : m_notices)
        if (n->id == id)
            return n;
    return nullptr;
}

void NoticeBar::showNotice(const QString& id, const QString& text, const QStringList& buttons, Answer onAnswer)
{
    Notice* n = find(id);
    const bool fresh = !n;
    if (fresh) {
        n = new Notice;
        n->id = id;
        n->frame = new QFrame(this);
        n->frame->setObjectName(QStringLiteral("notice_") + id);
        n->frame->setProperty("notice", true);
        n->label = Controls::label({}, QString(), n->frame);
        n->label->setWordWrap(true);
        n->label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        n->buttons = new QHBoxLayout;
        auto* close = new QToolButton(n->frame);
        close->setObjectName(QStringLiteral("closeNotice"));
        close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
        close->setAutoRaise(true);
        close->setToolTip(QStringLiteral("Close"));
        close->setFocusPolicy(Qt::NoFocus);
        connect(close, &QToolButton::clicked, this, [this, id] { answer(id, -1); });
        QHBoxLayout* line = Controls::row({{n->label, 1}, n->buttons, {close, 0, Qt::AlignTop}});
        line->setContentsMargins(8, 4, 4, 4);
        n->frame->setLayout(line);
        m_layout->addWidget(n->frame);
        m_notices << n;
    }
    n->label->setText(text);
    n->answer = std::move(onAnswer);
    while (QLayoutItem* item = n->buttons->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < buttons.size(); ++i) {
        auto* b = Controls::button({}, buttons[i], n->frame, Controls::Enter::Ignored);
        // Clicked with the mouse, the button leaves the keyboard with the text.
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, id, i] { answer(id, i); });
        n->buttons->addWidget(b, 0, Qt::AlignTop);
    }
    show();
    if (fresh)
        emit noticeShown(id);
}

void NoticeBar::hideNotice(const QString& id)
{
    Notice* n = find(id);
    if (!n)
        return;
    m_notices.removeOne(n);
    // The click that got here is still being delivered to one of its buttons.
    n->frame->hide();
    n->frame->deleteLater();
    delete n;
    if (m_notices.isEmpty())
        hide();
}

void NoticeBar::answer(const QString& id, int button)
{
    Notice* n = find(id);
    if (!n)
        return;
    const Answer reply = std::move(n->answer);
    hideNotice(id);
    if (reply)
        reply(button);
}

bool NoticeBar::hasNotice(const QString& id) const
{
    return find(id) != nullptr;
}

QString NoticeBar::noticeText(const QString& id) const
{
    const Notice* n = find(id);
    return n ? n->label->text() : QString();
}

QStringList NoticeBar::noticeIds() const
{
    QStringList ids;
    for (const Notice* n : m_notices)
        ids << n->id;
    return ids;
}
