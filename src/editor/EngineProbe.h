#pragma once
#include "editor/RichTextBox.h"

// The engine under a view, for tests and benchmarks that measure it or set
// up what no step of the program does (where the caret is drawn, how long a
// layout takes). The program itself never reaches the engine through here.
class EngineProbe {
public:
    static QsciScintillaBase& of(RichTextBox& box) { return box.engine(); }
    static const QsciScintillaBase& of(const RichTextBox& box) { return box.engine(); }
};
