#pragma once
#include "doctools/SpellingDialog.h"

#include <QDialog>
#include <QEventLoop>

class QLineEdit;
class QListWidget;
class QTextEdit;

// The spelling dialog of a whole-document check: the misspelt word marked in
// its line, the suggestions, what to change it to, and the choices. It stays
// open from the first question to the end of the check, taking all input
// while it is open; closing it is Cancel.
class frmSpelling : public QDialog, public SpellingDialog {
    Q_OBJECT
public:
    explicit frmSpelling(QWidget* owner);

    Reply ask(const Question& question) override;

    void reject() override;

private:
    void answer(Action action);

    QTextEdit* m_context;
    QLineEdit* m_changeTo;
    QListWidget* m_suggestions;
    QEventLoop m_loop;
    Reply m_reply;
};
