// The fonts of a form, made for one DPI. Every face is asked for with the
// GB2312 character set and named explicitly: the stock GUI font has no
// Chinese glyphs under Wine and on non-Chinese Windows.
#pragma once

#include <windows.h>

#include <array>

#include "platform/form_description.h"
#include "platform/win32/gdi.h"

namespace vornick::win32 {

class FormFonts {
 public:
  // `smooth` false: no antialiasing, for colour-keyed windows, where blended
  // glyph edges would show as fringes of the key colour.
  FormFonts(UINT dpi, bool smooth);
  HFONT For(FontKind kind) const { return fonts_[static_cast<std::size_t>(kind)].get(); }

 private:
  std::array<Font, 4> fonts_;
};

}  // namespace vornick::win32
