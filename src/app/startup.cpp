#include "app/startup.h"

namespace vornick {

void OnMainWindowCreated(Ports& ports) {
  (void)ports;
}

}  // namespace vornick
