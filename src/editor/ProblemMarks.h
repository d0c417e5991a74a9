#pragma once
#include "html/TidyCheck.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class CheckScheduler;
class RichTextBox;

// The problems HTML Tidy finds in an HTML page, marked in a view of it as
// the user types: a squiggle under each (red for errors, amber for
// warnings) and a mark in a narrow margin beside its line, for the text as
// it was when typing last paused. The scheduler decides when a check runs
// and which results are still current; the marks then stand in the text and
// move with it as it is edited, until the next check replaces them. They are
// drawn over the text only: the text, its undo history, its saved bytes and
// its printout never contain them.
//
// Only pages are checked: documents the editor colours as HTML (by their
// file name, or an untitled text that starts with "<"), server pages
// included, whose server code Tidy is never shown. A page larger than the
// scheduler's limit is not checked; notice() says so.
class ProblemMarks : public QObject {
    Q_OBJECT
public:
    // The scheduler is given the page checker (PageProblems::check) here; its
    // snapshot, timer and limit are the caller's.
    ProblemMarks(RichTextBox& box, CheckScheduler& scheduler, QObject* parent = nullptr);
    ~ProblemMarks() override;

    // The user's option: off checks nothing and shows no marks.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // The caret to the start of the next (previous) marked problem, round
    // from the end of the text to its beginning; nothing without marks.
    void goToNext();
    void goToPrevious();

    // "2 errors, 1 warning"; "" without problems.
    QString summary() const { return m_summary; }
    // The problem(s) at the caret, "Warning: missing </div>"; "". (The
    // view tells of caret moves as it draws them: statusChanged follows.)
    QString atCaret() const { return caretText(); }
    // Why this document is not checked though it is a page; "".
    QString notice() const { return m_notice; }

    // A marked problem where it stands in the text now, in bytes.
    struct Mark {
        long start = 0;
        long end = 0;
        TidyCheck::Severity severity = TidyCheck::Severity::Warning;
        QStringList messages;
    };
    // The marks in the order of their places (errors before warnings at
    // the same place).
    std::vector<Mark> marks() const;

signals:
    // The count or the caret's problem changed.
    void statusChanged(const QString& summary, const QString& atCaret);
    void noticeChanged(const QString& notice);

private:
    struct Group {
        TidyCheck::Severity severity;
        QStringList messages;
    };
    void textChanged();
    void judge();
    bool isPage() const;
    void activate(bool active);
    void checked(quint64 generation, const std::vector<TidyCheck::Problem>& problems);
    void apply(const std::vector<TidyCheck::Problem>& problems);
    void clearMarks();
    void caretMoved();
    QString caretText() const;
    void goTo(bool forward);
    void setStatus(const QString& summary, const QString& atCaret);
    void setNotice(const QString& notice);
    void fitMargin();

    RichTextBox& m_box;
    CheckScheduler& m_scheduler;
    bool m_enabled = true;
    bool m_active = false;
    // The last pause found the page above the size limit.
    bool m_tooLarge = false;
    // Each mark's indicator value is its index here plus one.
    std::vector<Group> m_groups;
    QString m_summary;
    QString m_atCaret;
    QString m_notice;
};
