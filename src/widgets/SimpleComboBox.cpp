#include "widgets/SimpleComboBox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

SimpleComboBox::SimpleComboBox(QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_list(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_list, 1);
    setFocusProxy(m_edit);
    connect(m_list, &QListWidget::currentTextChanged, m_edit, [this](const QString& text) {
        if (m_list->currentItem())
            m_edit->setText(text);
    });
}

void SimpleComboBox::clear()
{
    m_list->clear();
    m_edit->clear();
}

void SimpleComboBox::addItem(const QString& text)
{
    m_list->addItem(text);
}

int SimpleComboBox::count() const
{
    return m_list->count();
}

QString SimpleComboBox::itemText(int index) const
{
    const QListWidgetItem* item = m_list->item(index);
    return item ? item->text() : QString();
}

QString SimpleComboBox::editText() const
{
    return m_edit->text();
}
