#include "app/startup.h"

#include "app/conveniences.h"
#include "engine/run_control.h"
#include "store/settings_file.h"

namespace vornick {

// Nothing here waits or dispatches, so no other handler runs before it ends.
void OnMainWindowCreated(Ports& ports) {
  SetUpEmergencyStop(ports);  // hotkey and stop handler first: Alt+A works from the first show
  InitialiseAutoMinimize(ports);
  // Keep this the last step: the table is loaded once everything else is set up.
  LoadTable(ports.form, ports.system);
}

}  // namespace vornick
