// Pen mode: freezing the screen onto the full-screen canvas, and shrinking the canvas away again.

#include "app/app.h"
#include "app/app_state.h"
#include "panel/panel_window.h"
#include "platform/platform.h"
#include "resources/forms.h"

namespace {

constexpr int kShowRestore = 9;              // SW_RESTORE
constexpr std::intptr_t kTopMost = -1;       // HWND_TOPMOST
constexpr std::intptr_t kNotTopMost = -2;    // HWND_NOTOPMOST
constexpr unsigned kNoSizeNoMove = 0x1 | 0x2;  // SWP_NOSIZE | SWP_NOMOVE

bool OptionChecked(const char* name) {
  return Plat_IsChecked(Plat_FindControl(App().PanelWindow, name));
}

void ShrinkOverlayAndRepaintPanel() {
  const AppState& a = App();
  Plat_SetHeight(a.OverlayWindow, 0);
  Plat_SetWidth(a.OverlayWindow, 0);
  Plat_RepaintWindow(a.PanelWindow);
}

}  // namespace

void PenMode_Begin() {
  const AppState& a = App();
  Plat_Canvas_SetCursor(a.Canvas, CanvasCursor::Pen);
  Plat_SetVisible(a.OverlayWindow, true);
  // The panel gets out of the picture before the capture and comes back after it.
  Plat_SetWidth(a.PanelWindow, 0);
  Plat_SetHeight(a.PanelWindow, 0);
  Plat_Focus(a.Canvas);
  // Captured before the overlay grows: a window may paint its (empty) surface the moment it is
  // enlarged, and that must never end up in the frozen picture. When pen mode is already on the
  // overlay covers the screen anyway, so the picture then holds the canvas with its drawing.
  ByteBlock screen = Plat_CaptureScreen();
  const Size size = Plat_ScreenSize();
  Plat_SetHeight(a.OverlayWindow, size.height);
  Plat_SetWidth(a.OverlayWindow, size.width);
  Plat_Canvas_SetPicture(a.Canvas, screen);
  screen.clear();
  screen.shrink_to_fit();
  Window_RaiseTopMost(a.OverlayWindow, true);
  Plat_SetWidth(a.PanelWindow, kPanelWidth);
  Plat_SetHeight(a.PanelWindow, kPanelHeight);
  if (OptionChecked(kAutoMinimiseName)) Plat_SetVisible(a.PanelWindow, false);
}

void PenMode_End() {
  ShrinkOverlayAndRepaintPanel();
  if (OptionChecked(kAutoRestoreName)) Plat_SetVisible(App().PanelWindow, true);
}

void Menu_EndPen() { ShrinkOverlayAndRepaintPanel(); }

void Window_RaiseTopMost(WindowHandle window, bool topMost) {
  Plat_ShowCommand(window, kShowRestore);
  Plat_SetForeground(window);
  Plat_SetZOrder(window, topMost ? kTopMost : kNotTopMost, kNoSizeNoMove);
}
