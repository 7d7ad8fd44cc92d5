#include "app/app.h"

#include <array>

#include "app/startup.h"
#include "capture/capture_overlay.h"

namespace vornick {
namespace {

using Handler = void (*)(Ports&, std::int32_t a, std::int32_t b);

struct Route {
  std::string_view control;
  Event event;
  Handler handler;
};

// Every event of the main window that the program handles.
constexpr std::array kRoutes = {
    Route{kMainWindow, Event::Created, [](Ports& p, std::int32_t, std::int32_t) { OnMainWindowCreated(p); }},
    Route{kCrosshairPicture, Event::LeftButtonDown, [](Ports& p, std::int32_t, std::int32_t) { OpenCaptureOverlay(p); }},
};

}  // namespace

void App::OnEvent(std::string_view control, Event event, std::int32_t a, std::int32_t b) {
  for (const Route& route : kRoutes) {
    if (route.event == event && route.control == control) {
      route.handler(ports_, a, b);
      return;
    }
  }
}

}  // namespace vornick
