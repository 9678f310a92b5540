// The global hotkey registry: binds system-wide key combinations to routines of the program.
//
// Each registration asks the system for the hotkey under a small id of our own, records the
// routine, and the first one that succeeds makes Hotkey_WindowProc its window's procedure. From
// then on every hotkey notification of that window runs the recorded routine; every other message
// goes on to the procedure that was replaced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

using HotkeyHandler = void (*)();

// One recorded hotkey.
struct HotkeyEntry {
  WindowHandle Window = 0;  // the window the hotkey was registered for
  std::string Identifier;   // a copy of the caller's identifier text, untrimmed
  HotkeyHandler Handler = nullptr;
  int Id = 0;  // the id the hotkey was registered under
};

using HotkeyList = std::vector<HotkeyEntry>;

// Every successful registration appends one entry; entries are never removed or changed while the
// program runs. The start-up creates the table empty and the exit clean-up frees it.
extern HotkeyList HotkeyTable;
// The procedure the first successful registration replaced (see Plat_ReplaceWindowProc); 0 before.
// It stays set to the end of the process: the replacement is never undone.
extern std::uintptr_t PreviousWindowProc;

inline constexpr const char* kBlankHotkeyIdentifierNotice =
    "【窗口_热键注册】命令第5个参数【标识文本】不能为空文本";

// Registers `virtualKey` with `modifiers` (absent: none) for `window` (absent: the program's first
// visible top-level window, possibly 0) under the identifier `标识文本`, to run `handler`.
// Earlier registrations under an equal identifier are released first. A blank identifier (nothing
// left once ASCII and full-width spaces are trimmed) shows the notice above and registers nothing.
// Returns 1 when the hotkey was registered and recorded, 0 otherwise.
int 窗口_热键注册(std::optional<WindowHandle> window, std::optional<std::uint32_t> modifiers,
                  std::uint32_t virtualKey, HotkeyHandler handler, std::string_view 标识文本);

// The registry's window procedure.
std::intptr_t Hotkey_WindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam);

// The 1-based position of the first entry whose identifier equals `identifier` byte for byte; 0
// when there is none.
int Hotkey_FindByIdentifier(std::string_view identifier);
