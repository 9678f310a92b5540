// System-wide hotkeys and the replacement of a window's procedure, through which the hotkey
// notifications reach the logic.
#pragma once

#include <cstdint>

#include "platform/types.h"

// The notification of a pressed hotkey; wParam is the id it was registered under.
inline constexpr unsigned kMessageHotkey = 0x0312;
// Hotkey ids an application may use: 0 .. 0xBFFF (the rest belongs to shared libraries).
inline constexpr int kMaxApplicationHotkeyId = 0xBFFF;

// Registers `virtualKey` with `modifiers` for `window` (0: the calling thread) under `id`. False
// when the system refuses, for example because another program holds the combination.
bool Plat_RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey);
bool Plat_UnregisterHotKey(WindowHandle window, int id);

// A window procedure in portable form: window, message, wParam, lParam -> the message's result.
using WindowProcedure = std::intptr_t (*)(WindowHandle window, unsigned message,
                                          std::uintptr_t wParam, std::intptr_t lParam);
// Makes `procedure` the window's procedure. Returns the procedure it replaced as an opaque value
// for Plat_CallWindowProc, or 0 when the window's procedure could not be replaced.
std::uintptr_t Plat_ReplaceWindowProc(WindowHandle window, WindowProcedure procedure);
// Hands a message to a procedure that Plat_ReplaceWindowProc returned and gives back its result;
// 0 for a `previous` of 0.
std::intptr_t Plat_CallWindowProc(std::uintptr_t previous, WindowHandle window, unsigned message,
                                  std::uintptr_t wParam, std::intptr_t lParam);
