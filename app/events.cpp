// The event sink: every event of the platform reaches the handler that owns it from here.

#include <string>

#include "app/app.h"
#include "app/app_state.h"
#include "canvas/canvas_input.h"
#include "canvas/picture_save.h"
#include "platform/platform.h"
#include "resources/forms.h"

namespace {

void OnOverlayMenu(const std::string& item) {
  if (item == kItemRedraw) return Menu_Redraw();
  if (item == kItemSavePicture) return Picture_SaveCanvas();
  if (item == kItemEndPen) return Menu_EndPen();
  if (item == kItemFollowAuthor) return Menu_FollowAuthor();
  if (item == kItemScreenshot) return Menu_Screenshot();
}

}  // namespace

void App_HandleEvent(const PlatformEvent& e) {
  const AppState& a = App();
  const bool onCanvas = a.Canvas != 0 && e.control == a.Canvas;
  switch (e.kind) {
    case EventKind::LeftPress:
      if (onCanvas) Canvas_OnLeftPress(e.x, e.y, e.modifiers);
      break;
    case EventKind::MouseMove:
      if (onCanvas) Canvas_OnMouseMove(e.x, e.y, e.modifiers);
      break;
    case EventKind::LeftRelease:
      if (onCanvas) Canvas_OnLeftRelease(e.x, e.y, e.modifiers);
      break;
    case EventKind::RightPress:
      if (onCanvas) Canvas_OnRightPress(e.x, e.y, e.modifiers);
      break;
    case EventKind::KeyPress:
      if (onCanvas) Canvas_OnKeyPress(e.key, e.modifiers);
      break;
    case EventKind::MenuChoice:
      if (e.window == a.OverlayWindow) OnOverlayMenu(e.item);
      break;
    case EventKind::WindowDestroyed:
      // The panel ends with its owner; either way the program is over.
      if (e.window == a.PanelWindow) Plat_Exit(0);
      break;
    case EventKind::TrayEvent:
    case EventKind::ControlEvent:
      break;
  }
}
