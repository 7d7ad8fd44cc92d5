#include "platform/win32/raw_mouse.h"

#include <array>
#include <utility>

namespace vornick::win32 {
namespace {

constexpr wchar_t kRawMouseClass[] = L"VornickRawMouse";
constexpr UINT_PTR kPollTimer = 1;
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouseUsage = 0x02;

bool RegisterRawMouseClass(WNDPROC proc) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kRawMouseClass, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = kRawMouseClass;
  return RegisterClassExW(&wc) != 0;
}

struct ButtonFlags {
  USHORT down, up;
};

// Physical left, right and middle buttons as raw input reports them.
constexpr std::array<ButtonFlags, kMouseButtons> kPhysicalButtons = {{
    {RI_MOUSE_LEFT_BUTTON_DOWN, RI_MOUSE_LEFT_BUTTON_UP},
    {RI_MOUSE_RIGHT_BUTTON_DOWN, RI_MOUSE_RIGHT_BUTTON_UP},
    {RI_MOUSE_MIDDLE_BUTTON_DOWN, RI_MOUSE_MIDDLE_BUTTON_UP},
}};

// Button 0 is the primary button: the right one for a mouse set up for the
// left hand. Raw input and GetAsyncKeyState both speak of physical buttons.
int DeviceButton(int physical) {
  if (physical == 2 || !GetSystemMetrics(SM_SWAPBUTTON)) return physical;
  return 1 - physical;
}

bool PhysicallyDown(int physical) {
  static constexpr std::array<int, kMouseButtons> kKeys = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
  return (GetAsyncKeyState(kKeys[static_cast<std::size_t>(physical)]) & 0x8000) != 0;
}

}  // namespace

RawMouse::RawMouse(std::string device, EventSink& sink) : device_(std::move(device)), sink_(sink) {
  if (!RegisterRawMouseClass(&RawMouse::WindowProc)) return;
  window_.reset(
      CreateWindowExW(0, kRawMouseClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this));
}

RawMouse::~RawMouse() {
  Unregister();
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

void RawMouse::Select(bool on) {
  if (initialised_) selected_ = on;
}

void RawMouse::SetPollPeriod(int ms) {
  poll_ms_ = ms > 0 ? ms : 0;
  if (!window_) return;
  if (poll_ms_ > 0)
    SetTimer(window_.get(), kPollTimer, static_cast<UINT>(poll_ms_), nullptr);
  else
    KillTimer(window_.get(), kPollTimer);
}

bool RawMouse::Initialise() {
  if (initialised_ || stopped_ || !window_) return initialised_;
  const RAWINPUTDEVICE mouse{kGenericDesktop, kMouseUsage, RIDEV_INPUTSINK, window_.get()};
  registered_ = RegisterRawInputDevices(&mouse, 1, sizeof mouse) != FALSE;
  if (!registered_) return false;
  // Read after registering: a press from now on arrives as WM_INPUT as well
  // and counts, whichever of the two it shows up in first.
  std::array<bool, kMouseButtons> down{};
  for (int physical = 0; physical < kMouseButtons; ++physical)
    down[static_cast<std::size_t>(DeviceButton(physical))] = PhysicallyDown(physical);
  state_.Initialise(down);
  initialised_ = true;
  selected_ = true;
  return true;
}

void RawMouse::Stop() {
  stopped_ = true;
  if (window_) KillTimer(window_.get(), kPollTimer);
  Unregister();
}

void RawMouse::Unregister() {
  if (!registered_) return;
  registered_ = false;
  const RAWINPUTDEVICE mouse{kGenericDesktop, kMouseUsage, RIDEV_REMOVE, nullptr};
  RegisterRawInputDevices(&mouse, 1, sizeof mouse);
}

LRESULT CALLBACK RawMouse::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  auto* self = reinterpret_cast<RawMouse*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  try {
    switch (message) {
      case WM_INPUT: {
        // The system frees the input's data in DefWindowProc; read it first.
        const auto input = reinterpret_cast<HRAWINPUT>(lparam);
        RAWINPUT raw{};
        UINT size = sizeof raw;
        const bool read =
            GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1);
        const LRESULT result = DefWindowProcW(window, message, wparam, lparam);
        if (read && raw.header.dwType == RIM_TYPEMOUSE) self->OnButtons(raw.data.mouse.usButtonFlags);
        return result;
      }
      case WM_TIMER:
        if (wparam != kPollTimer) break;
        self->Deliver();
        return 0;
      default: break;
    }
  } catch (...) {
    // A handler's failure must not unwind through Windows.
    OutputDebugStringW(L"Vornick: a raw mouse event failed\n");
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void RawMouse::OnButtons(USHORT flags) {
  if (!Reporting()) return;
  bool pressed = false;
  for (int physical = 0; physical < kMouseButtons; ++physical) {
    const ButtonFlags& f = kPhysicalButtons[static_cast<std::size_t>(physical)];
    // Both edges in one report: the press came first.
    if (flags & f.down) {
      state_.Press(DeviceButton(physical));
      pressed = true;
    }
    if (flags & f.up) state_.Release(DeviceButton(physical));
  }
  // A press is reported at once, not at the next poll.
  if (pressed) Deliver();
}

void RawMouse::Deliver() {
  if (!Reporting()) return;
  for (const RawInputDevice::Change& change : state_.Poll()) {
    sink_.OnEvent(device_, Event::InputState, change.index, change.code);
    // The handler may have asked the window to close: then nothing more.
    if (!Reporting()) return;
  }
}

}  // namespace vornick::win32
