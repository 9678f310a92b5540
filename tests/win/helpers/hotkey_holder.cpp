// Another program that holds F1 as its own global hotkey, for the Windows tests.
// Usage: hotkey_holder.exe <status-file>. Writes "held" or "refused" to the file once it has tried,
// then waits for WM_QUIT (posted to its thread) or 60 s. The exit code is the number of F1
// notifications it received.

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 100;
  const BOOL held = RegisterHotKey(nullptr, 1, 0, VK_F1);
  FILE* f = _wfopen(argv[1], L"w");
  if (f == nullptr) return 101;
  std::fputs(held ? "held" : "refused", f);
  std::fclose(f);
  int received = 0;
  const ULONGLONG deadline = GetTickCount64() + 60000;
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return received;
      if (msg.message == WM_HOTKEY && msg.wParam == 1) ++received;
      DispatchMessageW(&msg);
    }
    if (GetTickCount64() >= deadline) return received;
    MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}
