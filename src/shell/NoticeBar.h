#pragma once
#include <QFrame>
#include <QList>
#include <QString>
#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;

// A bar along the top of the main window that tells the user something
// without stopping them: no box to answer, and it never takes the keyboard
// from the text (none of its buttons takes the focus, so typing goes on
// where it was). It offers a button per action and one to close it.
class NoticeBar : public QFrame {
    Q_OBJECT
public:
    struct Action {
        QString caption;
        std::function<void()> run;
    };

    explicit NoticeBar(QWidget* parent = nullptr);

    // Shows the message with a button for each action (which closes the bar
    // and runs it) and the Close button; replaces what the bar showed.
    void showMessage(const QString& message, const QList<Action>& actions = {});
    // Hides the bar without a word to anyone (what it said no longer holds).
    void withdraw();

    QString message() const;
    QList<QPushButton*> actionButtons() const { return m_actionButtons; }
    QPushButton* closeButton() const { return m_close; }

signals:
    // The user closed the bar, with Close or one of its actions.
    void closedByUser();

private:
    QPushButton* makeButton(const QString& caption);

    QLabel* m_text;
    QHBoxLayout* m_buttons;
    QList<QPushButton*> m_actionButtons;
    QPushButton* m_close;
};
