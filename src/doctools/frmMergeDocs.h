#pragma once
#include <QWidget>

#include <array>

class DocumentService;
class QLineEdit;
class Prompts;

// Merge Documents: up to three files, joined in order with a chosen number
// of empty lines between them, go into the document at the caret. The window
// keeps nothing but its controls.
class frmMergeDocs : public QWidget {
    Q_OBJECT
public:
    frmMergeDocs(DocumentService& document, Prompts& prompts, QWidget* owner);

    // Fills path box 1, 2 or 3 with a file chosen in the open dialog.
    void FindDoc(int DocNum);
    // Merges the files named in the path boxes; closes the window when done.
    void Merge();

    QLineEdit* document(int number) const { return m_documents.at(std::size_t(number - 1)); }
    QLineEdit* lines() const { return m_lines; }

private:
    void warn(const QString& text);

    DocumentService& m_document;
    Prompts& m_prompts;
    std::array<QLineEdit*, 3> m_documents{};
    QLineEdit* m_lines = nullptr;
};
