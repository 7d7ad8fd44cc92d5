#include "capture/capture_overlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_fixture.h"
#include "capture/capture_form.h"
#include "capture/crosshair.h"
#include "engine/point_table.h"
#include "fakes/fake_form.h"

namespace vornick {
namespace {

using testing::FakeSystem;

class CaptureOverlayTest : public testing::AppFixture {
 protected:
  // Presses the crosshair picture; returns when the overlay has closed.
  void Capture() { form.PressLeftButton("准星"); }
  // Runs `check` at `at_ms` while the overlay must still be open.
  void WhileOpen(std::int64_t at_ms, std::function<void(testing::FakeForm&)> check) {
    system.At(at_ms, [this, check] {
      ASSERT_NE(system.modal(), nullptr) << "overlay closed too early";
      check(*system.modal());
    });
  }
  void MoveCursor(std::int64_t at_ms, std::int32_t x, std::int32_t y) {
    system.At(at_ms, [this, x, y] {
      system.cursor_x = x;
      system.cursor_y = y;
    });
  }

  PointTable table{form};
};

TEST_F(CaptureOverlayTest, AClickWritesTheCursorAndRestoresTheMainWindow) {
  MoveCursor(50, 300, 400);
  WhileOpen(60, [this](testing::FakeForm& overlay) {
    EXPECT_EQ(form.Get("MainWindow", Prop::Enabled), 0);
    EXPECT_EQ(form.Get("MainWindow", Prop::PositionState), kPositionMinimised);
    EXPECT_EQ(overlay.Get("CaptureWindow", Prop::Visible), 1);
    EXPECT_EQ(overlay.Get("CaptureWindow", Prop::Width), 1920);
    EXPECT_EQ(overlay.Get("CaptureWindow", Prop::Height), 1040);
  });
  system.MouseClickAt(100, 0, 1);
  // Reported at the press, not at the next 30 ms poll.
  system.At(100, [this] { system.Post([this] { EXPECT_EQ(table.XText(1), "300"); }); });

  Capture();

  EXPECT_EQ(system.modal(), nullptr);
  EXPECT_EQ(table.XText(1), "300");
  EXPECT_EQ(table.YText(1), "400");
  EXPECT_EQ(form.Text("状态标签"), "坐标1写入成功！");
  EXPECT_EQ(form.Get("MainWindow", Prop::Enabled), 1);
  EXPECT_EQ(form.position_history, (std::vector<std::int32_t>{kPositionMinimised, kPositionNormal}));
  EXPECT_LT(system.Now(), 130);
}

TEST_F(CaptureOverlayTest, SetUpFollowsTheClickThroughModeAndThePickerColour) {
  const Colour green = Rgb(0, 200, 0);
  for (const bool click_through : {true, false}) {
    form.Set("开启穿透", Prop::Visible, click_through ? 0 : 1);
    form.Set("关闭穿透", Prop::Visible, click_through ? 1 : 0);
    form.Set("颜色选择器1", Prop::PickedColour, static_cast<std::int32_t>(green));
    system.modal_calls.clear();
    WhileOpen(50, [&](testing::FakeForm& overlay) {
      for (const char* control : {"透明标签1", "透明标签2", "编辑框1"})
        EXPECT_EQ(overlay.Get(control, Prop::TextColour), static_cast<std::int32_t>(green)) << control;
      EXPECT_EQ(overlay.Get("CaptureWindow", Prop::BackColour), static_cast<std::int32_t>(kOverlayKeyColour));
      EXPECT_EQ(overlay.Get("编辑框1", Prop::BackColour), static_cast<std::int32_t>(kOverlayKeyColour));
      EXPECT_EQ(system.colour_key, kOverlayKeyColour);
      if (click_through) {
        EXPECT_EQ(system.ex_style, FakeSystem::kExLayered | FakeSystem::kExTransparent);
        EXPECT_EQ(system.transparent_tmp, FakeSystem::kExLayered);
      } else {
        EXPECT_EQ(system.ex_style, FakeSystem::kExLayered);
        EXPECT_EQ(system.transparent_tmp, std::nullopt);
      }
      system.PressEscape();
    });

    Capture();

    std::vector<std::string> expected = {"OpenModal CaptureWindow",
                                         "SelectRawMouse 输入设备1 1",
                                         "SetRawInputPollPeriod 输入设备1 30",
                                         "InitialiseRawInput 输入设备1",
                                         "SetLayered CaptureWindow",
                                         "SetColourKey CaptureWindow 16045489"};
    if (click_through) expected.push_back("SetClickThrough CaptureWindow");
    expected.insert(expected.end(), {"Shown", "Destroyed"});
    EXPECT_EQ(system.modal_calls, expected) << "click-through " << click_through;
  }
}

TEST_F(CaptureOverlayTest, ClosingWithoutAClickWritesNothing) {
  for (const bool escape : {true, false}) {
    system.At(system.Now() + 300, [this, escape] { escape ? system.PressEscape() : system.CloseModalFromOutside(); });
    form.text_writes.clear();

    Capture();

    EXPECT_EQ(system.modal(), nullptr);
    EXPECT_TRUE(form.text_writes.empty());
    EXPECT_EQ(form.Get("MainWindow", Prop::Enabled), 1);
    EXPECT_EQ(form.Get("MainWindow", Prop::PositionState), kPositionNormal);
  }
}

TEST_F(CaptureOverlayTest, OnlyAPressThatBeginsWhileOpenCaptures) {
  system.MouseButton(0, true);  // the press on the picture, still held
  system.At(200, [this] { system.MouseButton(0, false); });
  system.MouseClickAt(300, 1, 10);  // right and middle buttons do nothing
  system.MouseClickAt(400, 2, 10);
  WhileOpen(450, [this](testing::FakeForm&) { EXPECT_EQ(table.XText(1), ""); });
  MoveCursor(480, 30, 40);
  // A double click whose edges are all queued before the first is handled
  // does not capture twice.
  system.MouseClickAt(500, 0, 0);
  system.MouseClickAt(500, 0, 0);

  Capture();

  EXPECT_EQ(table.XText(1), "30");
  EXPECT_EQ(table.YText(1), "40");
  EXPECT_EQ(table.XText(2), "");
  EXPECT_EQ(form.Text("状态标签"), "坐标1写入成功！");
}

TEST_F(CaptureOverlayTest, AFullTableClosesTheOverlayWhileTheMessageIsShown) {
  for (int row = 1; row <= kRowCount; ++row) {
    table.SetXText(row, "1");
    table.SetYText(row, "2");
  }
  system.message_box_open_ms = 1000;
  system.MouseClickAt(100, 0, 5);
  system.At(300, [this] {
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.modal(), nullptr);
    EXPECT_EQ(form.Get("MainWindow", Prop::PositionState), kPositionNormal);
  });

  Capture();

  EXPECT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(form.Text("状态标签"), "您已成功写入所有坐标，请点启动开始运行！");
  EXPECT_EQ(table.XText(10), "1");
}

TEST_F(CaptureOverlayTest, TheProgramClosingEndsTheOverlay) {
  system.At(100, [this] { system.Close(); });

  Capture();

  EXPECT_EQ(system.modal(), nullptr);
  EXPECT_EQ(form.position_history, std::vector<std::int32_t>{kPositionMinimised});
}

TEST_F(CaptureOverlayTest, LinesAndReadOutFollowTheCursorBelowATopTaskbar) {
  system.work_area = {0, 40, 1920, 1040};
  MoveCursor(10, 100, 200);
  WhileOpen(250, [this](testing::FakeForm& overlay) {
    EXPECT_EQ(overlay.Get("CaptureWindow", Prop::AlwaysOnTop), 1);
    EXPECT_EQ(overlay.Get("透明标签1", Prop::Top), 160);  // the cursor's row in the overlay
    EXPECT_EQ(overlay.Get("透明标签1", Prop::Left), 0);
    EXPECT_EQ(overlay.Get("透明标签1", Prop::Width), 1920);
    EXPECT_EQ(overlay.Get("透明标签2", Prop::Left), 100);
    EXPECT_EQ(overlay.Get("透明标签2", Prop::Top), 0);
    EXPECT_EQ(overlay.Get("透明标签2", Prop::Height), 1080);
    EXPECT_EQ(overlay.Text("编辑框1"), " X轴 水平坐标：100\r\n Y轴 垂直坐标：200\r\n\r\n请再次单击自动写入坐标！");
    EXPECT_EQ(overlay.Get("编辑框1", Prop::Left), 110);
    EXPECT_EQ(overlay.Get("编辑框1", Prop::Top), 165);
    system.PressEscape();
  });

  Capture();
}

TEST(ReadOutTest, StaysInsideTheScreensRightAndBottomEdges) {
  const struct {
    std::int32_t cursor_x, cursor_y, left, top;
  } cases[] = {
      {100, 200, 110, 205},
      {1700, 200, 1680, 205},  // 1710 > 1920 - 240
      {1670, 200, 1680, 205},  // exactly on the edge: stays
      {1671, 200, 1680, 205},
      {100, 1000, 110, 944},  // 1005 > 1080 - 136
      {100, 939, 110, 944},
      {1919, 1079, 1680, 944},
      {-50, -20, -40, -15},  // nothing keeps it from the left and top edges
  };
  FakeSystem system;
  testing::FakeForm overlay(CaptureFormSpec(), system);
  for (const auto& c : cases) {
    system.cursor_x = c.cursor_x;
    system.cursor_y = c.cursor_y;
    ReadOutTick(overlay, system);
    EXPECT_EQ(overlay.Get("编辑框1", Prop::Left), c.left) << c.cursor_x << "," << c.cursor_y;
    EXPECT_EQ(overlay.Get("编辑框1", Prop::Top), c.top) << c.cursor_x << "," << c.cursor_y;
  }
  EXPECT_EQ(ReadOutText(-200, 0), " X轴 水平坐标：-200\r\n Y轴 垂直坐标：0\r\n\r\n请再次单击自动写入坐标！");
}

}  // namespace
}  // namespace vornick
