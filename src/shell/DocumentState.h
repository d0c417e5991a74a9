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
    void saved() { setChanged(false); }
    void setChanged(bool changed);
    // The location alone (the caption keeps what it showed).
    void setLocation(const QString& path);

signals:
    void captionChanged(const QString& caption);
    void locationChanged(const QString& location);
    void changedChanged(const QString& changed);

private:
    void setCaption(const QString& caption);

    QString m_location;
    QString m_changed = No;
    QString m_caption = QStringLiteral("Quirkpad");
};
