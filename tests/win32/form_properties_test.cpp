// Property semantics of the form adapter on small test windows: timers,
// position state, always-on-top, colours, Esc, DPI changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "form_test_support.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win32_form.h"

namespace vornick::win32 {
namespace {

using namespace std::chrono_literals;
using testing::PlaceOf;
using testing::PumpFor;
using testing::PumpUntil;
using testing::RecordingSink;

WindowSpec TestSpec(bool esc_closes = false) {
  WindowSpec w;
  w.name = "TestWindow";
  w.caption = "测试窗口";
  w.left = 100;
  w.top = 100;
  w.width = 320;
  w.height = 240;
  w.esc_closes = esc_closes;
  ControlSpec edit = PlacedControl("编辑", ControlKind::Edit, 10, 10, 100, 24);
  edit.text_colour = Rgb(0, 224, 128);
  edit.back_colour = Rgb(0, 0, 0);
  w.controls.push_back(edit);
  w.controls.push_back(PlacedControl("标签", ControlKind::Label, 10, 40, 100, 24));
  w.controls.push_back(PlacedControl("透明", ControlKind::TransparentLabel, 10, 70, 100, 24));
  ControlSpec ticking = PlacedControl("快钟", ControlKind::Timer, 0, 0, 0, 0);
  ticking.timer_ms = 1;
  w.controls.push_back(ticking);
  w.controls.push_back(PlacedControl("钟", ControlKind::Timer, 0, 0, 0, 0));
  return w;
}

class TestForm : public ::testing::Test {
 protected:
  void Make(const WindowSpec& layout) {
    form = Win32Form::Create(layout);
    ASSERT_TRUE(form);
    sink = std::make_unique<RecordingSink>(*form);
    form->SetSink(sink.get());
  }
  void SetUp() override { Make(TestSpec()); }
  void TearDown() override {
    form.reset();
    PumpFor(0ms);
  }
  int Ticks(std::string_view timer) const { return sink->Count(timer, Event::Tick); }
  // Writes `period` to the timer every 50 ms for `duration`, pumping meanwhile.
  void KeepWriting(std::string_view timer, std::int32_t a, std::int32_t b, std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    for (bool first = true; std::chrono::steady_clock::now() < end; first = !first) {
      form->Set(timer, Prop::TimerPeriod, first ? a : b);
      PumpFor(50ms);
    }
  }
  std::unique_ptr<Win32Form> form;
  std::unique_ptr<RecordingSink> sink;
};

TEST_F(TestForm, TimerOfTheTableRunsFromCreation) {
  EXPECT_EQ(form->Get("快钟", Prop::TimerPeriod), 1);
  EXPECT_TRUE(PumpUntil([&] { return Ticks("快钟") >= 3; }));
  EXPECT_EQ(Ticks("钟"), 0);
}

TEST_F(TestForm, TimerPeriodReadsBackAsWritten) {
  struct Case {
    std::int32_t written, read;
  };
  for (const Case c : {Case{1000, 1000}, Case{-5, 0}, Case{250, 250}, Case{0, 0}, Case{INT32_MIN, 0}}) {
    form->Set("钟", Prop::TimerPeriod, c.written);
    EXPECT_EQ(form->Get("钟", Prop::TimerPeriod), c.read) << c.written;
  }
}

TEST_F(TestForm, PositivePeriodTicksAndZeroStops) {
  form->Set("钟", Prop::TimerPeriod, 30);
  ASSERT_TRUE(PumpUntil([&] { return Ticks("钟") >= 3; }));
  form->Set("钟", Prop::TimerPeriod, 0);
  PumpFor(50ms);  // a tick already queued may still arrive
  const int stopped_at = Ticks("钟");
  PumpFor(400ms);
  EXPECT_EQ(Ticks("钟"), stopped_at);
}

TEST_F(TestForm, NegativePeriodStopsLikeZero) {
  form->Set("钟", Prop::TimerPeriod, 30);
  ASSERT_TRUE(PumpUntil([&] { return Ticks("钟") >= 1; }));
  form->Set("钟", Prop::TimerPeriod, -30);
  PumpFor(50ms);
  const int stopped_at = Ticks("钟");
  PumpFor(400ms);
  EXPECT_EQ(Ticks("钟"), stopped_at);
}

TEST_F(TestForm, WritingTheSamePeriodDoesNotRestartTheTimer) {
  // Rewritten every 50 ms: a restart would push the first tick out forever.
  KeepWriting("钟", 300, 300, 2500ms);
  EXPECT_GE(Ticks("钟"), 2);
}

TEST_F(TestForm, WritingAnotherPeriodRestartsTheTimer) {
  // Each write of a different period restarts it, first tick one period later.
  KeepWriting("钟", 1500, 1600, 2500ms);
  EXPECT_EQ(Ticks("钟"), 0);
  EXPECT_TRUE(PumpUntil([&] { return Ticks("钟") >= 1; }));
}

TEST_F(TestForm, PositionStateWaitsWhileHiddenAndActsWhileShown) {
  const HWND w = form->hwnd();
  form->Set("TestWindow", Prop::PositionState, 2);
  PumpFor(100ms);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_FALSE(IsIconic(w));
  EXPECT_EQ(form->Get("TestWindow", Prop::PositionState), 2);

  form->Show();  // the stored state applies on the first show
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(w) != FALSE; }));

  form->Set("TestWindow", Prop::PositionState, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(w) && IsWindowVisible(w); }));

  form->Set("TestWindow", Prop::PositionState, 9);  // clamped
  EXPECT_EQ(form->Get("TestWindow", Prop::PositionState), 3);
  form->Set("TestWindow", Prop::PositionState, -4);  // clamped to 0
  EXPECT_EQ(form->Get("TestWindow", Prop::PositionState), 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(w) && !IsIconic(w); }));

  form->Set("TestWindow", Prop::PositionState, 1);
  EXPECT_TRUE(PumpUntil([&] {
    RECT r{};
    GetWindowRect(w, &r);
    return std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2) <= 2 &&
           std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2) <= 2;
  }));
}

TEST_F(TestForm, MaximisedCoversTheWorkAreaOfItsMonitor) {
  // Borderless, as the capture overlay: a window manager will not maximise a
  // framed window that has no maximise box.
  WindowSpec layout = TestSpec();
  layout.border = false;
  layout.position_state = kPositionMaximised;
  Make(layout);
  form->Show();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT r{};
  // Windows reports it maximised; under Wine the window manager takes the
  // maximised flag back, and the window must still cover the work area.
  PumpFor(1000ms);
  GetWindowRect(form->hwnd(), &r);
  EXPECT_TRUE(EqualRect(&r, &work)) << r.left << "," << r.top << " " << r.right << "x" << r.bottom;
}

TEST_F(TestForm, AlwaysOnTopTogglesTheTopmostStyle) {
  const HWND w = form->hwnd();
  form->Show();
  for (const std::int32_t on : {1, 0, 1, 0}) {
    form->Set("TestWindow", Prop::AlwaysOnTop, on);
    EXPECT_EQ((GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, on == 1);
    EXPECT_EQ(form->Get("TestWindow", Prop::AlwaysOnTop), on);
  }
}

TEST_F(TestForm, ControlColoursReachTheirDrawing) {
  HDC dc = CreateCompatibleDC(nullptr);
  auto colour_message = [&](UINT message, std::string_view control) {
    return SendMessageW(form->hwnd(), message, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(form->ControlWindow(control)));
  };
  colour_message(WM_CTLCOLOREDIT, "编辑");
  EXPECT_EQ(GetTextColor(dc), Rgb(0, 224, 128));
  EXPECT_EQ(GetBkColor(dc), Rgb(0, 0, 0));

  form->Set("编辑", Prop::TextColour, static_cast<std::int32_t>(Rgb(1, 2, 3)));
  form->Set("编辑", Prop::BackColour, static_cast<std::int32_t>(Rgb(200, 100, 50)));
  const LRESULT brush = colour_message(WM_CTLCOLOREDIT, "编辑");
  EXPECT_EQ(GetTextColor(dc), Rgb(1, 2, 3));
  EXPECT_EQ(GetBkColor(dc), Rgb(200, 100, 50));
  LOGBRUSH lb{};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, Rgb(200, 100, 50));

  // A label without colours of its own takes the window's background colour.
  form->Set("TestWindow", Prop::BackColour, static_cast<std::int32_t>(Rgb(177, 213, 244)));
  colour_message(WM_CTLCOLORSTATIC, "标签");
  EXPECT_EQ(GetBkColor(dc), Rgb(177, 213, 244));

  form->Set("透明", Prop::TextColour, static_cast<std::int32_t>(Rgb(255, 0, 0)));
  EXPECT_EQ(colour_message(WM_CTLCOLORSTATIC, "透明"), reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH)));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(GetTextColor(dc), Rgb(255, 0, 0));
  DeleteDC(dc);
}

TEST_F(TestForm, PlacesAreWrittenAndReadInPixels) {
  form->Set("标签", Prop::Left, 37);
  form->Set("标签", Prop::Top, 61);
  form->Set("标签", Prop::Width, 222);
  form->Set("标签", Prop::Height, 33);
  const RECT r = PlaceOf(form->ControlWindow("标签"));
  EXPECT_EQ(r.left, 37);
  EXPECT_EQ(r.top, 61);
  EXPECT_EQ(r.right - r.left, 222);
  EXPECT_EQ(r.bottom - r.top, 33);
  EXPECT_EQ(form->Get("标签", Prop::Left), 37);
  EXPECT_EQ(form->Get("标签", Prop::Height), 33);
}

TEST_F(TestForm, DpiChangeRescalesTheWindowAndEveryControl) {
  const UINT dpi = WindowDpi(form->hwnd());
  form->Set("标签", Prop::Left, ScaleToDpi(50, dpi));  // moved by the program: keeps its move
  RECT suggested{10, 20, 10 + 2 * 320, 20 + 2 * 240};
  SendMessageW(form->hwnd(), WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
  RECT r{};
  GetWindowRect(form->hwnd(), &r);
  EXPECT_TRUE(EqualRect(&r, &suggested));
  const RECT edit = PlaceOf(form->ControlWindow("编辑"));
  EXPECT_EQ(edit.left, ScaleToDpi(10, 2 * dpi));
  EXPECT_EQ(edit.right - edit.left, ScaleToDpi(100, 2 * dpi));
  EXPECT_EQ(PlaceOf(form->ControlWindow("标签")).left, ScaleToDpi(50, 2 * dpi));
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->ControlWindow("编辑"), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -ScaleToDpi(12, 2 * dpi));
}

TEST(FormKeys, EscClosesOnlyAFormThatAsksForIt) {
  for (const bool esc_closes : {true, false}) {
    SCOPED_TRACE(esc_closes);
    auto form = Win32Form::Create(TestSpec(esc_closes));
    ASSERT_TRUE(form);
    form->Show();
    // Esc pressed while one of its controls has the focus.
    PostMessageW(form->ControlWindow("编辑"), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    if (esc_closes) {
      EXPECT_TRUE(PumpUntil([&] { return !form->Alive(); }));
    } else {
      PumpFor(200ms);
      EXPECT_TRUE(form->Alive());
    }
  }
}

// The modal form closes itself from a timer tick inside its own loop, as the
// capture overlay does.
class ClosingSink : public EventSink {
 public:
  ClosingSink(Win32Form& modal, HWND owner) : modal_(modal), owner_(owner) {}
  void OnEvent(std::string_view, Event event, std::int32_t, std::int32_t) override {
    if (event == Event::Tick && !closing_) {
      closing_ = true;
      owner_enabled_while_open = IsWindowEnabled(owner_) != FALSE;
      modal_.Close();
    }
    if (event == Event::Destroying) owner_enabled_at_destroy = IsWindowEnabled(owner_) != FALSE;
  }
  bool owner_enabled_while_open = true;
  bool owner_enabled_at_destroy = false;

 private:
  Win32Form& modal_;
  HWND owner_;
  bool closing_ = false;
};

TEST(FormModal, RunModalDisablesTheOtherWindowsUntilItCloses) {
  auto owner = Win32Form::Create(TestSpec());
  auto modal = Win32Form::Create(TestSpec(true));
  ASSERT_TRUE(owner && modal);
  owner->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(owner->hwnd()) != FALSE; }));
  ClosingSink sink(*modal, owner->hwnd());
  modal->SetSink(&sink);
  modal->RunModal();  // returns once the window is destroyed
  EXPECT_FALSE(modal->Alive());
  EXPECT_FALSE(sink.owner_enabled_while_open);
  EXPECT_TRUE(sink.owner_enabled_at_destroy);
  EXPECT_TRUE(IsWindowEnabled(owner->hwnd()));
  // The modal window was not the last one: no quit message.
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace vornick::win32
