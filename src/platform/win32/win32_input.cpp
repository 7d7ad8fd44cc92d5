// Synthesised clicks. The absolute move travels in the same SendInput call as
// the button events, so each click acts at its own point even when the
// system applies a bare cursor move late (Wine does), and nothing can come
// between the events of one click. The move places the cursor as well: a
// SetCursorPos before it would only add a second warp of the pointer, which
// under Wine can take over 10 ms when it lands on another program's window.
#include <array>

#include "platform/win32/win32_input.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return input;
}

}  // namespace

LONG NormalisedDesktopCoordinate(std::int32_t pixel, int origin, int size) {
  if (size <= 0) return 0;
  return static_cast<LONG>(((static_cast<LONGLONG>(pixel) - origin) * 65536 + size - 1) / size);
}

void Win32System::SimulateClick(std::int32_t x, std::int32_t y, std::int32_t kind) {
  const bool right = kind == 2 || kind == 3;
  const bool twice = kind == 1 || kind == 3;
  const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;

  std::array<INPUT, 5> inputs;
  UINT count = 0;
  const RECT& desktop = Display().virtual_desktop;
  inputs[count++] = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                               NormalisedDesktopCoordinate(x, desktop.left, desktop.right - desktop.left),
                               NormalisedDesktopCoordinate(y, desktop.top, desktop.bottom - desktop.top));
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    inputs[count++] = MouseInput(down);
    inputs[count++] = MouseInput(up);
  }
  SendInput(count, inputs.data(), sizeof(INPUT));
}

}  // namespace vornick::win32
