#pragma once
class QWidget;

// Keeps a window above all others, or lets it go back among them. Only the
// stacking changes: position, size and visibility stay as they were.
void SetTopMost(QWidget* window);
void SetNotTopMost(QWidget* window);
