// The System port: everything the logic needs of the machine apart from the
// controls of its windows. The Win32 adapter implements it for real; the unit
// tests use a fake with a virtual clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/events.h"
#include "platform/form.h"
#include "platform/form_description.h"

namespace vornick {

struct Point {
  std::int32_t x = 0, y = 0;
};

class System {
 public:
  virtual ~System() = default;

  // --- Cursor and screen. Every call reads afresh.
  virtual std::int32_t CursorX() = 0;  // screen coordinates, physical pixels
  virtual std::int32_t CursorY() = 0;
  virtual std::int32_t ScreenWidth() = 0;   // the primary screen
  virtual std::int32_t ScreenHeight() = 0;

  // --- Clicks and waits.
  // Moves the cursor to (x, y) and delivers the button events of `kind` there
  // (0 left, 1 left double, 2 right, 3 right double; anything else as 0).
  virtual void SimulateClick(std::int32_t x, std::int32_t y, std::int32_t kind) = 0;

  // Keeps the window's events flowing and returns after more than `ms`
  // milliseconds; at once for ms <= 0 without dispatching anything.
  // Returns false when the program is closing (its main window is gone): the
  // caller abandons its work and touches no control.
  [[nodiscard]] virtual bool PacedDelay(std::int32_t ms) = 0;

  // Dispatches a pending emergency-stop notification, and nothing else, so a
  // run with zero delays can still be stopped.
  virtual void HandlePendingHotkey() = 0;

  // --- Emergency-stop hotkey.
  // Registers the hotkey on the main window; each press raises the Feedback
  // event of `feedback_control` with (identifier, 0) synchronously. Modifier
  // codes: 1 Ctrl, 2 Shift, 3 Ctrl+Shift, 4 Alt, 5 Ctrl+Alt, 6 Shift+Alt,
  // others passed through. Identifiers count from 33001 per process. When
  // RegisterHotKey fails, a keyboard hook watches for the combination
  // instead. Returns the identifier, or 0 when neither could be set up.
  virtual std::int32_t RegisterHotkey(std::string_view feedback_control, std::int32_t modifier_code,
                                      std::int32_t virtual_key) = 0;

  // --- Message box owned by the main window: MB_OK | MB_ICONINFORMATION |
  // MB_TASKMODAL. Returns when dismissed; other events go on meanwhile.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;

  // --- Modal window (the capture overlay). At most one is open.
  // Creates the window of `layout` and its controls, hands its Form to
  // `events.Bind` and raises its Created event before it is shown; disables
  // the main window; shows the window in its position state (maximised: over
  // the work area of the nearest monitor); then dispatches events until the
  // window is destroyed. However it closes (CloseRequest, Esc when
  // `layout.esc_closes`, a close from elsewhere, the program quitting), the main
  // window gets its former enabled state back first; then the window is
  // destroyed, Destroying is raised, the Form is unbound and the call returns.
  virtual void OpenModal(const WindowSpec& layout, WindowEvents& events) = 0;

  // Queues a close of the open window named `window`; it is destroyed the
  // next time events are dispatched. Its raw mouse device reports nothing
  // more from now on, so one capture click is never taken twice.
  virtual void CloseRequest(std::string_view window) = 0;

  // Screen coordinates -> the client coordinates of the open window `window`
  // (the units of its controls' Left and Top).
  virtual Point ScreenToClient(std::string_view window, Point screen) = 0;

  // Layered styles of the open window `window`, on Win32 its extended style.
  // SetLayered: the extended style becomes exactly WS_EX_LAYERED.
  virtual void SetLayered(std::string_view window) = 0;
  // The extended style becomes exactly WS_EX_LAYERED, with `key` as colour
  // key: pixels of exactly that colour are not shown and let clicks through.
  virtual void SetColourKey(std::string_view window, Colour key) = 0;
  // Keeps the former extended style in the window property
  // "transparent_tmp", then sets WS_EX_LAYERED | WS_EX_TRANSPARENT: every
  // click passes through the window; the colour key stays in force.
  virtual void SetClickThrough(std::string_view window) = 0;

  // --- Raw mouse device `device` of the open modal window: reports the
  // physical buttons 0 (primary), 1 and 2 of the mouse wherever the cursor is,
  // without taking any click from other programs, as InputState events
  // (InputIndex, ButtonStateCode) of the control `device` raised on the
  // window's handlers. Every press is reported, however short, within one
  // poll period; a button already down when the device is initialised counts
  // as up until it has been released. The device goes with its window.
  // Selection acts on an initialised device only (on: report, off: stop).
  virtual void SelectRawMouse(std::string_view device, bool on) = 0;
  // Polls every `ms` milliseconds; 0 stops polling.
  virtual void SetRawInputPollPeriod(std::string_view device, std::int32_t ms) = 0;
  // Opens the mouse and starts reporting, every state code 0. Nothing when
  // already initialised.
  virtual void InitialiseRawInput(std::string_view device) = 0;

  // --- Files. Paths are UTF-8.
  // The current user's documents folder as the system reports it (without
  // creating it), or nothing when it cannot be determined.
  virtual std::optional<std::string> DocumentsFolder() = 0;
  // Where the profile functions look for a file name given without a folder.
  virtual std::string WindowsFolder() = 0;

  // A whole file. Missing and unreadable are told apart, so that a file
  // which exists but cannot be read is never replaced by a new one.
  struct FileBytes {
    enum class Status { Read, Missing, Unreadable } status = Status::Missing;
    std::string bytes;   // when Read
    std::string reason;  // when Unreadable: the system's words
  };
  virtual FileBytes ReadFileBytes(std::string_view path) = 0;

  // Replaces the file's content in one step: a temporary file beside it is
  // written and flushed, then renamed over it, so the file is always either
  // the old or the new one. Returns the system's words when it failed (the
  // old file is then untouched), empty on success.
  virtual std::string ReplaceFileAtomically(std::string_view path, std::string_view bytes) = 0;
};

}  // namespace vornick
