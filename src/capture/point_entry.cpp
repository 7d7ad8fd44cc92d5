#include "capture/point_entry.h"

#include "capture/capture_form.h"
#include "capture/raw_input_device.h"
#include "engine/conversions.h"
#include "engine/point_table.h"

namespace vornick {

void EnterCapturedPoint(Ports& ports, std::int32_t index, std::int32_t code) {
  if (index != kPrimaryButtonIndex || code <= 0) return;
  PointTable table(ports.form);
  for (int row = 1; row <= kRowCount; ++row) {
    if (table.IsRowOccupied(row)) continue;
    table.SetXText(row, IntegerToText(ports.system.CursorX()));
    table.SetYText(row, IntegerToText(ports.system.CursorY()));
    ports.form.SetText(kStatusLabel, "坐标" + IntegerToText(row) + "写入成功！");
    ports.system.CloseRequest(kCaptureWindow);
    return;
  }
  ports.form.SetText(kStatusLabel, "您已成功写入所有坐标，请点启动开始运行！");
  ports.system.CloseRequest(kCaptureWindow);
  ports.system.ShowMessage("坐标已满，请开始运行！", "警告:");
}

}  // namespace vornick
