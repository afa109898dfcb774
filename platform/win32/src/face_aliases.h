// The face names a Windows host asks for, mapped to families of free fonts.
#ifndef INKLINE_PLATFORM_WIN32_FACE_ALIASES_H
#define INKLINE_PLATFORM_WIN32_FACE_ALIASES_H

#include <string>
#include <vector>

namespace gdi {

// The font families to try for a face name (UTF-8), best first. A name the
// table knows gives its free stand-ins; any other name is tried as it is.
// The list always ends with the last resort, "DejaVu Sans".
std::vector<std::string> FamiliesForFace(const std::string& faceUtf8);

// Families that hold Chinese characters, for text a Latin font lacks.
const std::vector<std::string>& ChineseFallbackFamilies();

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_FACE_ALIASES_H
