#pragma once
#include <QWidget>

class Prompts;
class QLineEdit;

// The ANSI Converter: a character code to its character and back, in the
// code page the editor reads single-byte files in. Results leave through the
// clipboard; the document is never touched. A lookup that cannot be done
// leaves the result box as it was.
class frmANSIConverter : public QWidget {
    Q_OBJECT
public:
    frmANSIConverter(Prompts& prompts, QWidget* owner);

private:
    QWidget* buildCodeToCharacter();
    QWidget* buildCharacterToCode();
    void findCharacter();
    void findCode();
    void help();

    Prompts& m_prompts;
    QLineEdit* txtANSIQuery1;
    QLineEdit* txtANSIResult1;
    QLineEdit* txtANSIQuery2;
    QLineEdit* txtANSIResult2;
};
