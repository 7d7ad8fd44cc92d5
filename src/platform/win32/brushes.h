// Solid brushes by colour, made on first use and kept for the form's life.
#pragma once

#include <windows.h>

#include <map>

#include "platform/form.h"
#include "platform/win32/gdi.h"

namespace vornick::win32 {

class BrushCache {
 public:
  HBRUSH For(Colour colour) {
    Brush& brush = brushes_[colour];
    if (!brush) brush.reset(CreateSolidBrush(colour));
    return brush.get();
  }

 private:
  std::map<Colour, Brush> brushes_;
};

}  // namespace vornick::win32
