// Captions of the windows' entry fields and lists.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// A label named `name` showing `text`; with a `buddy`, the caption of that
// control (the caption's mnemonic moves the focus there).
QLabel* MakeCaption(const QString& text, const char* name, QWidget* parent,
                    QWidget* buddy = nullptr);
