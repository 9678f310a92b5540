// The desktop's top-level windows: EnumWindows and the queries the window lookup makes.

#include <windows.h>

#include "platform/win32/text_win32.h"
#include "platform/win32/win32_platform.h"
#include "platform/window_list.h"

namespace {

struct Walk {
  TopLevelVisitor visit;
  bool stopped = false;
};

BOOL CALLBACK VisitTopLevel(HWND hwnd, LPARAM context) {
  auto* walk = reinterpret_cast<Walk*>(context);
  if (walk->visit(win32::ToHandle(hwnd)) != 0) return TRUE;
  walk->stopped = true;
  return FALSE;
}

// Enough for every title the lookup keeps (255 bytes need at most 255 UTF-16 units), without
// asking another process's window for its length first.
constexpr int kTitleUnits = 1024;
// Class names have at most 256 characters.
constexpr int kClassNameUnits = 257;

}  // namespace

bool Plat_EnumTopLevelWindows(TopLevelVisitor visit) {
  if (visit == nullptr) return false;
  Walk walk{visit};
  const BOOL ok = EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&walk));
  return ok != FALSE && !walk.stopped;
}

std::uint32_t Plat_WindowProcessId(WindowHandle window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(win32::ToHwnd(window), &processId);
  return processId;
}

std::uint32_t Plat_WindowThreadId(WindowHandle window) {
  return GetWindowThreadProcessId(win32::ToHwnd(window), nullptr);
}

std::string Plat_WindowTitle(WindowHandle window) {
  wchar_t text[kTitleUnits] = {};
  const int n = GetWindowTextW(win32::ToHwnd(window), text, kTitleUnits);
  return n > 0 ? win32::WideToUtf8(std::wstring_view(text, static_cast<std::size_t>(n))) : "";
}

std::string Plat_WindowClassName(WindowHandle window) {
  wchar_t text[kClassNameUnits] = {};
  const int n = GetClassNameW(win32::ToHwnd(window), text, kClassNameUnits);
  return n > 0 ? win32::WideToUtf8(std::wstring_view(text, static_cast<std::size_t>(n))) : "";
}

bool Plat_IsWindowVisible(WindowHandle window) {
  return IsWindowVisible(win32::ToHwnd(window)) != FALSE;
}
