#include "app/main_form.h"

#include <array>
#include <string>

#include "app/ports.h"
#include "engine/conversions.h"
#include "engine/point_table.h"

namespace vornick {
namespace {

using K = ControlKind;

constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);

// Tops of row N's label and boxes, combo box and delay box.
constexpr std::array<int, kRowCount> kRowTop = {197, 228, 259, 290, 321, 352, 383, 414, 445, 476};
constexpr std::array<int, kRowCount> kComboTop = {199, 229, 261, 292, 322, 353, 385, 416, 446, 477};
constexpr std::array<int, kRowCount> kDelayTop = {198, 229, 260, 291, 322, 353, 384, 415, 446, 477};
constexpr std::array<const char*, kRowCount> kRowLabelNames = {
    "透明标签2", "透明标签4", "透明标签6", "透明标签5", "透明标签8",
    "透明标签7", "透明标签10", "透明标签9", "透明标签12", "透明标签11"};

ControlSpec Control(std::string name, ControlKind kind, int left, int top, int width, int height,
                    std::string text = {}) {
  ControlSpec c = PlacedControl(name, kind, left, top, width, height);
  c.text = std::move(text);
  if (kind == K::ComboList) c.font = FontKind::ComboBox;
  if (kind == K::CheckBox) c.font = FontKind::Bold;
  return c;
}

ControlSpec Coloured(ControlSpec c, Colour text, Colour back) {
  c.text_colour = text;
  c.back_colour = back;
  return c;
}

void AddRows(std::vector<ControlSpec>& controls) {
  for (int row = 1; row <= kRowCount; ++row) {
    const int i = row - 1;
    controls.push_back(Control(kRowLabelNames[i], K::TransparentLabel, 15, kRowTop[i], 64, 32,
                               "坐标" + IntegerToText(row) + "："));
    controls.push_back(Coloured(Control(XControl(row), K::Edit, 74, kRowTop[i], 64, 32), Rgb(0, 224, 128), kBlack));
    controls.push_back(Coloured(Control(YControl(row), K::Edit, 142, kRowTop[i], 64, 32), Rgb(216, 216, 0), kBlack));
    ControlSpec kind = Control(KindControl(row), K::ComboList, 210, kComboTop[i], 80, 21);
    kind.items = {"左键单击", "左键双击", "右键单击", "右键双击"};
    controls.push_back(std::move(kind));
    controls.push_back(Coloured(Control(DelayControl(row), K::Edit, 290, kDelayTop[i], 64, 32, "100"),
                                Rgb(0, 0, 128), Rgb(255, 0, 255)));
  }
}

WindowSpec BuildMainForm() {
  WindowSpec w;
  w.name = std::string(kMainWindow);
  w.caption = "Vornick：多点连点器，由 Vornick 团队以 C++ 原生编写";
  w.left = 50;
  w.top = 50;
  w.width = 492;
  w.height = 603;
  w.always_on_top = true;
  w.position_state = kPositionCentred;
  w.menu = {{"坐标保存读取", true, {{"读取坐标"}, {"保存坐标"}}},
            {"关于", false, {{"最新版下载地址"}, {"版本号"}, {"作者"}}}};

  auto& c = w.controls;
  c.push_back(Control("准星", K::Picture, 0, 0, 104, 88));
  c.push_back(Control("标签2", K::Label, 112, 8, 72, 16, "准星颜色："));
  ControlSpec picker = Control("颜色选择器1", K::ColourPicker, 104, 24, 80, 24);
  picker.picked = Rgb(255, 0, 0);
  c.push_back(picker);
  c.push_back(Control("自动保存", K::Label, 200, 0, 272, 24, "自动保存坐标：勾选后15s自动覆盖一次！"));
  c.push_back(Control("选择框1", K::CheckBox, 200, 24, 112, 24, "自动保存坐标"));
  c.push_back(Control("标签1", K::Label, 312, 24, 160, 24, "当前循环次数：0"));
  ControlSpec on_top = Control("保持最前", K::CheckBox, 364, 47, 108, 24, "保持窗口最前");
  on_top.checked = true;
  c.push_back(on_top);
  c.push_back(Control("自动最小化", K::CheckBox, 368, 69, 96, 24, "自动最小化"));
  c.push_back(Control("水平坐标", K::Label, 107, 50, 253, 40, "请点击左侧准星开始获取坐标！"));
  ControlSpec status = Control(std::string(kStatusLabel), K::Label, 3, 94, 477, 48, "当前状态：等待探测或手动填写坐标！");
  status.enabled = false;
  c.push_back(status);
  c.push_back(Control("透明标签15", K::TransparentLabel, -9, 135, 1249, 15, std::string(200, '_')));
  c.push_back(Control("透明标签16", K::TransparentLabel, 0, 138, 1144, 15, std::string(200, '_')));
  c.push_back(Control("透明标签13", K::TransparentLabel, 76, 160, 64, 32, "X横坐标"));
  c.push_back(Control("透明标签14", K::TransparentLabel, 142, 160, 64, 32, "Y纵坐标"));
  c.push_back(Control("透明标签1", K::TransparentLabel, 217, 160, 72, 32, "单次延时："));
  c.push_back(Coloured(Control("X坐标总延时", K::Edit, 290, 162, 64, 32, "100"), kBlack, Rgb(255, 255, 0)));
  c.push_back(Control("一键填入", K::Button, 364, 156, 111, 32, "一键填入延时"));
  c.push_back(Control("一键清空", K::Button, 364, 191, 111, 33, "一键清空坐标"));
  AddRows(c);
  c.push_back(Control("循环执行次数", K::Label, 359, 238, 59, 16, "执行次数："));
  c.push_back(Coloured(Control(std::string(kLoopCountControl), K::Edit, 418, 232, 56, 24, "1"), kBlack, kWhite));
  c.push_back(Control("透明标签3", K::TransparentLabel, 359, 260, 61, 32, "结尾延时："));
  c.push_back(Coloured(Control(std::string(kEndDelayControl), K::Edit, 418, 257, 56, 32, "1000"), kBlack, kWhite));
  c.push_back(Control("关闭穿透", K::Button, 364, 296, 112, 48, "关闭穿透"));
  ControlSpec through_on = Control("开启穿透", K::Button, 364, 296, 112, 48, "开启穿透");
  through_on.visible = false;
  c.push_back(through_on);
  c.push_back(Control("启动", K::Button, 364, 350, 112, 48, "启动"));
  ControlSpec made_with = Control("启动2", K::Button, 364, 400, 112, 48, "以 C++20 与 Win32 原生编写");
  made_with.enabled = false;
  c.push_back(made_with);
  ControlSpec tested = Control("启动3", K::Button, 364, 448, 112, 56, "win7测试正常，其他系统自测");
  tested.enabled = false;
  c.push_back(tested);
  c.push_back(Control("标签3", K::Label, 8, 512, 472, 32, "坐标保存目前只提供保存一次及覆盖，急停快捷键（Alt+A）"));
  c.push_back(Control("标签4", K::Label, 984, 424, 56, 40, "反馈热键"));
  c.push_back(TimerControl("时钟3", 0));  // runs only while an auto-save is due
  c.push_back(TimerControl("时钟4", 0));
  c.push_back(TimerControl("时钟1", 0));
  return w;
}

}  // namespace

const WindowSpec& MainFormSpec() {
  static const WindowSpec layout = BuildMainForm();
  return layout;
}

}  // namespace vornick
