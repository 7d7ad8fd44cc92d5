#include "app/startup.h"

#include "store/settings_file.h"

namespace vornick {

void OnMainWindowCreated(Ports& ports) {
  // Keep this the last step: the table is loaded once everything else is set up.
  LoadTable(ports.form, ports.system);
}

}  // namespace vornick
