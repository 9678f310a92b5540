// Another program that posts hotkey notifications to a window, for the Windows tests.
// Usage: hotkey_poster.exe <window, hex> <final id, decimal>. Posts WM_HOTKEY with random wParam
// and lParam values that no registration of the program uses (and 0, 0xC000 and all bits set),
// then one with <final id> as a marker the test can wait for. Exit code 0 when every post went.

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <random>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 100;
  HWND target =
      reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::wcstoull(argv[1], nullptr, 16)));
  const WPARAM finalId = static_cast<WPARAM>(std::wcstoull(argv[2], nullptr, 10));
  std::mt19937_64 random(std::random_device{}() ^ GetTickCount64());
  int failed = 0;
  const WPARAM fixed[] = {0, 0xC000, ~WPARAM{0}};
  for (WPARAM w : fixed) failed += !PostMessageW(target, WM_HOTKEY, w, 0);
  for (int i = 0; i < 200; ++i) {
    // Above the ids applications may register, so the test knows none of them is the program's.
    const WPARAM w = static_cast<WPARAM>(random()) | 0x10000;
    const LPARAM l = static_cast<LPARAM>(random());
    failed += !PostMessageW(target, WM_HOTKEY, w, l);
  }
  failed += !PostMessageW(target, WM_HOTKEY, finalId, MAKELPARAM(0, VK_OEM_PLUS));
  return failed;
}
