#pragma once
#include <QColor>
#include <QString>
#include <optional>

// Everything that waits for the user: message boxes, input boxes and the
// file and colour dialogs. The title is always the application's; texts come
// with CR LF line breaks exactly as the program builds them. Tests put a
// scripted implementation in its place that answers from a queue.
class Prompts {
public:
    enum class Icon { None, Error, Exclamation, Information, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    struct FileDialog {
        QString title;
        QString filter;          // "Description|pattern|Description|pattern..."
        int filterIndex = 1;     // counted from 1
        QString initDir;         // "" for the platform's default folder
        bool mustExist = false;  // open: the chosen file must exist
        bool confirmCreate = false;
        bool confirmOverwrite = false;
    };

    virtual ~Prompts() = default;

    virtual Answer message(const QString& text, Icon icon, Buttons buttons) = 0;
    // The typed text, or "" when the user cancels.
    virtual QString input(const QString& prompt) = 0;
    // A full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> openFile(const FileDialog& dialog) = 0;
    virtual std::optional<QString> saveFile(const FileDialog& dialog) = 0;
    virtual std::optional<QColor> colour(const QColor& initial) = 0;

    // The shared error box: "Error:", a line break, the description in quotes.
    void error(const QString& description)
    {
        message(QStringLiteral("Error:\r\n\"") + description + QLatin1Char('"'), Icon::Error, Buttons::Ok);
    }
};

inline const QString kAppTitle = QStringLiteral("Quirkpad");
