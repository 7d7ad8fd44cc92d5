// Plain windows and a map-backed form for the adapter tests: what the tests
// need of a main window, without the real form adapter.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/form.h"

namespace vornick::win32::testing {

// A top-level window (class with CS_DBLCLKS) that records what it receives.
// WM_CLOSE destroys it; nothing posts a quit message.
class TestWindow {
 public:
  struct Button {
    UINT message;
    int x, y;  // client coordinates
  };

  TestWindow(int left = 100, int top = 100, int width = 400, int height = 300);
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow();

  HWND hwnd() const { return hwnd_; }
  bool alive() const { return IsWindow(hwnd_) != FALSE; }

  std::vector<Button> buttons;  // every mouse-button message
  int app_messages = 0;         // WM_APP
  int timer_ticks = 0;          // WM_TIMER
  int key_menu_requests = 0;    // WM_SYSCOMMAND SC_KEYMENU, kept from opening a menu loop

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// Milliseconds on the performance counter since `start_ticks`.
double MillisecondsSince(LONGLONG start_ticks);
LONGLONG Ticks();

// The Form port over maps: controls spring into being when first used.
// Alive() follows a real window, so closing it is seen as on the real form.
class MapForm : public Form {
 public:
  explicit MapForm(HWND window) : window_(window) {}
  std::string_view WindowName() const override { return "MainWindow"; }
  bool Alive() const override { return IsWindow(window_) != FALSE; }
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, std::string_view text) override;
  std::int32_t Get(std::string_view control, Prop prop) const override;
  void Set(std::string_view control, Prop prop, std::int32_t value) override;

  std::vector<std::string> text_writes;  // "name=text", in order

 private:
  HWND window_;
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::pair<std::string, Prop>, std::int32_t> props_;
};

}  // namespace vornick::win32::testing
