// A fake machine with a virtual clock. Waits advance virtual time and run the
// events scheduled inside them, nested exactly as a real message loop would
// dispatch them; tests schedule timer ticks, hotkey presses and clicks at
// chosen moments.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "capture/raw_input_device.h"
#include "platform/events.h"
#include "platform/system.h"

namespace vornick::testing {

class FakeForm;

class FakeSystem : public System {
 public:
  FakeSystem();
  ~FakeSystem() override;
  FakeSystem(const FakeSystem&) = delete;
  FakeSystem& operator=(const FakeSystem&) = delete;

  struct Click {
    std::int32_t x, y, kind;
    std::int64_t at_ms;
  };
  struct Message {
    std::string text, caption;
    std::int64_t at_ms;
  };

  // --- The virtual clock and its event queue.
  std::int64_t Now() const { return now_ms_; }
  // Runs `fn` at virtual time `at_ms` (or at the next dispatch if that has passed).
  void At(std::int64_t at_ms, std::function<void()> fn);
  // Runs `fn` at the next dispatch of any kind.
  void Post(std::function<void()> fn) { At(now_ms_, std::move(fn)); }
  // The main message loop: dispatches everything due up to Now() + ms.
  void RunFor(std::int64_t ms);
  // A repeating timer; `id` names it so it can be replaced or stopped.
  void StartTimer(const std::string& id, std::int32_t period_ms, std::function<void()> on_tick);
  void StopTimer(const std::string& id);
  // Shortest period a timer really gets, as on a real system.
  std::int32_t min_timer_ms = 10;

  // --- The window's life. After Close(), waits return false at once.
  void Close() { closed_ = true; }
  bool closed() const { return closed_; }
  void SetSink(EventSink* sink) { sink_ = sink; }
  EventSink* sink() const { return sink_; }

  // --- Emergency-stop hotkey.
  bool hotkey_registration_works = true;
  bool hotkey_hook_works = true;
  // Queues one Alt+A notification for virtual time `at_ms` (default: now),
  // handled at the first dispatch or HandlePendingHotkey() from then on.
  void PressHotkey() { PressHotkeyAt(now_ms_); }
  void PressHotkeyAt(std::int64_t at_ms);
  std::string hotkey_feedback_control;

  // --- Recorded effects.
  std::vector<Click> clicks;
  std::vector<Message> messages;
  std::function<void(const Click&)> on_click;  // runs after each recorded click
  std::int64_t click_cost_ms = 0;              // virtual time one click takes
  std::int64_t message_box_open_ms = 0;        // how long a message box stays up

  std::int32_t cursor_x = 0, cursor_y = 0;
  std::int32_t screen_width = 1920, screen_height = 1080;

  // --- System
  std::int32_t CursorX() override { return cursor_x; }
  std::int32_t CursorY() override { return cursor_y; }
  std::int32_t ScreenWidth() override { return screen_width; }
  std::int32_t ScreenHeight() override { return screen_height; }
  void SimulateClick(std::int32_t x, std::int32_t y, std::int32_t kind) override;
  [[nodiscard]] bool PacedDelay(std::int32_t ms) override;
  void HandlePendingHotkey() override;
  std::int32_t RegisterHotkey(std::string_view feedback_control, std::int32_t modifier_code,
                              std::int32_t virtual_key) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;

  std::int32_t registered_modifier_code = 0, registered_virtual_key = 0;

  // --- Modal window (fake_system_modal.cpp). Its FakeForm is built from its
  // WindowSpec and raises its events on the handlers given to OpenModal.
  // The main window, disabled while a modal window is open.
  void AttachMainForm(Form* main) { main_form_ = main; }
  // The open modal window, nullptr when none is open.
  FakeForm* modal() const;
  // A test that forgets to close its modal window fails instead of hanging.
  std::int64_t modal_limit_ms = 600'000;
  // Esc on the open window: closes it when its form says Esc closes.
  void PressEscape();
  // A close from elsewhere (WM_CLOSE from the taskbar or another program).
  void CloseModalFromOutside();
  // Work area of the monitor: where a maximised window goes; the client
  // area of the borderless overlay starts at its top-left.
  struct {
    std::int32_t left = 0, top = 0, width = 1920, height = 1040;
  } work_area;
  // Extended style of the open (or last) modal window, with Win32's bits.
  static constexpr std::int32_t kExLayered = 0x00080000;
  static constexpr std::int32_t kExTransparent = 0x00000020;
  static constexpr std::int32_t kExInitial = 0x00040000;  // WS_EX_APPWINDOW, whatever a new window has
  std::int32_t ex_style = kExInitial;
  std::optional<std::int32_t> transparent_tmp;  // the "transparent_tmp" property
  std::optional<Colour> colour_key;
  // Every call about the modal window and its device, in order
  // ("OpenModal CaptureWindow", "SetColourKey 16045489", "Destroyed", ...).
  std::vector<std::string> modal_calls;

  // --- The physical mouse: buttons 0 (primary), 1 and 2. The raw input
  // device sees each edge as its own event, dispatched next.
  void MouseButton(int button, bool down);
  // A press at `at_ms` held for `hold_ms` (0: press and release together).
  void MouseClickAt(std::int64_t at_ms, int button, std::int64_t hold_ms);

  void OpenModal(const WindowSpec& layout, WindowEvents& events) override;
  void CloseRequest(std::string_view window) override;
  Point ScreenToClient(std::string_view window, Point screen) override;
  void SetLayered(std::string_view window) override;
  void SetColourKey(std::string_view window, Colour key) override;
  void SetClickThrough(std::string_view window) override;
  void SelectRawMouse(std::string_view device, bool on) override;
  void SetRawInputPollPeriod(std::string_view device, std::int32_t ms) override;
  void InitialiseRawInput(std::string_view device) override;

  // --- Files: an in-memory disk keyed by full path.
  std::optional<std::string> documents_folder = std::string("C:\\Users\\tester\\Documents");
  std::string windows_folder = "C:\\Windows";
  std::map<std::string, std::string> files;
  // Reading these paths fails with the given reason; the file stays as it is.
  std::map<std::string, std::string> read_failures;
  // When not empty, every replacement fails with this reason and changes nothing.
  std::string replace_failure;
  // Every successful replacement, in order, each one whole-file step.
  struct Replacement {
    std::string path;
    std::int64_t at_ms;
  };
  std::vector<Replacement> replacements;

  std::optional<std::string> DocumentsFolder() override { return documents_folder; }
  std::string WindowsFolder() override { return windows_folder; }
  FileBytes ReadFileBytes(std::string_view path) override;
  std::string ReplaceFileAtomically(std::string_view path, std::string_view bytes) override;

 private:
  struct Modal;
  bool IsModal(std::string_view window) const;
  bool DeviceReporting() const;
  void DeliverPoll();
  void QueueModalClose();
  void DestroyModal();

  Form* main_form_ = nullptr;
  std::unique_ptr<Modal> modal_;
  std::uint64_t modal_serial_ = 0;
  std::array<bool, kMouseButtons> mouse_down_{};

  struct Pending {
    std::function<void()> fn;
    bool hotkey = false;
  };
  // Dispatches events due up to `deadline`; false when the window closed.
  bool DispatchUntil(std::int64_t deadline);
  void Fire(std::map<std::tuple<std::int64_t, std::uint64_t>, Pending>::iterator it);

  std::int64_t now_ms_ = 0;
  std::uint64_t next_seq_ = 0;
  std::map<std::tuple<std::int64_t, std::uint64_t>, Pending> queue_;
  std::map<std::string, std::uint64_t> timer_generation_;
  bool closed_ = false;
  EventSink* sink_ = nullptr;
  std::int32_t next_hotkey_id_ = 33001;
  std::int32_t hotkey_id_ = 0;
};

}  // namespace vornick::testing
