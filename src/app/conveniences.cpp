#include "app/conveniences.h"

#include "engine/conversions.h"
#include "engine/point_table.h"

namespace vornick {
namespace {

std::int32_t CheckedFlag(const Form& form, std::string_view box) { return form.Get(box, Prop::Checked) == 1 ? 1 : 0; }

void ShowInsteadOf(Form& form, std::string_view shown, std::string_view hidden) {
  form.Set(shown, Prop::Visible, 1);
  form.Set(hidden, Prop::Visible, 0);
}

}  // namespace

void OnKeepOnTopClicked(Ports& ports) {
  ports.form.Set(kMainWindow, Prop::AlwaysOnTop, CheckedFlag(ports.form, kKeepOnTopBox));
}

void OnAutoMinimizeClicked(Ports& ports) {
  ports.state.auto_minimize_flag = CheckedFlag(ports.form, kAutoMinimizeBox);
}

void OnFillDelaysClicked(Ports& ports) {
  const std::string delay = IntegerToText(TextToInteger(ports.form.Text("X坐标总延时")));
  PointTable table(ports.form);
  for (int row = 1; row <= kRowCount; ++row) table.SetDelayText(row, delay);
  ports.form.SetText(kStatusLabel, "延时已写入！");
}

void OnClearCoordinatesClicked(Ports& ports) {
  ports.form.SetText(kStatusLabel, "坐标已清空！");
  PointTable table(ports.form);
  for (int row = 1; row <= kRowCount; ++row) table.SetXText(row, "");
  for (int row = 1; row <= kRowCount; ++row) table.SetYText(row, "");
}

void OnClickThroughOffClicked(Ports& ports) { ShowInsteadOf(ports.form, kClickThroughOnButton, kClickThroughOffButton); }

void OnClickThroughOnClicked(Ports& ports) { ShowInsteadOf(ports.form, kClickThroughOffButton, kClickThroughOnButton); }

void InitialiseAutoMinimize(Ports& ports) {
  ports.form.Set(kAutoMinimizeBox, Prop::Checked, 1);
  ports.state.auto_minimize_flag = CheckedFlag(ports.form, kAutoMinimizeBox);
}

}  // namespace vornick
