#include "app/startup.h"

#include "app/conveniences.h"
#include "store/settings_file.h"

namespace vornick {

void OnMainWindowCreated(Ports& ports) {
  InitialiseAutoMinimize(ports);
  // Keep this the last step: the table is loaded once everything else is set up.
  LoadTable(ports.form, ports.system);
}

}  // namespace vornick
