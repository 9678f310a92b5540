#include "panel/panel_hotkeys.h"

#include <optional>

#include "app/app.h"
#include "app/app_state.h"
#include "desktop/hotkey_registry.h"
#include "panel/pen_width.h"

void Panel_RegisterHotkeys() {
  // The overlay's handle is read afresh for each call; the results are not needed: a refused key
  // stays unused and the others go ahead.
  窗口_热键注册(App().OverlayWindow, std::nullopt, kVkF1, PenMode_Begin, "1");
  窗口_热键注册(App().OverlayWindow, std::nullopt, kVkF2, PenMode_End, "2");
  窗口_热键注册(App().OverlayWindow, std::nullopt, kVkOemPlus, PenWidth_StepUp, "+");
  // The underscore, not the minus sign: the identifier names the key's shifted character.
  窗口_热键注册(App().OverlayWindow, std::nullopt, kVkOemMinus, PenWidth_StepDown, "_");
}
