// Writes Cairo image surfaces as PNG files, fast: one fixed row filter and a
// low compression level, which on map pictures (large flat areas) gives files
// no bigger than trying every filter at the default level, in a fraction of
// the time.
#ifndef INKLINE_HOST_PNG_WRITER_H
#define INKLINE_HOST_PNG_WRITER_H

#include <string>

#include <cairo.h>

// Writes an RGB24 image surface as an 8-bit RGB PNG, reusing the surface's
// pixels as the encoder's input: the surface holds no picture afterwards.
// Any other format goes through Cairo's own writer. False, with *error, when
// the file cannot be written.
bool WritePng(cairo_surface_t* image, const std::string& path, std::string* error);

#endif  // INKLINE_HOST_PNG_WRITER_H
