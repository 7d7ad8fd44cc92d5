// The ten point rows and the two run settings, read from and written to the
// main window's controls at the moment of use. Nothing is cached.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/form.h"

namespace vornick {

constexpr int kRowCount = 10;

// Control names of row N (1..10).
std::string XControl(int row);      // "X坐标N"
std::string YControl(int row);      // "Y坐标N"
std::string KindControl(int row);   // "X坐标指令N"
std::string DelayControl(int row);  // "X坐标延时N"

inline constexpr std::string_view kLoopCountControl = "循环次数编辑框";
inline constexpr std::string_view kEndDelayControl = "编辑框1";

// A field holding exactly its own row's placeholder reads as empty to the runner.
std::string XPlaceholderText(int row);  // same text as XControl(row)
std::string YPlaceholderText(int row);

class PointTable {
 public:
  explicit PointTable(Form& form) : form_(form) {}

  std::string XText(int row) const;
  std::string YText(int row) const;
  std::string DelayText(int row) const;
  // Selected index of the row's combo box, -1 when nothing is selected.
  std::int32_t ClickKind(int row) const;

  void SetXText(int row, std::string_view text);
  void SetYText(int row, std::string_view text);
  void SetDelayText(int row, std::string_view text);

  std::string LoopCountText() const;
  std::string EndDelayText() const;

  // The runner's rule: X is its placeholder or empty, or Y is its placeholder
  // or empty; each test reads its control afresh.
  bool IsRowSkipped(int row) const;
  // Point entry's rule: X and Y both non-empty (placeholders count).
  bool IsRowOccupied(int row) const;

 private:
  Form& form_;
};

}  // namespace vornick
