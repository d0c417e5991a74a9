#pragma once
#include <QString>
#include <QWidget>

// Quirkpad's own properties window of a file: name, folder, size, type,
// times, permissions and owner. Read once when it opens.
class frmFileProperties : public QWidget {
    Q_OBJECT
public:
    frmFileProperties(const QString& path, QWidget* owner);

    // The rows shown, label and value ("Size:" "1,234 bytes (1.2 KB)").
    struct Row {
        QString label;
        QString value;
    };
    static QList<Row> describe(const QString& path);
};
