// System-wide hotkeys and window procedures in the in-memory desktop.
//
// Tests script key combinations that another program holds, press keys the way the system would
// (a hotkey notification to the registered window's current procedure), deliver any message to a
// window's current procedure, and read what the windows' own procedures received.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/hotkeys.h"

namespace fake {

struct HotkeyRegistration {
  WindowHandle window = 0;
  int id = 0;
  unsigned modifiers = 0;
  unsigned virtualKey = 0;
  friend bool operator==(const HotkeyRegistration&, const HotkeyRegistration&) = default;
};

struct WindowMessage {
  WindowHandle window = 0;
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const WindowMessage&, const WindowMessage&) = default;
};

struct HeldCombination {
  unsigned modifiers = 0;
  unsigned virtualKey = 0;
};

struct HotkeyDesktop {
  std::vector<HotkeyRegistration> registered;  // held by the program now, in registration order
  std::vector<HeldCombination> heldElsewhere;  // combinations another program holds
  // "Register <window> <id> <modifiers> <key> ok|refused", "Unregister <window> <id> ok|refused".
  std::vector<std::string> calls;
  std::map<WindowHandle, WindowProcedure> procedures;  // windows whose procedure was replaced
  bool replaceFails = false;                           // Plat_ReplaceWindowProc answers 0
  std::vector<WindowMessage> ownProcedureMessages;     // what the windows' own procedures got
  std::intptr_t ownProcedureResult = 0;                // what they answer
};

HotkeyDesktop& FakeHotkeys();
// Forgets every registration, replacement and record; fake::Reset calls it.
void ResetHotkeys();

// Hands a message to the window's current procedure (its own one unless replaced) and returns the
// result.
std::intptr_t DeliverMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam);
// A key press as the system handles a registered combination: the hotkey notification with the
// registration's id goes to its window. False when the program holds no such combination.
bool PressHotkey(unsigned virtualKey, unsigned modifiers = 0);

}  // namespace fake
