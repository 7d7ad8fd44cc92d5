// The System port on Win32. One object per process, attached to the main
// window once it exists. Its capabilities live in separate files by area.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/events.h"
#include "platform/system.h"

namespace vornick::win32 {

class HotkeyHook;
class RawMouse;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

class Win32System : public System {
 public:
  Win32System();
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;
  ~Win32System() override;

  // The owner of message boxes and of the hotkey; called once it exists, before
  // the created event. Its procedure is subclassed to relay the hotkey and to
  // follow display changes (main_window_subclass.cpp).
  void AttachMainWindow(HWND main_window);
  HWND main_window() const { return main_window_; }
  // False once the main window has been destroyed (the quit message is queued).
  bool MainWindowAlive() const { return main_window_ != nullptr && IsWindow(main_window_); }

  // Where hotkey presses go: the relay raises Feedback on this sink (the
  // application object, the same sink the form adapter raises its events on).
  // Read at each press, so it may be set any time before the first one.
  void SetEventSink(EventSink* sink) { sink_ = sink; }

  // win32_system.cpp
  std::int32_t CursorX() override;
  std::int32_t CursorY() override;
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;

  // win32_input.cpp
  void SimulateClick(std::int32_t x, std::int32_t y, std::int32_t kind) override;

  // paced_delay.cpp
  [[nodiscard]] bool PacedDelay(std::int32_t ms) override;
  void HandlePendingHotkey() override;

  // hotkey_relay.cpp
  std::int32_t RegisterHotkey(std::string_view feedback_control, std::int32_t modifier_code,
                              std::int32_t virtual_key) override;

  // modal_window.cpp: the capture overlay, its layered styles and raw mouse.
  void OpenModal(const WindowSpec& layout, WindowEvents& events) override;
  void CloseRequest(std::string_view window) override;
  Point ScreenToClient(std::string_view window, Point screen) override;
  void SetLayered(std::string_view window) override;
  void SetColourKey(std::string_view window, Colour key) override;
  void SetClickThrough(std::string_view window) override;
  void SelectRawMouse(std::string_view device, bool on) override;
  void SetRawInputPollPeriod(std::string_view device, std::int32_t ms) override;
  void InitialiseRawInput(std::string_view device) override;

  // settings_io.cpp
  std::optional<std::string> DocumentsFolder() override;
  std::string WindowsFolder() override;
  FileBytes ReadFileBytes(std::string_view path) override;
  std::string ReplaceFileAtomically(std::string_view path, std::string_view bytes) override;

 private:
  // modal_window.cpp
  class ModalWindow;
  // The open modal window called `name`, or nullptr.
  HWND ModalWindowNamed(std::string_view name) const;
  RawMouse* ModalRawMouse(std::string_view device);

  // main_window_subclass.cpp
  static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                         DWORD_PTR self);
  void DetachMainWindow();

  // paced_delay.cpp
  bool PumpMessages();
  // Returns whether the wait's timer is still armed for the current deadline.
  bool WaitForMessageOrTime(LONGLONG remaining_ticks, LONGLONG ticks_per_second, bool timer_armed);

  // win32_system.cpp
  // Slow to ask for under Wine (the crosshair wants the screen size every
  // tick, each click the virtual desktop), so kept until the display changes.
  struct DisplayMetrics {
    RECT virtual_desktop;
    int screen_width, screen_height;
  };
  const DisplayMetrics& Display();

  // hotkey_relay.cpp
  // `keys` is WM_HOTKEY's lParam: the modifiers and the virtual key.
  void RelayHotkey(WPARAM identifier, LPARAM keys);

  HWND main_window_ = nullptr;
  HWND subclassed_window_ = nullptr;
  EventSink* sink_ = nullptr;
  ModalWindow* modal_ = nullptr;  // lives on the stack of OpenModal

  std::optional<DisplayMetrics> display_;

  // The wait's timer, made once: high resolution where the system has it.
  UniqueHandle delay_timer_;

  // Hotkey relay: the identifiers issued so far are [kFirstHotkeyId, next_hotkey_id_).
  static constexpr std::int32_t kFirstHotkeyId = 33001;
  std::int32_t next_hotkey_id_ = kFirstHotkeyId;
  std::string hotkey_feedback_control_;  // of the latest registration
  std::unique_ptr<HotkeyHook> hotkey_hook_;  // stands in when RegisterHotKey fails
};

}  // namespace vornick::win32
