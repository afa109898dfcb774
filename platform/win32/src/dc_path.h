// The path a device context records between BeginPath and EndPath.
#ifndef INKLINE_PLATFORM_WIN32_DC_PATH_H
#define INKLINE_PLATFORM_WIN32_DC_PATH_H

#include "gdi_objects.h"
#include "shape_path.h"

namespace gdi {

// Adds figures to dc's open path, rounded to whole device pixels as GDI keeps
// them. Call with the context's LockOf held.
void AppendToPath(DC& dc, const ShapePath& figures);

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_DC_PATH_H
