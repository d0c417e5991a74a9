#include "widgets/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Controls {

QLabel* label(QAnyStringView name, const QString& caption, QWidget* parent)
{
    auto* l = named(new QLabel(caption, parent), name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLabel* buddyLabel(QAnyStringView name, const QString& caption, QWidget* buddy, QWidget* parent)
{
    QLabel* l = label(name, caption, parent);
    l->setBuddy(buddy);
    return l;
}

QPushButton* button(QAnyStringView name, const QString& caption, QWidget* parent, Enter enter)
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setAutoDefault(enter == Enter::PressesFocused);
    if (enter == Enter::PressesThis)
        b->setDefault(true);
    return b;
}

QLineEdit* textBox(QAnyStringView name, const QString& text, QWidget* parent)
{
    return named(new QLineEdit(text, parent), name);
}

QCheckBox* checkBox(QAnyStringView name, const QString& caption, QWidget* parent)
{
    return named(new QCheckBox(caption, parent), name);
}

QRadioButton* optionButton(QAnyStringView name, const QString& caption, QWidget* parent)
{
    return named(new QRadioButton(caption, parent), name);
}

QComboBox* dropDownList(QAnyStringView name, const QStringList& items, QWidget* parent)
{
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(false);
    box->addItems(items);
    return box;
}

QGroupBox* groupBox(QAnyStringView name, const QString& title, QWidget* parent)
{
    return named(new QGroupBox(title, parent), name);
}

QFrame* line(QAnyStringView name, QWidget* parent)
{
    auto* l = named(new QFrame(parent), name);
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

QTabWidget* tabs(QAnyStringView name, QWidget* parent)
{
    auto* t = named(new QTabWidget(parent), name);
    t->setUsesScrollButtons(false);
    t->setElideMode(Qt::ElideNone);
    return t;
}

void LayoutItem::addTo(QBoxLayout* layout) const
{
    if (m_widget)
        layout->addWidget(m_widget, m_stretch, m_alignment);
    else if (m_layout)
        layout->addLayout(m_layout, m_stretch);
    else if (m_isStretch)
        layout->addStretch(m_stretch);
    else
        layout->addSpacing(m_space);
}

namespace {

template <typename Layout>
Layout* filled(Layout* layout, std::initializer_list<LayoutItem> items)
{
    for (const LayoutItem& item : items)
        item.addTo(layout);
    return layout;
}

}

QHBoxLayout* row(std::initializer_list<LayoutItem> items)
{
    return filled(new QHBoxLayout, items);
}

QVBoxLayout* column(std::initializer_list<LayoutItem> items)
{
    return filled(new QVBoxLayout, items);
}

}
