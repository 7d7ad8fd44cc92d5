#include "app/startup.h"

#include "app/conveniences.h"

namespace vornick {

void OnMainWindowCreated(Ports& ports) {
  InitialiseAutoMinimize(ports);
}

}  // namespace vornick
