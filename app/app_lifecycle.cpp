// Start-up, the program-wide state and the exit clean-up.

#include <new>

#include "app/app.h"
#include "app/app_state.h"
#include "canvas/canvas_input.h"
#include "desktop/hotkey_registry.h"
#include "desktop/window_lookup.h"
#include "panel/panel_window.h"
#include "platform/platform.h"
#include "resources/forms.h"

AppState& App() {
  static AppState state;
  return state;
}

void App_InitState() {
  AppState& a = App();
  a.SelectionRect = {};
  HotkeyTable.clear();
  PreviousWindowProc = 0;
  EnumeratedWindows.clear();
  a.LastPoint.reset();
  // Everything else starts at 0 or none.
  a.ScreenshotMode = 0;
  a.SelectionStart = {};
  a.Selecting = 0;
  a.SelectionMoved = 0;
  a.SelectionEnd = {};
  a.PenWidth = 0;
  a.PenColour = 0;
  a.Drawing = 0;
  a.PanelDragging = 0;
  a.RubberBandImage.clear();
}

void App_FreeState() {
  AppState& a = App();
  a.SelectionRect = {};
  // The hotkeys stay registered and the replaced window procedure stays in place (so
  // PreviousWindowProc keeps its value): the process ends right after this.
  HotkeyList().swap(HotkeyTable);
  WindowList().swap(EnumeratedWindows);
  a.LastPoint.reset();
  Canvas_ReleaseRubberBand();
}

namespace {

void OnOverlayCreated(WindowHandle overlay) {
  App().OverlayWindow = overlay;
  App().Canvas = Plat_FindControl(overlay, kCanvasName);
  Overlay_OnCreated();
}

void OnPanelCreated(WindowHandle panel) {
  App().PanelWindow = panel;
  Panel_OnCreated(panel);
}

}  // namespace

void Overlay_OnCreated() {
  const AppState& a = App();
  const Size screen = Plat_ScreenSize();
  Plat_SetBounds(a.OverlayWindow, 0, 0, screen.width, screen.height);
  Plat_SetBounds(a.Canvas, 0, 0, screen.width, screen.height);
  App().ScreenshotMode = 0;
  Plat_LoadForm(kPanelForm, a.OverlayWindow, OnPanelCreated);
}

void App_StartUp() {
  // Running out of memory is the one internal error a user can meet: say so and end.
  std::set_new_handler([] { Plat_FatalError("内存不足，程序无法继续运行。"); });
  Plat_Init();
  App_InitState();
  Plat_AtExit(App_FreeState);
  Plat_SetEventSink(App_HandleEvent);
  Plat_LoadForm(kOverlayForm, 0, OnOverlayCreated);
}

int App_Start() {
  App_StartUp();
  return Plat_RunEventLoop();
}

void Menu_FollowAuthor() { Plat_OpenAddress(kAuthorPageAddress); }
