#pragma once
#include <QObject>

class RichTextBox;

// A margin left of the text with the number of each line, in the editor's
// font (it follows the font, its size and the zoom). It is as wide as the
// document's largest line number needs, and widens or narrows only when the
// line count crosses a power of ten, not with every line added.
class LineNumberMargin : public QObject {
    Q_OBJECT
public:
    explicit LineNumberMargin(RichTextBox& box, QObject* parent = nullptr);

    void setVisible(bool visible);
    bool isVisible() const { return m_visible; }
    // In pixels; 0 when hidden.
    int width() const;

private:
    void onTextChanged();
    void restyle();
    void fit();

    RichTextBox& m_box;
    bool m_visible = false;
    int m_digits = 0;
};
