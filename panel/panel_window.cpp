// The control panel window: its creation sequence completes the program's start-up.

#include "panel/panel_window.h"

#include "app/app_state.h"
#include "panel/panel_hotkeys.h"
#include "platform/platform.h"

namespace {

// The design values of the width slider and the colour picker.
constexpr int kDesignPenWidth = 2;
constexpr Colour kDesignPenColour = 0x0000FF;  // red

}  // namespace

void Panel_OnCreated(WindowHandle panel) {
  AppState& a = App();
  Plat_SetWidth(panel, kPanelWidth);
  Plat_SetHeight(panel, kPanelHeight);

  Panel_RegisterHotkeys();

  // -- The tray icon and the panel's translucency come here.

  Plat_SetHeight(a.OverlayWindow, 0);
  Plat_SetWidth(a.OverlayWindow, 0);
  Plat_SetVisible(a.OverlayWindow, false);

  a.PenWidth = kDesignPenWidth;
  a.PenColour = kDesignPenColour;

  // -- The saved options are restored here.
}
