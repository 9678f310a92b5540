// Global hotkeys and the replacement of a window's procedure by a portable one.

#include <windows.h>

#include "platform/hotkeys.h"
#include "platform/win32/win32_platform.h"

namespace {

// The portable procedure lives in a property of its window, so the one real WNDPROC below can
// serve any number of windows without a global.
const wchar_t kPortableProcedure[] = L"Mozhou.PortableProcedure";

LRESULT CALLBACK PortableProcedureTrampoline(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  auto procedure = reinterpret_cast<WindowProcedure>(GetPropW(hwnd, kPortableProcedure));
  if (procedure == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  const LRESULT result = procedure(win32::ToHandle(hwnd), message, wParam, lParam);
  // The last message a window gets: its property list has to be empty when it goes.
  if (message == WM_NCDESTROY) RemovePropW(hwnd, kPortableProcedure);
  return result;
}

}  // namespace

bool Plat_RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  return RegisterHotKey(win32::ToHwnd(window), id, modifiers, virtualKey) != FALSE;
}

bool Plat_UnregisterHotKey(WindowHandle window, int id) {
  return UnregisterHotKey(win32::ToHwnd(window), id) != FALSE;
}

std::uintptr_t Plat_ReplaceWindowProc(WindowHandle window, WindowProcedure procedure) {
  HWND hwnd = win32::ToHwnd(window);
  if (procedure == nullptr || !IsWindow(hwnd)) return 0;
  // Replacing twice would make the trampoline its own previous procedure.
  const auto trampoline = reinterpret_cast<LONG_PTR>(PortableProcedureTrampoline);
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == trampoline) return 0;
  if (!SetPropW(hwnd, kPortableProcedure, reinterpret_cast<HANDLE>(procedure))) return 0;
  SetLastError(ERROR_SUCCESS);
  const LONG_PTR previous = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, trampoline);
  if (previous == 0 && GetLastError() != ERROR_SUCCESS) {
    RemovePropW(hwnd, kPortableProcedure);
    return 0;
  }
  return static_cast<std::uintptr_t>(previous);
}

std::intptr_t Plat_CallWindowProc(std::uintptr_t previous, WindowHandle window, unsigned message,
                                  std::uintptr_t wParam, std::intptr_t lParam) {
  if (previous == 0) return 0;
  return CallWindowProcW(reinterpret_cast<WNDPROC>(previous), win32::ToHwnd(window), message,
                         static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}
