// Tool-bar icons drawn at run time, so that the program looks the same on
// desktops with and without an icon theme.
#pragma once

#include <QIcon>

enum class GlyphKind { ReadDevice, Report, Copy, Paste, Merge, Cut, Delete };

QIcon glyphIcon(GlyphKind kind);
