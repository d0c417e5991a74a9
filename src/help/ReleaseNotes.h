#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The release history shown on the About window's "What's New" tab.
namespace ReleaseNotes {

struct Release {
    QString version;       // "1.5.1"
    QStringList changes;   // one line each, without the leading mark
};

// Every release, newest first.
QList<Release> history();

// The notes as text: per release a line "Version " + number, then one line
// per change, "   » " + text; releases separated by a line of 90 "-";
// every line ends with CR LF.
QString format(const QList<Release>& releases);

// format(history()).
QString text();

}
