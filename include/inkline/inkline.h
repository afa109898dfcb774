// Everything a host compiles against.
#ifndef INKLINE_INKLINE_H
#define INKLINE_INKLINE_H

#include <inkline/export.h>
#include <inkline/win32.h>
#include <inkline/device.h>
#include <inkline/fontlib.h>
#include <inkline/constants.h>
#include <inkline/map_string.h>
#include <inkline/convert.h>
#include <inkline/colorlib.h>

#endif  // INKLINE_INKLINE_H
