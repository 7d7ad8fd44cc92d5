// The System port: everything the logic needs of the machine apart from the
// controls of its windows. The Win32 adapter implements it for real; the unit
// tests use a fake with a virtual clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornick {

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
