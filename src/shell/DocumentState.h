#pragma once
#include <QObject>
#include <QString>

// The one document's state besides its text: where it lives, whether it has
// unsaved changes ("Yes"/"No", the exact texts other code compares), and the
// window caption. The caption is set only by the transitions below; it does
// not follow the changed flag.
class DocumentState : public QObject {
    Q_OBJECT
public:
    static inline const QString Yes = QStringLiteral("Yes");
    static inline const QString No = QStringLiteral("No");

    QString location() const { return m_location; }
    QString changed() const { return m_changed; }
    bool isChanged() const { return m_changed == Yes; }
    bool isUntitled() const { return m_location.isEmpty(); }
    QString caption() const { return m_caption; }

    // "Quirkpad", or "Quirkpad (" Q path Q ")".
    static QString captionFor(const QString& path);

    // Start, New, or a page taken as a new document: untitled, unchanged.
    void untitled();
    // A file was opened or saved under a new name.
    void named(const QString& path);
    // The text was written to the location.
    void saved();
    // The text was read again from the location; it counts as changed all
    // the same, so that closing or New still asks.
    void reverted();
    // The text was read again from the location at the user's word, because
    // another program changed the file: it is what is on disk, unchanged.
    void reloaded();
    // Unsaved work brought back after the editor ended without closing: it
    // belongs to its file again (or is untitled), and it is not saved.
    void restored(const QString& path);
    void setChanged(bool changed);
    // The location alone (the caption keeps what it showed).
    void setLocation(const QString& path);

signals:
    void captionChanged(const QString& caption);
    void locationChanged(const QString& location);
    void changedChanged(const QString& changed);
    // The text was just read from, or written to, the file at the location:
    // what is on disk there is what this editor last saw of it.
    void synced(const QString& location);

private:
    void setCaption(const QString& caption);

    QString m_location;
    QString m_changed = No;
    QString m_caption = QStringLiteral("Quirkpad");
};
