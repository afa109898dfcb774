// The numbers every part of the engine shares, under the engine's names:
// they are written once, beside the other helpers every layer uses.
#ifndef INKLINE_SRC_LAYOUT_NUMERIC_H
#define INKLINE_SRC_LAYOUT_NUMERIC_H

#include <inkline/shared/numeric.h>

namespace layout {

using shared::DesignGridFor;
using shared::kCharLibraryGrid;
using shared::kCharLibraryType;
using shared::kPi;
using shared::kVectorGrid;
using shared::RoundHalfUp;
using shared::RoundHalfUpValue;
using shared::ToSingle;
using shared::TruncToInt;
using shared::TruncToInt64;

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_NUMERIC_H
