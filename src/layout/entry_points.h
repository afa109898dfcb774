// The state change DispString makes before it lays out a string, shared with
// the layout engine, which continues the tail of a text in place instead of
// calling DispString again for it.
#ifndef INKLINE_LAYOUT_ENTRY_POINTS_H
#define INKLINE_LAYOUT_ENTRY_POINTS_H

#include <inkline/map_string.h>

namespace layout {

// Checks what DispString checks and sets what it sets for a string of this
// height and colour: size class, library type and grid, and plain, filled
// glyphs in the outline colour. False when DispString would draw nothing.
bool EnterDispString(CMapString& s, double height, short color);

}  // namespace layout

#endif  // INKLINE_LAYOUT_ENTRY_POINTS_H
