// Helpers for tests of the Win32 form adapter: pumping the real message
// queue until a condition holds, and a sink that records events.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/events.h"
#include "platform/form.h"
#include "platform/win32/message_loop.h"

namespace vornick::win32::testing {

// Dispatches messages (through the forms' keyboard step, as the program's
// loops do) until `done` holds or `timeout` passes. A WM_QUIT posted by a
// destroyed test window is dropped. Returns whether `done` held.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      if (!PreTranslateFormMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

inline void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

struct RecordedEvent {
  std::string control;
  Event event;
  std::int32_t checked;  // the control's Checked property when the event was raised
};

class RecordingSink : public EventSink {
 public:
  explicit RecordingSink(const Form& form) : form_(form) {}
  void OnEvent(std::string_view control, Event event, std::int32_t, std::int32_t) override {
    events.push_back({std::string(control), event, form_.Alive() ? form_.Get(control, Prop::Checked) : -1});
  }
  int Count(std::string_view control, Event event) const {
    int n = 0;
    for (const auto& e : events) n += e.control == control && e.event == event;
    return n;
  }
  std::vector<RecordedEvent> events;

 private:
  const Form& form_;
};

inline std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::string out;
  for (const wchar_t* p = name; *p; ++p) out.push_back(static_cast<char>(*p));
  return out;
}

// A child's window rectangle in its parent's client coordinates.
inline RECT PlaceOf(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace vornick::win32::testing
