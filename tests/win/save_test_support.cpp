#include "tests/win/save_test_support.h"

#include "platform/win32/text_win32.h"
#include "tests/win/win_test_support.h"

namespace wintest {

namespace {

constexpr int kNameCombo = 0x47C;  // cmb13: the name field of the Explorer-style dialog
constexpr int kNameEdit = 0x480;   // edt1: the name field of the older layout
constexpr int kTypeCombo = 0x470;  // cmb1: the file types

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

HWND NameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kNameCombo)) {
    if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
    return combo;
  }
  return GetDlgItem(dialog, kNameEdit);
}

void SendKeys(const std::wstring& text) {
  std::vector<INPUT> in;
  for (wchar_t c : text)
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | up;
      in.push_back(i);
    }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The input focus of the thread that owns `window`.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

template <typename Condition>
bool WaitFor(Condition done, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

}  // namespace

SaveDialogDriver::SaveDialogDriver(std::wstring title, std::wstring path)
    : title_(std::move(title)), path_(std::move(path)) {
  thread_ = CreateThread(nullptr, 0, &SaveDialogDriver::Run, this, 0, nullptr);
}

SaveDialogDriver::~SaveDialogDriver() { Finish(); }

const SeenDialog& SaveDialogDriver::Finish() {
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  return seen_;
}

DWORD WINAPI SaveDialogDriver::Run(void* self) {
  static_cast<SaveDialogDriver*>(self)->Drive();
  return 0;
}

void SaveDialogDriver::Drive() {
  HWND dialog = nullptr;
  if (!WaitFor(
          [&] {
            dialog = FindWindowW(L"#32770", title_.c_str());
            return dialog != nullptr && IsWindowVisible(dialog) && NameField(dialog) != nullptr;
          },
          20000))
    return;
  seen_.found = true;
  seen_.owner = GetWindow(dialog, GW_OWNER);
  seen_.title = TextOf(dialog);
  HWND name = NameField(dialog);
  seen_.nameAtStart = TextOf(name);
  if (HWND types = GetDlgItem(dialog, kTypeCombo)) {
    const LRESULT n = SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t item[256] = {};
      if (SendMessageW(types, CB_GETLBTEXTLEN, i, 0) < 255)
        SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
      seen_.fileTypes.push_back(item);
    }
  }

  // Keys go to the focused window of the foreground thread, as for a user at the keyboard.
  SetForegroundWindow(dialog);
  WaitFor([&] { return GetForegroundWindow() == dialog && FocusOf(dialog) == name; }, 3000);
  if (!path_.empty()) {
    SendKeys(path_);
    WaitFor([&] { return TextOf(name) == path_; }, 5000);
    seen_.typed = TextOf(name);
    PressKey(VK_RETURN);
  } else {
    PressKey(VK_ESCAPE);
  }
  WaitFor([&] { return !IsWindow(dialog); }, 10000);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (unsigned n = GetTickCount();; ++n) {
    path = std::wstring(base) + L"mozhou-save-" + std::to_wstring(n);
    if (CreateDirectoryW(path.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempFolder::~TempFolder() {
  for (const std::wstring& name : Names()) {
    SetFileAttributesW(File(name.c_str()).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(File(name.c_str()).c_str());
  }
  RemoveDirectoryW(path.c_str());
}

std::string TempFolder::Utf8(const wchar_t* name) const { return win32::WideToUtf8(File(name)); }

std::vector<std::wstring> TempFolder::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring n = found.cFileName;
    if (n != L"." && n != L"..") names.push_back(n);
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD read = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(h);
  bytes.resize(read);
  return bytes;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace wintest
