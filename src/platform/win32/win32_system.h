// The System port on Win32. One object per process, attached to the main
// window once it exists. Its capabilities live in separate files by area.
#pragma once

#include <windows.h>

#include "platform/system.h"

namespace vornick::win32 {

class RawMouse;

class Win32System : public System {
 public:
  Win32System() = default;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;
  ~Win32System() override;

  // The owner of message boxes and of the hotkey; called before the created event.
  void AttachMainWindow(HWND main_window) { main_window_ = main_window; }
  HWND main_window() const { return main_window_; }
  // False once the main window has been destroyed (the quit message is queued).
  bool MainWindowAlive() const { return main_window_ != nullptr && IsWindow(main_window_); }

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
  void OpenModal(const WindowSpec& spec, WindowEvents& events) override;
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
  class ModalWindow;
  // The open modal window called `name`, or nullptr.
  HWND ModalWindowNamed(std::string_view name) const;
  RawMouse* ModalRawMouse(std::string_view device);

  HWND main_window_ = nullptr;
  ModalWindow* modal_ = nullptr;  // lives on the stack of OpenModal
};

}  // namespace vornick::win32
