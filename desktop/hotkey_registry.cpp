#include "desktop/hotkey_registry.h"

#include "desktop/notice.h"
#include "desktop/window_lookup.h"
#include "platform/hotkeys.h"
#include "platform/platform.h"

HotkeyList HotkeyTable;
std::uintptr_t PreviousWindowProc = 0;

namespace {

constexpr std::string_view kAsciiSpace = " ";
constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";  // U+3000

bool IsBlank(std::string_view text) {
  for (;;) {
    if (text.starts_with(kAsciiSpace))
      text.remove_prefix(kAsciiSpace.size());
    else if (text.starts_with(kFullWidthSpace))
      text.remove_prefix(kFullWidthSpace.size());
    else
      break;
  }
  // Only blanks at both ends are trimmed; whatever is left after the leading ones is not blank.
  return text.empty();
}

}  // namespace

int Hotkey_FindByIdentifier(std::string_view identifier) {
  for (std::size_t i = 0; i < HotkeyTable.size(); ++i)
    if (HotkeyTable[i].Identifier == identifier) return static_cast<int>(i + 1);
  return 0;
}

int 窗口_热键注册(std::optional<WindowHandle> window, std::optional<std::uint32_t> modifiers,
                  std::uint32_t virtualKey, HotkeyHandler handler, std::string_view 标识文本) {
  // Release every earlier registration under this identifier, each under its own id.
  for (const HotkeyEntry& entry : HotkeyTable)
    if (entry.Identifier == 标识文本) Plat_UnregisterHotKey(entry.Window, entry.Id);

  const WindowHandle target =
      window ? *window : Window_FindVisibleOfProcess(Process_GetCurrentId());

  if (IsBlank(标识文本)) {
    Notice_Show(kBlankHotkeyIdentifierNotice);
    return 0;
  }
  // Without a routine the hotkey could only ever do nothing.
  if (handler == nullptr) return 0;

  // Entries are never removed, so the next position in the table is an id no entry holds yet.
  const std::size_t id = HotkeyTable.size() + 1;
  if (id > static_cast<std::size_t>(kMaxApplicationHotkeyId)) return 0;
  if (!Plat_RegisterHotKey(target, static_cast<int>(id), modifiers.value_or(0), virtualKey))
    return 0;

  HotkeyTable.push_back({target, std::string(标识文本), handler, static_cast<int>(id)});
  if (HotkeyTable.size() < 2)
    PreviousWindowProc = Plat_ReplaceWindowProc(target, Hotkey_WindowProc);
  return 1;
}

std::intptr_t Hotkey_WindowProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  if (message != kMessageHotkey)
    return Plat_CallWindowProc(PreviousWindowProc, window, message, wParam, lParam);

  // Only an id we registered for this window leads to an entry; anything else (another program can
  // post this message with any wParam) is dropped.
  const HotkeyEntry* pressed = nullptr;
  for (const HotkeyEntry& entry : HotkeyTable)
    if (static_cast<std::uintptr_t>(entry.Id) == wParam && entry.Window == window) {
      pressed = &entry;
      break;
    }
  if (pressed == nullptr) return 0;

  // The first entry under the same identifier runs: after a re-registration, the older one.
  const int position = Hotkey_FindByIdentifier(pressed->Identifier);
  if (position == 0) Plat_FatalError("内部错误：热键的标识文本没有登记。");
  // The handler may pump messages and register again; take what it needs before calling it.
  const HotkeyHandler handler = HotkeyTable[static_cast<std::size_t>(position) - 1].Handler;
  handler();
  return 0;
}
