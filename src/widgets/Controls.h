#pragma once
#include <QLabel>
#include <QPushButton>

// Controls of the generator windows, each named as readers and tests look
// for it.
namespace Controls {

template <typename Control>
Control* named(Control* control, const char* name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// Captions are literal text, never markup.
inline QLabel* label(const char* name, const QString& caption)
{
    auto* l = named(new QLabel(caption), name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

inline QPushButton* button(const char* name, const QString& caption)
{
    auto* b = named(new QPushButton(caption), name);
    // Enter presses the button that has the focus, as Space does.
    b->setAutoDefault(true);
    return b;
}

}
