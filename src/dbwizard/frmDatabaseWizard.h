#pragma once
#include <QWidget>

#include <array>

class Prompts;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;
class RichTextBox;

// Writes a block of server-side database code into the document. Four pages
// in one place: the choice of flavour (fraWiz1), the ASP fields (fraASP1),
// the PHP fields (fraPHP1, shared by both PHP flavours) and the generated
// code (fraWiz2), which the user may still edit before Insert puts it in at
// the caret. Nothing is kept between openings; closed, the window is gone.
class frmDatabaseWizard : public QWidget {
    Q_OBJECT
public:
    frmDatabaseWizard(RichTextBox& pad, Prompts& prompts, QWidget* owner);

    // The size it opens at (the main window sizes its tool windows so).
    QSize sizeHint() const override;

private:
    QWidget* buildChoicePage();
    QWidget* buildAspPage();
    QWidget* buildPhpPage();
    struct FieldRow {
        const char* label;
        const char* caption;
        const char* box;
        QString text;
    };
    // A page of six labelled fields with Back and Generate.
    QWidget* buildFieldPage(const char* pageName, const std::array<FieldRow, 6>& rows, const char* lineName,
                            const char* backName, const char* generateName, void (frmDatabaseWizard::*generate)());
    QWidget* buildCodePage();
    QLineEdit* field(QWidget* page, const char* name, const QString& text);
    // The field page of the flavour chosen on the first page.
    void showFieldPage();
    void showCode(const QString& code);
    void generateAsp();
    void generatePhp();
    void insertCode();
    void showHelp();
    QString codeAsShown() const;

    RichTextBox& m_pad;
    Prompts& m_prompts;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_fraWiz1 = nullptr;
    QWidget* m_fraASP1 = nullptr;
    QWidget* m_fraPHP1 = nullptr;
    QWidget* m_fraWiz2 = nullptr;
    QRadioButton* m_optASP = nullptr;
    QRadioButton* m_optPHP = nullptr;
    QRadioButton* m_optPDO = nullptr;
    QPlainTextEdit* m_code = nullptr;
    // The text last generated, inserted as it is unless the user edited it.
    QString m_generated;
};
