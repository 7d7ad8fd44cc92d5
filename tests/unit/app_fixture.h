// A whole program on the fakes: the main form, the virtual machine and the
// application object wired together as the entry point wires the real ones.
#pragma once

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/main_form.h"
#include "fakes/fake_form.h"
#include "fakes/fake_system.h"

namespace vornick::testing {

class AppFixture : public ::testing::Test {
 protected:
  AppFixture() {
    system.SetSink(&app);
    system.AttachMainForm(&form);
  }

  // Runs the created event, as the entry point does before the first show.
  void StartUp() { app.OnEvent(kMainWindow, Event::Created, 0, 0); }

  FakeSystem system;
  FakeForm form{MainFormSpec(), system};
  App app{form, system};
  ProgramState& state = app.state();
};

}  // namespace vornick::testing
