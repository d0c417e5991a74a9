#pragma once
#include <QString>

// Options of the editor beyond its three specified settings, kept in a
// section of their own, "Editor", of the same settings file, so that the
// "Settings" section holds exactly the keys it always held. Each option is
// on unless the user switched it off.
namespace EditorOptions {

inline const QString SyntaxColouring = QStringLiteral("SyntaxColouring");
inline const QString LineNumbers = QStringLiteral("LineNumbers");
inline const QString RecoveryCopies = QStringLiteral("RecoveryCopies");

bool isOn(const QString& option);
void set(const QString& option, bool on);

inline bool syntaxColouring() { return isOn(SyntaxColouring); }
inline bool lineNumbers() { return isOn(LineNumbers); }
inline bool recoveryCopies() { return isOn(RecoveryCopies); }

}
