// A fresh program on the fake machine with Alt+A registered, for the tests of
// runs and the emergency stop. Row N's point is (N * 10, N * 100), so a click
// tells which row it came from.
#pragma once

#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_form.h"
#include "engine/conversions.h"
#include "engine/point_table.h"
#include "engine/run_control.h"
#include "fakes/fake_form.h"

namespace vornick::testing {

struct FakeProgram {
  FakeSystem system;
  FakeForm form{MainFormSpec(), system};
  App app{form, system};
  ProgramState& state = app.state();
  PointTable table{form};

  FakeProgram() {
    system.SetSink(&app);
    SetUpEmergencyStop(app.ports());
  }
  FakeProgram(const FakeProgram&) = delete;
  FakeProgram& operator=(const FakeProgram&) = delete;

  void FillRows(std::initializer_list<int> rows, const char* delay = "100") {
    for (int row : rows) {
      table.SetXText(row, IntegerToText(row * 10));
      table.SetYText(row, IntegerToText(row * 100));
      table.SetDelayText(row, delay);
    }
  }
  void SetLoopCount(const char* text) { form.SetText(kLoopCountControl, text); }
  void SetEndDelay(const char* text) { form.SetText(kEndDelayControl, text); }
  void Start() { form.Click(kStartButton); }

  std::vector<int> ClickedRows() const {
    std::vector<int> rows;
    for (const auto& c : system.clicks) rows.push_back(c.x / 10);
    return rows;
  }
  // Every text written to `control`, in order.
  std::vector<std::string> WritesTo(std::string_view control) const {
    const std::string prefix = std::string(control) + "=";
    std::vector<std::string> texts;
    for (const auto& w : form.text_writes)
      if (w.starts_with(prefix)) texts.push_back(w.substr(prefix.size()));
    return texts;
  }
  std::string Shown(std::string_view control) const { return form.control(control).text; }
};

}  // namespace vornick::testing
