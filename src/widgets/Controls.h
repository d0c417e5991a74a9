#pragma once
#include <QAnyStringView>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QVBoxLayout;
class QWidget;

// The one way the editor's windows build their controls and lay them out in
// rows and columns. Every control is named as readers and tests look for it
// (`txtTitle`, `cmdApply`); the parent, when given, is set at creation, so
// that the order of creation stays the order of the Tab key.
namespace Controls {

template <typename Control>
Control* named(Control* control, QAnyStringView name)
{
    control->setObjectName(name);
    return control;
}

// Captions are literal text, never markup.
QLabel* label(QAnyStringView name, const QString& caption, QWidget* parent = nullptr);
// A label whose accelerator ("Change &to:") takes the keyboard to buddy.
QLabel* buddyLabel(QAnyStringView name, const QString& caption, QWidget* buddy, QWidget* parent = nullptr);

// What Enter does to a push button.
enum class Enter {
    // Enter presses the button that has the focus, as Space does.
    PressesFocused,
    // Only Space and the mouse press it.
    Ignored,
    // The window's default button: Enter presses it wherever the focus is
    // (a dialog's own rule; other windows pass the key on to it).
    PressesThis,
};
QPushButton* button(QAnyStringView name, const QString& caption, QWidget* parent = nullptr,
                    Enter enter = Enter::PressesFocused);

QLineEdit* textBox(QAnyStringView name, const QString& text = QString(), QWidget* parent = nullptr);
QCheckBox* checkBox(QAnyStringView name, const QString& caption, QWidget* parent = nullptr);
QRadioButton* optionButton(QAnyStringView name, const QString& caption, QWidget* parent = nullptr);
// A list the user picks from and cannot type in.
QComboBox* dropDownList(QAnyStringView name, const QStringList& items, QWidget* parent = nullptr);
QGroupBox* groupBox(QAnyStringView name, const QString& title, QWidget* parent = nullptr);
// A sunken horizontal line between groups of controls.
QFrame* line(QAnyStringView name, QWidget* parent = nullptr);
// Tabs whose captions are all in view at any width the window allows: no
// scroll arrows, no shortened captions.
QTabWidget* tabs(QAnyStringView name, QWidget* parent = nullptr);

// Rows and columns: controls and nested layouts in order, with stretches
// and fixed spaces between them.
struct Stretch {
    int factor = 1;
};
inline constexpr Stretch stretch{};
struct Space {
    int pixels;
};

class LayoutItem {
public:
    LayoutItem(QWidget* widget, int stretch = 0, Qt::Alignment alignment = {})
        : m_widget(widget), m_stretch(stretch), m_alignment(alignment)
    {
    }
    LayoutItem(QLayout* layout, int stretch = 0) : m_layout(layout), m_stretch(stretch) {}
    LayoutItem(Stretch s) : m_stretch(s.factor), m_isStretch(true) {}
    LayoutItem(Space s) : m_space(s.pixels) {}

    void addTo(QBoxLayout* layout) const;

private:
    QWidget* m_widget = nullptr;
    QLayout* m_layout = nullptr;
    int m_stretch = 0;
    Qt::Alignment m_alignment;
    bool m_isStretch = false;
    int m_space = 0;
};

QHBoxLayout* row(std::initializer_list<LayoutItem> items);
QVBoxLayout* column(std::initializer_list<LayoutItem> items);

// The layout with no margins of its own, for a page inside a window that
// has them already.
template <typename Layout>
Layout* withoutMargins(Layout* layout)
{
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

}
