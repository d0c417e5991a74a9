#pragma once
#include "generators/ColourChooser.h"
#include "generators/WebPage.h"

#include <QWidget>
#include <optional>

class MultiLineTextBox;
class PictureBox;
class Prompts;
class QCheckBox;
class QLineEdit;
class DocumentService;

// The Web Page Wizard: head information, colours, an optional redirect and
// the body of a new page, built into one skeleton and put into the document
// at the caret on "Apply". Everything lives in the controls; closing (Apply,
// Cancel, Escape, the close box) forgets it.
class frmWebPageWizard : public QWidget {
    Q_OBJECT
public:
    frmWebPageWizard(DocumentService& document, Prompts& prompts, QWidget* owner);

    // Fills a colour field from the colour dialog: 1 txtBGCol, 2 txtTextCol,
    // 3 txtLinkCol, 4 txtVisitedCol, 5 txtActiveCol; any other value fills
    // nothing.
    void HexColour(int elementAspect);

    // What the controls hold now.
    WebPageFields fields() const;

    // Wide enough for the instructions on two lines.
    QSize sizeHint() const override;

private:
    QWidget* buildPageInformation();
    QWidget* buildAppearance();
    QWidget* buildAdvanced();
    QWidget* buildContent();
    void jumpClicked();
    std::optional<QString> chooseFile(const QString& title, const QString& filter);
    void findCss();
    void findImage();
    void showImage();
    void apply();

    DocumentService& m_document;
    Prompts& m_prompts;
    ColourChooser m_colours;

    QLineEdit* txtTitle;
    MultiLineTextBox* txtMetaDesc;
    QLineEdit* txtMetaAuthor;
    MultiLineTextBox* txtMetaKeyWords;
    QLineEdit* txtCSS;
    QLineEdit* txtBGCol;
    QLineEdit* txtTextCol;
    QLineEdit* txtLinkCol;
    QLineEdit* txtVisitedCol;
    QLineEdit* txtActiveCol;
    QLineEdit* txtBGImg;
    PictureBox* imgBGImage;
    QCheckBox* chkJump;
    QLineEdit* txtMetaJumpURL;
    QLineEdit* txtMetaJumpDelay;
    QList<QWidget*> m_jumpControls;
    MultiLineTextBox* txtContent;
};
