#pragma once
#include "generators/ColourChooser.h"
#include "generators/CustomFontMarkup.h"

#include <QWidget>

class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QStackedWidget;
class MultiLineTextBox;
class RichTextBox;

// The Custom Font window: one line of text wrapped in a font element or a
// styled span, with bold, underline and italic. The input frame builds the
// HTML; the output frame shows it for editing, copying or inserting. Closing
// (Insert, Escape, the close box) forgets everything.
class frmCustomFont : public QWidget {
    Q_OBJECT
public:
    frmCustomFont(RichTextBox& pad, Prompts& prompts, QWidget* owner);

    // What the input frame holds now.
    CustomFontChoice choice() const;

    // Wide enough for a long font name and a line of output.
    QSize sizeHint() const override;

private:
    QWidget* buildInput();
    QWidget* buildOutput();
    void customColour();
    void convert();
    void back();
    void copy();
    void insert();

    RichTextBox& m_pad;
    ColourChooser m_colours;

    QStackedWidget* m_frames;
    QWidget* fraInput;
    QWidget* fraOutput;
    QLineEdit* txtText;
    QComboBox* cboFonts;
    QComboBox* cboColour;
    QComboBox* cboStyle;
    QCheckBox* chkBold;
    QCheckBox* chkUnderlined;
    QCheckBox* chkItalic;
    MultiLineTextBox* txtHTML;
};
