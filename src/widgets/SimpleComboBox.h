#pragma once
#include <QWidget>

class QLineEdit;
class QListWidget;

// A combo box whose list is always open below its edit field. Choosing an
// entry shows it in the edit field, and nothing more.
class SimpleComboBox : public QWidget {
    Q_OBJECT
public:
    explicit SimpleComboBox(QWidget* parent = nullptr);

    void clear();
    void addItem(const QString& text);
    int count() const;
    QString itemText(int index) const;
    QString editText() const;

    QLineEdit* lineEdit() const { return m_edit; }
    QListWidget* list() const { return m_list; }

private:
    QLineEdit* m_edit;
    QListWidget* m_list;
};
