#include "platform/fake/fake_hotkeys.h"

#include <algorithm>

namespace fake {

HotkeyDesktop& FakeHotkeys() {
  static HotkeyDesktop hotkeys;
  return hotkeys;
}

void ResetHotkeys() { FakeHotkeys() = HotkeyDesktop{}; }

namespace {

// Every window's procedure before it is replaced: it records what it receives.
std::intptr_t OwnProcedure(WindowHandle window, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  FakeHotkeys().ownProcedureMessages.push_back({window, message, wParam, lParam});
  return FakeHotkeys().ownProcedureResult;
}

std::string Hex(std::uintptr_t v) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  do {
    out.insert(out.begin(), digits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return "0x" + out;
}

}  // namespace

std::intptr_t DeliverMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  auto it = FakeHotkeys().procedures.find(window);
  WindowProcedure procedure = it == FakeHotkeys().procedures.end() ? OwnProcedure : it->second;
  return procedure(window, message, wParam, lParam);
}

bool PressHotkey(unsigned virtualKey, unsigned modifiers) {
  for (const HotkeyRegistration& r : FakeHotkeys().registered) {
    if (r.virtualKey != virtualKey || r.modifiers != modifiers) continue;
    // A registration without a window goes to the thread's queue, where no procedure sees it.
    if (r.window != 0) {
      const auto lParam = static_cast<std::intptr_t>((virtualKey << 16) | (modifiers & 0xFFFF));
      DeliverMessage(r.window, kMessageHotkey, static_cast<std::uintptr_t>(r.id), lParam);
    }
    return true;
  }
  return false;
}

}  // namespace fake

using namespace fake;

bool Plat_RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  HotkeyDesktop& d = FakeHotkeys();
  const auto same = [&](unsigned m, unsigned k) { return m == modifiers && k == virtualKey; };
  // A combination belongs to one registration on the whole desktop.
  const bool taken =
      std::any_of(d.heldElsewhere.begin(), d.heldElsewhere.end(),
                  [&](const HeldCombination& h) { return same(h.modifiers, h.virtualKey); }) ||
      std::any_of(d.registered.begin(), d.registered.end(),
                  [&](const HotkeyRegistration& r) { return same(r.modifiers, r.virtualKey); });
  const bool ok = !taken && id >= 0 && id <= kMaxApplicationHotkeyId;
  d.calls.push_back("Register " + Hex(window) + " " + std::to_string(id) + " " +
                    std::to_string(modifiers) + " " + std::to_string(virtualKey) +
                    (ok ? " ok" : " refused"));
  if (ok) d.registered.push_back({window, id, modifiers, virtualKey});
  return ok;
}

bool Plat_UnregisterHotKey(WindowHandle window, int id) {
  HotkeyDesktop& d = FakeHotkeys();
  auto it =
      std::find_if(d.registered.begin(), d.registered.end(),
                   [&](const HotkeyRegistration& r) { return r.window == window && r.id == id; });
  const bool ok = it != d.registered.end();
  if (ok) d.registered.erase(it);
  d.calls.push_back("Unregister " + Hex(window) + " " + std::to_string(id) +
                    (ok ? " ok" : " refused"));
  return ok;
}

std::uintptr_t Plat_ReplaceWindowProc(WindowHandle window, WindowProcedure procedure) {
  HotkeyDesktop& d = FakeHotkeys();
  if (window == 0 || procedure == nullptr || d.replaceFails) return 0;
  auto it = d.procedures.find(window);
  const WindowProcedure previous = it == d.procedures.end() ? OwnProcedure : it->second;
  d.procedures[window] = procedure;
  return reinterpret_cast<std::uintptr_t>(previous);
}

std::intptr_t Plat_CallWindowProc(std::uintptr_t previous, WindowHandle window, unsigned message,
                                  std::uintptr_t wParam, std::intptr_t lParam) {
  if (previous == 0) return 0;
  return reinterpret_cast<WindowProcedure>(previous)(window, message, wParam, lParam);
}
