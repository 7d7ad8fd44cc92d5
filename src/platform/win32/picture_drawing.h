// What the form draws itself: the crosshair picture and the colour swatch.
#pragma once

#include <windows.h>

#include "platform/form.h"

namespace vornick::win32 {

// A red crosshair reticle filling `area`: rings, a cross with an open centre,
// a centre dot.
void DrawCrosshairReticle(HDC dc, const RECT& area);

// The colour picker: a push button face with the chosen colour in it.
void DrawColourSwatch(const DRAWITEMSTRUCT& item, Colour colour);

}  // namespace vornick::win32
