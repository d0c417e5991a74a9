#include "preview/PreviewPanel.h"

#include <QApplication>

PreviewPanel::PreviewPanel(QWidget* keyboardHome) : PreviewSurface(nullptr, {}), m_keyboardHome(keyboardHome)
{
    setObjectName(QStringLiteral("previewPanel"));
    setMinimumWidth(80);
    connect(qApp, &QApplication::focusChanged, this, &PreviewPanel::focusMoved);
}

Result<PreviewPanel*> PreviewPanel::create(QWidget* keyboardHome)
{
    auto* panel = new PreviewPanel(keyboardHome);
    panel->hide();
    if (const Result<> made = panel->createBrowser(); !made) {
        delete panel;
        return Failure(made.error());
    }
    return panel;
}

void PreviewPanel::focusMoved(QWidget* from, QWidget* to)
{
    // A click (a button is down while the focus moves) may take the
    // keyboard into the page; nothing else may.
    const bool into = to && isAncestorOf(to) && !(from && isAncestorOf(from));
    if (into && QGuiApplication::mouseButtons() == Qt::NoButton && m_keyboardHome)
        m_keyboardHome->setFocus(Qt::OtherFocusReason);
}
