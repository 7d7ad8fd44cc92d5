// What the form draws itself: the crosshair picture, the colour swatch and
// labels that the system would grey out.
#pragma once

#include <windows.h>

#include "platform/form.h"

namespace vornick::win32 {

// A red crosshair reticle filling `area`: rings, a cross with an open centre,
// a centre dot.
void DrawCrosshairReticle(HDC dc, const RECT& area);

// The colour picker: a push button face with the chosen colour in it.
void DrawColourSwatch(const DRAWITEMSTRUCT& item, Colour colour);

// A label's text, wrapped at word breaks, on `back`.
void DrawLabel(const DRAWITEMSTRUCT& item, HFONT font, COLORREF text, HBRUSH back);

}  // namespace vornick::win32
