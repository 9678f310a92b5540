// Process-wide parts of the Win32 backend: start-up, the event loop, the end, directories, message
// boxes, the shell and the screen metrics.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/win32_platform.h"

namespace win32 {

Platform& ThePlatform() {
  static Platform platform;
  return platform;
}

void Emit(const PlatformEvent& event) {
  if (EventSink sink = ThePlatform().sink) sink(event);
}

namespace {

// The manifest asks for per-monitor-v2 awareness; executables without it (the test programs) ask
// here so they see the same physical pixels. Looked up at run time: older systems lack the call.
void RequestPerMonitorDpiAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  FARPROC proc = GetProcAddress(user32, "SetProcessDpiAwarenessContext");
  if (proc == nullptr) return;
  auto setContext = reinterpret_cast<SetContextFn>(reinterpret_cast<void (*)()>(proc));
  setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));  // PER_MONITOR_AWARE_V2
}

std::wstring ModuleFileName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

}  // namespace win32

using namespace win32;

void Plat_SetEventSink(EventSink sink) { ThePlatform().sink = sink; }

void Plat_Init() {
  Platform& p = ThePlatform();
  p.instance = GetModuleHandleW(nullptr);
  RequestPerMonitorDpiAwareness();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterClasses();
  // The run directory: the executable's directory without its trailing backslash ("C:" at a root).
  std::wstring dir = ModuleFileName();
  const std::size_t cut = dir.find_last_of(L'\\');
  dir.resize(cut == std::wstring::npos ? 0 : cut);
  p.runDirectory = WideToUtf8(dir);
  if (!dir.empty()) {
    // "C:" alone would mean the drive's current directory, not its root.
    const std::wstring target = dir.size() == 2 && dir[1] == L':' ? dir + L"\\" : dir;
    SetCurrentDirectoryW(target.c_str());
  }
}

std::string Plat_RunDirectory() { return ThePlatform().runDirectory; }

std::string Plat_GetCurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  for (int attempt = 0; attempt < 3 && size != 0; ++attempt) {
    std::wstring dir(size, L'\0');
    const DWORD n = GetCurrentDirectoryW(size, dir.data());
    if (n == 0) return {};
    if (n < size) {
      dir.resize(n);
      return WideToUtf8(dir);
    }
    size = n;  // it grew in between; try again with the new size
  }
  return {};
}

bool Plat_SetCurrentDirectory(const std::string& dir) {
  const auto wide = Utf8ToWideExact(dir);
  if (!wide || wide->empty()) return false;
  return SetCurrentDirectoryW(wide->c_str()) != FALSE;
}

void Plat_AtExit(void (*cleanUp)()) { ThePlatform().cleanUp = cleanUp; }

int Plat_RunEventLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) return -1;
    if (got == 0) return static_cast<int>(msg.wParam);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Plat_PauseDispatching(int milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        // Leave the quit request for the loop that owns it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void Plat_Exit(int code) {
  if (auto cleanUp = std::exchange(ThePlatform().cleanUp, nullptr)) cleanUp();
  ExitProcess(static_cast<UINT>(code));
}

void Plat_FatalError(const std::string& text) {
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"墨舟 屏幕画笔", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

std::uint32_t Plat_CurrentProcessId() { return GetCurrentProcessId(); }

int Plat_MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                    unsigned style) {
  return MessageBoxW(ToHwnd(owner), Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), style);
}

void Plat_OpenAddress(const std::string& address) {
  const auto wide = Utf8ToWideExact(address);
  if (!wide || wide->empty()) return;
  ShellExecuteW(nullptr, L"open", wide->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Size Plat_ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Point Plat_PointerPosition() {
  POINT pt{};
  if (!GetCursorPos(&pt)) return {};
  return {pt.x, pt.y};
}
