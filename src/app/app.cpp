#include "app/app.h"

#include <array>

#include "app/conveniences.h"
#include "app/startup.h"
#include "capture/capture_overlay.h"
#include "engine/run_control.h"
#include "store/auto_save.h"
#include "store/table_menu.h"

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
    Route{kStartButton, Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnStartClicked(p); }},
    Route{kHotkeyFeedbackLabel, Event::Feedback,
          [](Ports& p, std::int32_t identifier, std::int32_t) { OnHotkeyFeedback(p, identifier); }},
    Route{kKeepOnTopBox, Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnKeepOnTopClicked(p); }},
    Route{kAutoMinimizeBox, Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnAutoMinimizeClicked(p); }},
    Route{"一键填入", Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnFillDelaysClicked(p); }},
    Route{"一键清空", Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnClearCoordinatesClicked(p); }},
    Route{kClickThroughOffButton, Event::Clicked,
          [](Ports& p, std::int32_t, std::int32_t) { OnClickThroughOffClicked(p); }},
    Route{kClickThroughOnButton, Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnClickThroughOnClicked(p); }},
    // Table persistence
    Route{"读取坐标", Event::MenuSelected, [](Ports& p, std::int32_t, std::int32_t) { OnLoadTableMenu(p); }},
    Route{"保存坐标", Event::MenuSelected, [](Ports& p, std::int32_t, std::int32_t) { OnSaveTableMenu(p); }},
    Route{"选择框1", Event::Clicked, [](Ports& p, std::int32_t, std::int32_t) { OnAutoSaveBoxClicked(p); }},
    Route{"时钟4", Event::Tick, [](Ports& p, std::int32_t, std::int32_t) { OnAutoSaveCountdownTick(p); }},
    Route{"时钟3", Event::Tick, [](Ports& p, std::int32_t, std::int32_t) { OnAutoSavePoll(p); }},
    // Point capture
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
