#include "platform/win32/picture_drawing.h"

#include <algorithm>
#include <string>

#include "platform/win32/gdi.h"

namespace vornick::win32 {
namespace {

// GDI draws without antialiasing; drawing at this multiple and shrinking
// with HALFTONE smooths the rings.
constexpr int kSupersample = 4;

constexpr COLORREF kReticleRed = RGB(224, 0, 0);
constexpr COLORREF kReticleBack = RGB(255, 255, 255);
constexpr COLORREF kReticleFrame = RGB(190, 190, 190);

void Ring(HDC dc, int cx, int cy, int r) { Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1); }

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// Draws at the big size `w` x `h` into `dc`.
void DrawReticleAt(HDC dc, int w, int h) {
  RECT all{0, 0, w, h};
  Brush back(CreateSolidBrush(kReticleBack));
  FillRect(dc, &all, back.get());

  const int cx = w / 2, cy = h / 2;
  const int outer = std::min(w, h) * 40 / 100;
  const int inner = outer * 45 / 100;
  const int gap = outer * 16 / 100;
  const int stroke = std::max(1, std::min(w, h) / 44);

  Pen thick(CreatePen(PS_SOLID, stroke * 2, kReticleRed));
  Pen thin(CreatePen(PS_SOLID, stroke, kReticleRed));
  Brush red(CreateSolidBrush(kReticleRed));
  SelectedObject hollow(dc, GetStockObject(HOLLOW_BRUSH));
  {
    SelectedObject pen(dc, thick.get());
    Ring(dc, cx, cy, outer);
    // The cross runs past the outer ring and stops short of the centre.
    const int reach = outer + outer * 18 / 100;
    Line(dc, cx - reach, cy, cx - gap, cy);
    Line(dc, cx + gap, cy, cx + reach, cy);
    Line(dc, cx, cy - reach, cx, cy - gap);
    Line(dc, cx, cy + gap, cx, cy + reach);
  }
  {
    SelectedObject pen(dc, thin.get());
    Ring(dc, cx, cy, inner);
    // Ticks on the diagonals of the outer ring.
    const int tick = outer * 12 / 100;
    const int d = outer * 707 / 1000;
    const int t = (outer - tick) * 707 / 1000;
    Line(dc, cx - d, cy - d, cx - t, cy - t);
    Line(dc, cx + d, cy - d, cx + t, cy - t);
    Line(dc, cx - d, cy + d, cx - t, cy + t);
    Line(dc, cx + d, cy + d, cx + t, cy + t);
  }
  {
    SelectedObject pen(dc, GetStockObject(NULL_PEN));
    SelectedObject fill(dc, red.get());
    Ring(dc, cx, cy, std::max(stroke, gap / 3));
  }
  Brush frame(CreateSolidBrush(kReticleFrame));
  FrameRect(dc, &all, frame.get());
}

}  // namespace

void DrawCrosshairReticle(HDC dc, const RECT& area) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  MemoryDc big(dc);
  Bitmap canvas(CreateCompatibleBitmap(dc, w * kSupersample, h * kSupersample));
  if (!big.get() || !canvas) return;
  {
    SelectedObject target(big.get(), canvas.get());
    DrawReticleAt(big.get(), w * kSupersample, h * kSupersample);
    const int old_mode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, area.left, area.top, w, h, big.get(), 0, 0, w * kSupersample, h * kSupersample, SRCCOPY);
    SetStretchBltMode(dc, old_mode);
  }
}

void DrawColourSwatch(const DRAWITEMSTRUCT& item, Colour colour) {
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
  const int inset = std::max(2, static_cast<int>(item.rcItem.bottom - item.rcItem.top) / 8);
  RECT swatch = face;
  InflateRect(&swatch, -inset + 2, -inset + 2);
  if (pushed) OffsetRect(&swatch, 1, 1);
  Brush fill(CreateSolidBrush(colour));
  FillRect(item.hDC, &swatch, fill.get());
  FrameRect(item.hDC, &swatch, GetSysColorBrush(COLOR_BTNSHADOW));
  if (item.itemState & ODS_FOCUS) {
    RECT focus = face;
    InflateRect(&focus, -1, -1);
    DrawFocusRect(item.hDC, &focus);
  }
}

void DrawLabel(const DRAWITEMSTRUCT& item, HFONT font, COLORREF text, HBRUSH back) {
  FillRect(item.hDC, &item.rcItem, back);
  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(item.hwndItem, caption.data(), length + 1);
  caption.resize(static_cast<std::size_t>(length));
  SelectedObject selected(item.hDC, font);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, text);
  RECT area = item.rcItem;
  DrawTextW(item.hDC, caption.c_str(), length, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace vornick::win32
