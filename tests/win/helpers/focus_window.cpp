// Another program's window that has the keyboard focus, for the Windows tests.
// Usage: focus_window.exe. Shows a window in the lower right part of the screen and brings it to
// the foreground; the tests can bring it back with SetForegroundWindow. It ends on WM_QUIT
// (posted to its thread) or after 60 s. The exit code is the number of key presses of F1, F2,
// = and - that reached it (none should: they are the program's hotkeys).

#include <windows.h>

namespace {

int g_keys = 0;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN &&
      (wParam == VK_F1 || wParam == VK_F2 || wParam == VK_OEM_PLUS || wParam == VK_OEM_MINUS))
    ++g_keys;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int wmain() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = L"MozhouTest.FocusWindow";
  if (!RegisterClassW(&wc)) return 100;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Another program", WS_POPUP | WS_BORDER, 900,
                              560, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  if (hwnd == nullptr) return 101;
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  const ULONGLONG deadline = GetTickCount64() + 60000;
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return g_keys;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (GetTickCount64() >= deadline) return g_keys;
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}
