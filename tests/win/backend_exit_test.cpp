// Ending the process: the registered clean-up and the exit code, and the fatal error box. Each case
// runs in a child process, which this test then watches like a user.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "tests/win/win_test_support.h"

namespace wintest {

namespace {

std::string g_markerFile;

void WriteMarker() {
  const std::wstring path = win32::Utf8ToWide(g_markerFile);
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, "cleaned", 7, &written, nullptr);
  CloseHandle(f);
}

}  // namespace

int RunChild(std::string_view mode, const char* file) {
  g_markerFile = file;
  Plat_Init();
  Plat_AtExit(WriteMarker);
  if (mode == "exit") Plat_Exit(7);
  if (mode == "fatal") Plat_FatalError("内部错误：列表下标越界");
  return 3;
}

}  // namespace wintest

namespace {

using namespace wintest;

struct Child {
  PROCESS_INFORMATION pi{};
  std::wstring marker;

  explicit Child(const std::wstring& mode) {
    wchar_t path[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    marker = std::wstring(temp) + L"mozhou-exit-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(marker.c_str());
    std::wstring command = L"\"" + std::wstring(path) + L"\" --child=" + mode + L" \"" + marker + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (!CreateProcessW(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      pi = {};
  }
  ~Child() {
    if (pi.hProcess != nullptr) {
      TerminateProcess(pi.hProcess, 99);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
    DeleteFileW(marker.c_str());
  }
  bool Ended() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  bool MarkerWritten() const { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }
};

struct BoxSearch {
  DWORD pid;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<BoxSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (pid == s->pid && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) s->box = w;
  return s->box == nullptr;
}

TEST(Exit, RunsTheCleanUpAndEndsWithTheCode) {
  Child child(L"exit");
  ASSERT_NE(child.pi.hProcess, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return child.Ended(); }, 20000));
  EXPECT_EQ(child.ExitCode(), 7u);
  EXPECT_TRUE(child.MarkerWritten());
}

TEST(Exit, FatalErrorShowsItsBoxThenEndsWithMinusOne) {
  Child child(L"fatal");
  ASSERT_NE(child.pi.hProcess, nullptr);
  BoxSearch search{child.pi.dwProcessId};
  ASSERT_TRUE(PumpUntil([&] {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.box != nullptr || child.Ended();
  }, 20000));
  ASSERT_NE(search.box, nullptr) << "the process ended without showing the error box";
  wchar_t text[128] = {};
  GetDlgItemTextW(search.box, 0xFFFF, text, 128);  // a message box's text control
  EXPECT_EQ(win32::WideToUtf8(text), "内部错误：列表下标越界");
  EXPECT_FALSE(child.Ended());  // it waits for the user
  PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return child.Ended(); }, 20000));
  EXPECT_EQ(child.ExitCode(), static_cast<DWORD>(-1));
}

}  // namespace
