#pragma once
#include "shell/NoticeBar.h"

#include <QAbstractButton>

// A button of a shown notice by its caption; "" names its close button.
inline QAbstractButton* noticeButton(NoticeBar* bar, const QString& id, const QString& caption)
{
    auto* notice = bar->findChild<QWidget*>(QStringLiteral("notice_") + id);
    if (!notice)
        return nullptr;
    for (QAbstractButton* b : notice->findChildren<QAbstractButton*>())
        if (caption.isEmpty() ? b->objectName() == QLatin1String("closeNotice") : b->text() == caption)
            return b;
    return nullptr;
}
