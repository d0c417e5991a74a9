#pragma once
#include <QIcon>
#include <QString>

// Toolbar pictures: the desktop's icon theme first (Adwaita when the desktop
// names none), and a drawn picture as the last resort, so that every button
// shows something on any machine.
namespace ToolbarIcons {

// names: theme icon names separated by ";", tried in order.
QIcon icon(const QString& names, const QString& key);

// A plain drawn picture with the key's first letters.
QIcon drawn(const QString& key);

}
