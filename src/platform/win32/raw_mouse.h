// The capture overlay's raw mouse device on Win32.
//
// Why raw input (RegisterRawInputDevices with RIDEV_INPUTSINK, delivered to a
// message-only window of our own) and not a snapshot poll, buffered
// DirectInput or a low-level mouse hook:
// - Every button transition arrives as its own WM_INPUT, so a click held for
//   a millisecond is seen as a press and a release; a snapshot read every
//   30 ms misses most of those.
// - RIDEV_INPUTSINK delivers input whatever window is under the cursor or in
//   the foreground, our own or another program's, and takes nothing away
//   from anyone: without RIDEV_NOLEGACY or RIDEV_CAPTUREMOUSE the click still
//   reaches the window it was meant for.
// - It is a queued message, not a callback in the system's input path: a
//   low-level hook on the GUI thread holds up every mouse event on the desktop
//   while the thread is busy (a message box, a slow handler), and Windows
//   silently removes a hook that keeps timing out. It needs no COM object, no
//   extra library and no process-wide pointer for a callback to find us.
// - Under Wine 8 it reports clicks of the X server's mouse (xdotool), with
//   RIM_INPUTSINK when another program has the focus, just as on Windows.
// Input synthesised by other programs (SendInput) counts like a physical
// click, as it does for DirectInput, so tools that click for people who
// cannot use a mouse can pick points too.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "capture/raw_input_device.h"
#include "platform/events.h"

namespace vornick::win32 {

class RawMouse {
 public:
  // Events go to `sink` as InputState of the control `device`.
  RawMouse(std::string device, EventSink& sink);
  RawMouse(const RawMouse&) = delete;
  RawMouse& operator=(const RawMouse&) = delete;
  ~RawMouse();

  // On an initialised device: on reports, off stops reporting.
  void Select(bool on);
  // Restarts the poll timer; 0 stops polling (and reporting).
  void SetPollPeriod(int ms);
  // Starts listening: every code 0, buttons down now count as up until released.
  // False when the system refused the registration.
  bool Initialise();
  // Reports nothing more, for good: the window it belongs to is closing.
  void Stop();

  // The window that receives the device's input and timer.
  HWND window() const { return window_.get(); }

 private:
  struct WindowDestroyer {
    void operator()(HWND w) const { DestroyWindow(w); }
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnRawInput(HRAWINPUT input);
  void OnButtons(USHORT flags);
  void Deliver();
  bool Reporting() const { return initialised_ && selected_ && !stopped_ && poll_ms_ > 0; }
  void Unregister();

  std::string device_;
  EventSink& sink_;
  std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer> window_;
  RawInputDevice state_;
  bool initialised_ = false;
  bool registered_ = false;
  bool selected_ = false;
  bool stopped_ = false;
  int poll_ms_ = 0;
};

}  // namespace vornick::win32
