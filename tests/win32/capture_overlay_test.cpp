// The capture overlay as the program opens it: the real main window, the
// application's handlers and the Win32 system adapter.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "app/app.h"
#include "app/main_form.h"
#include "capture/capture_form.h"
#include "form_test_support.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/win32_system.h"

namespace vornick::win32 {
namespace {

using namespace std::chrono_literals;
using testing::PumpFor;
using testing::PumpUntil;

// Runs a check every few milliseconds from inside whatever message loop is
// running (the overlay's is nested in the press handler) until it returns true.
class WhileRunning {
 public:
  explicit WhileRunning(std::function<bool()> step) : step_(std::move(step)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WhileRunning::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VornickTestSteps";
    RegisterClassExW(&wc);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(window_, 1, 20, nullptr);
  }
  WhileRunning(const WhileRunning&) = delete;
  WhileRunning& operator=(const WhileRunning&) = delete;
  ~WhileRunning() { DestroyWindow(window_); }
  bool finished() const { return finished_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<WhileRunning*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_TIMER && self && !self->finished_ && !self->running_) {
      self->running_ = true;  // a step may run a nested loop of its own
      self->finished_ = self->step_();
      self->running_ = false;
      if (self->finished_) KillTimer(window, 1);
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
  std::function<bool()> step_;
  HWND window_ = nullptr;
  bool finished_ = false;
  bool running_ = false;
};

struct FindOverlay {
  HWND main;
  HWND found = nullptr;
};

BOOL CALLBACK NoteOverlay(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<FindOverlay*>(data);
  if (window != search->main && Win32Form::FromWindow(window) && IsWindowVisible(window)) search->found = window;
  return search->found == nullptr;
}

void SendButton(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
}

class CaptureOverlayWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Win32Form::Create(MainFormSpec());
    ASSERT_TRUE(form);
    system.AttachMainWindow(form->hwnd());
    app = std::make_unique<App>(*form, system);
    form->SetSink(app.get());
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->hwnd()) != FALSE; }));
  }
  void TearDown() override {
    form->SetSink(nullptr);
    form.reset();
    PumpFor(0ms);
  }

  HWND Overlay() const {
    FindOverlay search{form->hwnd()};
    EnumThreadWindows(GetCurrentThreadId(), NoteOverlay, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND OverlayControl(HWND overlay, std::string_view name) const {
    return GetDlgItem(overlay, CaptureFormSpec().ControlId(name));
  }

  // Presses the crosshair picture as the mouse does; `step` runs while the
  // overlay is open until it returns true. Returns when the overlay is gone.
  void Capture(std::function<bool(HWND overlay)> step) {
    WhileRunning steps([&] {
      const HWND overlay = Overlay();
      return overlay != nullptr && step(overlay);
    });
    const HWND picture = GetDlgItem(form->hwnd(), MainFormSpec().ControlId("准星"));
    PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // The press handler returns only once the overlay has closed.
    ASSERT_TRUE(PumpUntil([&] { return steps.finished() && Overlay() == nullptr; }, 20s));
  }

  Win32System system;
  std::unique_ptr<Win32Form> form;
  std::unique_ptr<App> app;
};

TEST_F(CaptureOverlayWin32, CoversTheWorkAreaWithTheLayeredStylesAndEscClosesIt) {
  for (const bool click_through : {true, false}) {
    form->Set("开启穿透", Prop::Visible, click_through ? 0 : 1);
    form->Set("关闭穿透", Prop::Visible, click_through ? 1 : 0);
    form->SetText("X坐标1", "");
    form->SetText("状态标签", "unchanged");
    bool checked = false;
    Capture([&](HWND overlay) {
      checked = true;
      const LONG_PTR style = GetWindowLongPtrW(overlay, GWL_EXSTYLE) & ~WS_EX_TOPMOST;  // the tick keeps it on top
      EXPECT_EQ(style, click_through ? (WS_EX_LAYERED | WS_EX_TRANSPARENT) : WS_EX_LAYERED) << click_through;
      EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(overlay, L"transparent_tmp")), click_through ? WS_EX_LAYERED : 0);
      COLORREF key = 0;
      BYTE alpha = 0;
      DWORD flags = 0;
      EXPECT_TRUE(GetLayeredWindowAttributes(overlay, &key, &alpha, &flags));
      EXPECT_EQ(key, kOverlayKeyColour);
      EXPECT_EQ(flags & LWA_COLORKEY, static_cast<DWORD>(LWA_COLORKEY));

      MONITORINFO monitor{};
      monitor.cbSize = sizeof monitor;
      GetMonitorInfoW(MonitorFromWindow(overlay, MONITOR_DEFAULTTONEAREST), &monitor);
      RECT place{};
      GetWindowRect(overlay, &place);
      EXPECT_TRUE(EqualRect(&place, &monitor.rcWork))
          << place.left << "," << place.top << " " << place.right << "," << place.bottom;
      EXPECT_FALSE(IsWindowEnabled(form->hwnd()));
      EXPECT_TRUE(IsIconic(form->hwnd()));

      // Esc meant for the read-out closes the whole overlay.
      PostMessageW(OverlayControl(overlay, "编辑框1"), WM_KEYDOWN, VK_ESCAPE, 0);
      return true;
    });
    EXPECT_TRUE(checked);
    EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(form->hwnd()); }));
    EXPECT_EQ(form->Text("X坐标1"), "");
    EXPECT_EQ(form->Text("状态标签"), "unchanged");
  }
}

TEST_F(CaptureOverlayWin32, LinesAndReadOutFollowTheCursorAndAClickWritesIt) {
  form->Set("颜色选择器1", Prop::PickedColour, static_cast<std::int32_t>(RGB(0, 0, 255)));
  SetCursorPos(300, 400);
  int step = 0;
  Capture([&](HWND overlay) {
    POINT cursor{300, 400};
    ScreenToClient(overlay, &cursor);
    const RECT across = testing::PlaceOf(OverlayControl(overlay, "透明标签1"));
    const RECT down = testing::PlaceOf(OverlayControl(overlay, "透明标签2"));
    const RECT read_out = testing::PlaceOf(OverlayControl(overlay, "编辑框1"));
    if (step == 0) {
      // Wait for the first ticks of both timers.
      if (across.top != cursor.y || read_out.left != cursor.x + 10) return false;
      EXPECT_EQ(across.left, 0);
      EXPECT_EQ(across.right, GetSystemMetrics(SM_CXSCREEN));
      EXPECT_LE(across.bottom - across.top, 2);
      EXPECT_EQ(down.left, cursor.x);
      EXPECT_EQ(down.top, 0);
      EXPECT_EQ(down.bottom, GetSystemMetrics(SM_CYSCREEN));
      EXPECT_LE(down.right - down.left, 2);
      EXPECT_EQ(read_out.top, cursor.y + 5);
      auto* overlay_form = Win32Form::FromWindow(overlay);
      EXPECT_EQ(overlay_form->Text("编辑框1"),
                " X轴 水平坐标：300\r\n Y轴 垂直坐标：400\r\n\r\n请再次单击自动写入坐标！");
      EXPECT_EQ(overlay_form->Get("透明标签1", Prop::TextColour), static_cast<std::int32_t>(RGB(0, 0, 255)));
      // The primary button as another program would press it.
      SendButton(MOUSEEVENTF_LEFTDOWN);
      SendButton(MOUSEEVENTF_LEFTUP);
      ++step;
    }
    return true;
  });
  EXPECT_EQ(form->Text("X坐标1"), "300");
  EXPECT_EQ(form->Text("Y坐标1"), "400");
  EXPECT_EQ(form->Text("状态标签"), "坐标1写入成功！");
  EXPECT_TRUE(IsWindowEnabled(form->hwnd()));
}

}  // namespace
}  // namespace vornick::win32
