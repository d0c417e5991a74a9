#pragma once
#include <QString>

class QPlainTextEdit;

// The text of a multi-line box as the generators use it.
namespace MultiLineBox {

// Line breaks as CR LF, every other character as typed. (The box's own plain
// text would turn a no-break space into a space and lose it.)
QString text(const QPlainTextEdit* box);

}
