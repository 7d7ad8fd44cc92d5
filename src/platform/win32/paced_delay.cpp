// Waits that keep the window's events flowing: the queue is pumped, then the
// thread sleeps until a message arrives or a high-resolution timer fires,
// against an absolute deadline on the performance counter. Never early, no
// busy loop apart from a last fraction of a millisecond.
#include <algorithm>

#include "platform/win32/message_loop.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// Timers wake a little late; the last stretch before the deadline is spun
// instead, so the wait ends on time without costing a core.
constexpr LONGLONG kSpinMicroseconds = 500;

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG TicksPerSecond() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

// Ticks in `ms` milliseconds, rounded up, without overflow for any int32.
LONGLONG MillisecondsToTicks(std::int32_t ms, LONGLONG ticks_per_second) {
  const LONGLONG whole = ms / 1000, rest = ms % 1000;
  return whole * ticks_per_second + (rest * ticks_per_second + 999) / 1000;
}

HANDLE CreateDelayTimer() {
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (timer == nullptr) timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  return timer;
}

}  // namespace

// Dispatches everything queued, as the main loop does. False when the
// program is closing: the window is gone or a quit message is queued (it
// stays queued for the main loop).
bool Win32System::PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (!PreTranslateFormMessage(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!MainWindowAlive()) return false;
  }
  return MainWindowAlive();
}

void Win32System::WaitForMessageOrTime(LONGLONG remaining_ticks, LONGLONG ticks_per_second) {
  const LONGLONG spin_ticks = kSpinMicroseconds * ticks_per_second / 1'000'000;
  if (remaining_ticks <= spin_ticks) {
    const LONGLONG deadline = Now() + remaining_ticks;
    while (Now() <= deadline) YieldProcessor();
    return;
  }
  const LONGLONG sleep_ticks = remaining_ticks - spin_ticks;
  if (!delay_timer_) delay_timer_.reset(CreateDelayTimer());
  if (delay_timer_) {
    // Relative due time in 100 ns units, negative.
    LARGE_INTEGER due;
    due.QuadPart = -(sleep_ticks / ticks_per_second * 10'000'000 +
                     sleep_ticks % ticks_per_second * 10'000'000 / ticks_per_second);
    if (SetWaitableTimer(delay_timer_.get(), &due, 0, nullptr, nullptr, FALSE)) {
      HANDLE timer = delay_timer_.get();
      MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      return;
    }
  }
  const LONGLONG sleep_ms = sleep_ticks * 1000 / ticks_per_second;  // whole ms, never past the deadline
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<LONGLONG>(sleep_ms, INFINITE - 1)),
                              QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

bool Win32System::PacedDelay(std::int32_t ms) {
  if (ms <= 0) return MainWindowAlive();
  const LONGLONG ticks_per_second = TicksPerSecond();
  const LONGLONG deadline = Now() + MillisecondsToTicks(ms, ticks_per_second);
  for (;;) {
    if (!PumpMessages()) return false;
    const LONGLONG now = Now();
    if (now > deadline) return true;
    WaitForMessageOrTime(deadline - now + 1, ticks_per_second);
  }
}

void Win32System::HandlePendingHotkey() {
  // Only the emergency stop: a zero delay stays a zero delay for everything else.
  // The keyboard hook, when it stands in, posts WM_HOTKEY too.
  MSG msg;
  while (MainWindowAlive() && PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace vornick::win32
