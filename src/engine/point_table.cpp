#include "engine/point_table.h"

#include "engine/conversions.h"

namespace vornick {

std::string XControl(int row) { return "X坐标" + IntegerToText(row); }
std::string YControl(int row) { return "Y坐标" + IntegerToText(row); }
std::string KindControl(int row) { return "X坐标指令" + IntegerToText(row); }
std::string DelayControl(int row) { return "X坐标延时" + IntegerToText(row); }
std::string XPlaceholderText(int row) { return XControl(row); }
std::string YPlaceholderText(int row) { return YControl(row); }

std::string PointTable::XText(int row) const { return form_.Text(XControl(row)); }
std::string PointTable::YText(int row) const { return form_.Text(YControl(row)); }
std::string PointTable::DelayText(int row) const { return form_.Text(DelayControl(row)); }
std::int32_t PointTable::ClickKind(int row) const { return form_.Get(KindControl(row), Prop::Selected); }

void PointTable::SetXText(int row, std::string_view text) { form_.SetText(XControl(row), text); }
void PointTable::SetYText(int row, std::string_view text) { form_.SetText(YControl(row), text); }
void PointTable::SetDelayText(int row, std::string_view text) { form_.SetText(DelayControl(row), text); }

std::string PointTable::LoopCountText() const { return form_.Text(kLoopCountControl); }
std::string PointTable::EndDelayText() const { return form_.Text(kEndDelayControl); }

bool PointTable::IsRowSkipped(int row) const {
  return XText(row) == XPlaceholderText(row) || XText(row).empty() ||
         YText(row) == YPlaceholderText(row) || YText(row).empty();
}

bool PointTable::IsRowOccupied(int row) const { return !XText(row).empty() && !YText(row).empty(); }

}  // namespace vornick
