// The main window as the program builds it from its table.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <thread>

#include "app/main_form.h"
#include "form_test_support.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"

namespace vornick::win32 {
namespace {

using namespace std::chrono_literals;
using testing::ClassOf;
using testing::PlaceOf;
using testing::PumpUntil;
using testing::RecordingSink;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string WindowTextOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return Narrow(buffer);
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD error = 0;
    form = Win32Form::Create(MainFormSpec(), &error);
    ASSERT_TRUE(form) << "error " << error;
    sink = std::make_unique<RecordingSink>(*form);
    form->SetSink(sink.get());
    dpi = WindowDpi(form->hwnd());
  }
  void TearDown() override {
    form.reset();
    testing::PumpFor(0ms);
  }
  HWND Child(std::string_view name) const { return GetDlgItem(form->hwnd(), MainFormSpec().ControlId(name)); }
  int Scaled(int v) const { return ScaleToDpi(v, dpi); }

  const WindowSpec& layout = MainFormSpec();
  std::unique_ptr<Win32Form> form;
  std::unique_ptr<RecordingSink> sink;
  UINT dpi = kDesignDpi;
};

struct KindExpectation {
  ControlKind kind;
  const char* window_class;
  bool tab_stop;
};

constexpr KindExpectation kKinds[] = {
    {ControlKind::Label, "static", false},        {ControlKind::TransparentLabel, "static", false},
    {ControlKind::Picture, "static", false},      {ControlKind::ColourPicker, "button", true},
    {ControlKind::CheckBox, "button", true},      {ControlKind::Button, "button", true},
    {ControlKind::Edit, "edit", true},            {ControlKind::ComboList, "combobox", true},
};

TEST_F(MainWindow, EveryControlIsAChildWindowWithItsIdPlaceTextAndState) {
  std::size_t windows = 0, timers = 0;
  for (const ControlSpec& c : layout.controls) {
    SCOPED_TRACE(c.name);
    const HWND w = Child(c.name);
    if (c.kind == ControlKind::Timer) {
      EXPECT_EQ(w, nullptr);
      ++timers;
      continue;
    }
    ASSERT_NE(w, nullptr);
    ++windows;
    EXPECT_EQ(form->ControlWindow(c.name), w);
    const KindExpectation* kind = nullptr;
    for (const auto& k : kKinds)
      if (k.kind == c.kind) kind = &k;
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(Lower(ClassOf(w)), kind->window_class);
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    EXPECT_EQ((style & WS_TABSTOP) != 0, kind->tab_stop);
    EXPECT_EQ((style & WS_VISIBLE) != 0, c.visible);
    EXPECT_EQ(IsWindowEnabled(w) != FALSE, c.enabled);

    const RECT r = PlaceOf(w);
    EXPECT_EQ(r.left, Scaled(c.left));
    EXPECT_EQ(r.top, Scaled(c.top));
    EXPECT_EQ(r.right - r.left, Scaled(c.left + c.width) - Scaled(c.left));
    if (c.kind == ControlKind::ComboList) {
      // The closed height follows the font where the system ignores the asked field height (Wine).
      EXPECT_NEAR(r.bottom - r.top, Scaled(c.height), Scaled(3));
    } else {
      EXPECT_EQ(r.bottom - r.top, Scaled(c.top + c.height) - Scaled(c.top));
    }

    const LOGFONTW font = FontOf(w);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    switch (c.kind) {
      case ControlKind::CheckBox:
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0), c.checked ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_GE(font.lfWeight, FW_BOLD);
        break;
      case ControlKind::ComboList: {
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        EXPECT_EQ(font.lfHeight, -Scaled(13));
        ASSERT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.items.size()));
        for (std::size_t i = 0; i < c.items.size(); ++i) {
          wchar_t item[64] = {};
          SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
          EXPECT_EQ(Narrow(item), c.items[i]);
        }
        EXPECT_EQ(SendMessageW(w, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(WindowTextOf(w), "左键单击");
        break;
      }
      case ControlKind::TransparentLabel:
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
        EXPECT_EQ(WindowTextOf(w), c.text);
        break;
      case ControlKind::Picture: break;
      default: EXPECT_EQ(WindowTextOf(w), c.text); break;
    }
  }
  EXPECT_EQ(windows + timers, layout.controls.size());
  EXPECT_EQ(timers, 3u);
}

TEST_F(MainWindow, FormPortReadsTheTableState) {
  // What the program itself sees, through the port, by name.
  EXPECT_EQ(form->Text("状态标签"), "当前状态：等待探测或手动填写坐标！");
  EXPECT_EQ(form->Text("标签1"), "当前循环次数：0");
  EXPECT_EQ(form->Text("X坐标延时10"), "100");
  EXPECT_EQ(form->Get("保持最前", Prop::Checked), 1);
  EXPECT_EQ(form->Get("自动最小化", Prop::Checked), 0);
  EXPECT_EQ(form->Get("关闭穿透", Prop::Visible), 1);
  EXPECT_EQ(form->Get("开启穿透", Prop::Visible), 0);
  EXPECT_EQ(form->Get("状态标签", Prop::Enabled), 0);
  EXPECT_EQ(form->Get("X坐标指令7", Prop::Selected), 0);
  EXPECT_EQ(form->Get("颜色选择器1", Prop::PickedColour), static_cast<std::int32_t>(Rgb(255, 0, 0)));
  EXPECT_EQ(form->Get("时钟3", Prop::TimerPeriod), 0);  // started only when an auto-save is due
  EXPECT_EQ(form->Get("时钟4", Prop::TimerPeriod), 0);
  EXPECT_EQ(form->Get("时钟1", Prop::TimerPeriod), 0);
  EXPECT_EQ(form->Get("标签4", Prop::Left), Scaled(984));  // outside the client area, on purpose
  EXPECT_EQ(form->WindowName(), "MainWindow");
  EXPECT_EQ(form->Text("MainWindow"), layout.caption);
}

TEST_F(MainWindow, MenuBarHasTheTwoPopUpsWithTheGreyedAbout) {
  const HMENU bar = GetMenu(form->hwnd());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(layout.menu.size()));
  for (int p = 0; p < GetMenuItemCount(bar); ++p) {
    const MenuSpec& menu = layout.menu[static_cast<std::size_t>(p)];
    SCOPED_TRACE(menu.caption);
    wchar_t caption[64] = {};
    GetMenuStringW(bar, static_cast<UINT>(p), caption, 64, MF_BYPOSITION);
    EXPECT_EQ(Narrow(caption), menu.caption);
    EXPECT_EQ((GetMenuState(bar, static_cast<UINT>(p), MF_BYPOSITION) & MF_GRAYED) != 0, !menu.enabled);
    const HMENU popup = GetSubMenu(bar, p);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(menu.items.size()));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
      const std::string& item = menu.items[static_cast<std::size_t>(i)].caption;
      GetMenuStringW(popup, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
      EXPECT_EQ(Narrow(caption), item);
      EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, i)), layout.MenuId(item));
    }
  }
  EXPECT_TRUE(GetMenuState(bar, 1, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(MainWindow, FixedFrameShownCentredAndOnTop) {
  const HWND w = form->hwnd();
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(IsWindowVisible(w));  // shown by the entry, after the created event

  form->RaiseCreated();
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(w) != FALSE; }));
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(form->Get("MainWindow", Prop::AlwaysOnTop), 1);
  ASSERT_FALSE(sink->events.empty());
  EXPECT_EQ(sink->events[0].control, "MainWindow");
  EXPECT_EQ(sink->events[0].event, Event::Created);
  EXPECT_EQ(sink->Count("MainWindow", Event::Created), 1);

  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, Scaled(layout.width));
  EXPECT_EQ(r.bottom - r.top, Scaled(layout.height));
  const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(r.left + (r.right - r.left) / 2, screen_w / 2, 2);
  EXPECT_NEAR(r.top + (r.bottom - r.top) / 2, screen_h / 2, 2);
}

TEST_F(MainWindow, ClicksAndMenuChoicesReachTheSinkByName) {
  SendMessageW(Child("启动"), BM_CLICK, 0, 0);
  SendMessageW(Child("自动最小化"), BM_CLICK, 0, 0);
  SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(layout.MenuId("保存坐标"), 0), 0);
  SendMessageW(Child("准星"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Child("标签2"), BM_CLICK, 0, 0);  // a label is not clickable

  ASSERT_EQ(sink->events.size(), 4u);
  EXPECT_EQ(sink->events[0].control, "启动");
  EXPECT_EQ(sink->events[0].event, Event::Clicked);
  EXPECT_EQ(sink->events[1].control, "自动最小化");
  EXPECT_EQ(sink->events[1].event, Event::Clicked);
  EXPECT_EQ(sink->events[1].checked, 1);  // the box had toggled before the handler ran
  EXPECT_EQ(sink->events[2].control, "保存坐标");
  EXPECT_EQ(sink->events[2].event, Event::MenuSelected);
  EXPECT_EQ(sink->events[3].control, "准星");
  EXPECT_EQ(sink->events[3].event, Event::LeftButtonDown);
}

TEST_F(MainWindow, TheColourSwatchOpensTheColourDialogOverTheWindow) {
  form->Show();
  HWND dialog_owner = nullptr;
  std::thread answerer([&] {
    for (int tries = 0; tries < 500 && !dialog_owner; ++tries) {  // up to 10 s on a busy machine
      HWND dialog = FindWindowW(L"#32770", nullptr);
      if (dialog && IsWindowVisible(dialog)) {
        dialog_owner = GetWindow(dialog, GW_OWNER);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      }
      Sleep(20);
    }
  });
  const std::int32_t before = form->Get("颜色选择器1", Prop::PickedColour);
  SendMessageW(Child("颜色选择器1"), BM_CLICK, 0, 0);  // returns once the dialog is closed
  answerer.join();
  EXPECT_EQ(dialog_owner, form->hwnd());
  EXPECT_EQ(form->Get("颜色选择器1", Prop::PickedColour), before);  // cancelled: unchanged
}

TEST_F(MainWindow, ClosedWindowReadsDefaultsAndIgnoresWrites) {
  form->Show();
  DestroyWindow(form->hwnd());
  EXPECT_EQ(sink->Count("MainWindow", Event::Destroying), 1);
  EXPECT_FALSE(form->Alive());
  EXPECT_EQ(form->Text("状态标签"), "");
  EXPECT_EQ(form->Get("保持最前", Prop::Checked), 0);
  EXPECT_EQ(form->Get("MainWindow", Prop::Visible), 0);
  form->SetText("状态标签", "x");
  form->Set("时钟4", Prop::TimerPeriod, 1000);
  form->Set("MainWindow", Prop::PositionState, 2);
  form->Set("X坐标1", Prop::Left, 3);
  EXPECT_EQ(form->Get("时钟4", Prop::TimerPeriod), 0);
  // The last window of the program is gone: the quit message is queued.
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace vornick::win32
