// The 13 small pictures of the menu items, drawn by the program itself (no icon theme here).
#pragma once

#include <QIcon>
#include <QImage>

namespace lf {

inline constexpr int kGlyphCount = 13;
inline constexpr int kGlyphSize = 16;

// Indexes 0..12: open, save, print, exit, undo, copy, paste, statistics, zoom, webcam, scan,
// about, retouch. An index outside that range gives an empty image.
QImage GlyphImage(int index);
QIcon Glyph(int index);

}  // namespace lf
