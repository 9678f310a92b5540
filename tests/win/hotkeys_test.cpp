// The program's global hotkeys on the real desktop: keys sent with SendInput while another
// program has the focus, a key another program holds, notifications posted by another program,
// and the notice box and window lookup on real windows.

#include "platform/hotkeys.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/app_state.h"
#include "desktop/hotkey_registry.h"
#include "desktop/notice.h"
#include "desktop/window_lookup.h"
#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/win32_platform.h"
#include "resources/forms.h"
#include "tests/win/win_test_support.h"

using namespace wintest;

namespace {

HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

std::wstring HelperPath(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L'\\') + 1);
  return dir + name;
}

// A helper program of the tests, started with `arguments`; ended by WM_QUIT to its thread.
class Helper {
 public:
  Helper(const wchar_t* exe, const std::wstring& arguments) {
    const std::wstring path = HelperPath(exe);
    std::wstring command = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    started_ = CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi_) != FALSE;
  }
  ~Helper() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) {
      PostThreadMessageW(pi_.dwThreadId, WM_QUIT, 0, 0);
      if (WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(pi_.hProcess, 99);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Helper(const Helper&) = delete;
  Helper& operator=(const Helper&) = delete;

  bool Started() const { return started_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
  // Asks it to end and returns its exit code (nothing when it did not end).
  std::optional<DWORD> Quit() {
    PostThreadMessageW(pi_.dwThreadId, WM_QUIT, 0, 0);
    return Wait();
  }
  std::optional<DWORD> Wait(int timeoutMs = 10000) {
    // Pump meanwhile: the helper may be waiting for one of our windows.
    if (!PumpUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; },
                   timeoutMs))
      return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION pi_{};
};

struct ProcessSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisibleOfProcess(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ProcessSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// The first visible top-level window of `pid`, or nullptr.
HWND WindowOfProcess(DWORD pid) {
  ProcessSearch search{pid, nullptr};
  EnumWindows(FindVisibleOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Gives the keyboard focus to the helper's window, as a user clicking it would.
bool FocusHelper(const Helper& helper) {
  HWND w = nullptr;
  if (!PumpUntil([&] { return (w = WindowOfProcess(helper.ProcessId())) != nullptr; }))
    return false;
  return PumpUntil([&] {
    if (GetForegroundWindow() != w) SetForegroundWindow(w);
    return GetForegroundWindow() == w;
  });
}

std::vector<std::string> Identifiers() {
  std::vector<std::string> out;
  for (const HotkeyEntry& e : HotkeyTable) out.push_back(e.Identifier);
  return out;
}

int IdOf(const char* identifier) {
  const int position = Hotkey_FindByIdentifier(identifier);
  return position == 0 ? -1 : HotkeyTable[static_cast<std::size_t>(position) - 1].Id;
}

bool OverlayIs(const Rect& r) { return Plat_GetBounds(App().OverlayWindow) == r; }

// Ends the program's windows and gives its keys back, so that it can start again in this process
// as a fresh start would: new windows, an empty registry, the four registrations.
void StopProgram() {
  Plat_SetEventSink(nullptr);  // the panel's destruction must not end the test process
  for (const HotkeyEntry& e : HotkeyTable) Plat_UnregisterHotKey(e.Window, e.Id);
  if (IsWindow(Hwnd(App().OverlayWindow))) DestroyWindow(Hwnd(App().OverlayWindow));
  Pump();
}

class Hotkeys : public testing::Test {
 protected:
  void SetUp() override {
    if (App().OverlayWindow == 0 || !IsWindow(Hwnd(App().OverlayWindow))) App_StartUp();
    Plat_SetEventSink(App_HandleEvent);  // other suites may have taken the events
    screen = Plat_ScreenSize();
    ASSERT_EQ(Identifiers(), (std::vector<std::string>{"1", "2", "+", "_"}));
  }
  void TearDown() override {
    PenMode_End();
    PumpFor(50);
  }
  Size screen;
};

TEST_F(Hotkeys, KeysPressedWhileAnotherProgramHasTheFocusReachTheirHandlers) {
  Helper other(L"focus_window.exe", L"");
  ASSERT_TRUE(other.Started());
  ASSERT_TRUE(FocusHelper(other));
  ASSERT_TRUE(OverlayIs({0, 0, 0, 0}));

  PressKey(VK_F1);
  EXPECT_TRUE(PumpUntil([&] {
    return OverlayIs({0, 0, screen.width, screen.height});
  })) << "F1 did not begin pen mode";
  PressKey(VK_F2);
  EXPECT_TRUE(PumpUntil([] { return OverlayIs({0, 0, 0, 0}); })) << "F2 did not end pen mode";

  ASSERT_TRUE(FocusHelper(other));
  const int width = App().PenWidth;
  PressKey(VK_OEM_PLUS);
  EXPECT_TRUE(PumpUntil([&] { return App().PenWidth == width + 1; })) << "= did not step up";
  PressKey(VK_OEM_MINUS);
  EXPECT_TRUE(PumpUntil([&] { return App().PenWidth == width; })) << "- did not step down";
  // Each step lasts its 200 ms pause; none may count twice.
  PumpFor(400);
  EXPECT_EQ(App().PenWidth, width);
  EXPECT_EQ(GetForegroundWindow(), WindowOfProcess(other.ProcessId()));

  // Quick presses nest the steps inside each other's pauses; every one of them counts, and the
  // pen cursor is back once the outermost has ended.
  for (int i = 0; i < 5; ++i) PressKey(VK_OEM_PLUS);
  EXPECT_TRUE(PumpUntil([&] { return App().PenWidth == width + 5; }));
  PumpFor(1200);
  EXPECT_EQ(App().PenWidth, width + 5);
  EXPECT_EQ(win32::FindCanvas(Hwnd(App().Canvas))->cursor, CanvasCursor::Pen);
  App().PenWidth = width;

  // The keys went to this program, not to the one with the focus.
  EXPECT_EQ(other.Quit(), std::optional<DWORD>(0));
}

TEST_F(Hotkeys, AKeyAnotherProgramHoldsIsLeftToItAndTheOthersStillWork) {
  wchar_t dir[MAX_PATH] = {}, file[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  GetTempFileNameW(dir, L"hk", 0, file);
  StopProgram();
  {
    Helper holder(L"hotkey_holder.exe", L"\"" + std::wstring(file) + L"\"");
    ASSERT_TRUE(holder.Started());
    std::string status;
    ASSERT_TRUE(PumpUntil([&] {
      FILE* f = _wfopen(file, L"r");
      if (f == nullptr) return false;
      char text[16] = {};
      status = std::fgets(text, sizeof(text), f) ? text : "";
      std::fclose(f);
      return !status.empty();
    }));
    ASSERT_EQ(status, "held");

    App_StartUp();
    EXPECT_EQ(Identifiers(), (std::vector<std::string>{"2", "+", "_"}));
    Helper other(L"focus_window.exe", L"");
    ASSERT_TRUE(FocusHelper(other));

    PressKey(VK_F1);
    PumpFor(300);
    EXPECT_TRUE(OverlayIs({0, 0, 0, 0})) << "F1 belongs to the other program";

    const int width = App().PenWidth;
    PressKey(VK_OEM_PLUS);
    EXPECT_TRUE(PumpUntil([&] { return App().PenWidth == width + 1; }));
    PressKey(VK_OEM_MINUS);
    EXPECT_TRUE(PumpUntil([&] { return App().PenWidth == width; }));
    // F2 shows a hidden panel again when 自动还原 is checked.
    Plat_SetChecked(Plat_FindControl(App().PanelWindow, kAutoRestoreName), true);
    Plat_SetVisible(App().PanelWindow, false);
    PressKey(VK_F2);
    EXPECT_TRUE(PumpUntil([] { return Plat_IsVisible(App().PanelWindow); })) << "F2 did nothing";

    EXPECT_EQ(other.Quit(), std::optional<DWORD>(0));
    EXPECT_EQ(holder.Quit(), std::optional<DWORD>(1)) << "the holder should have got F1";
  }
  DeleteFileW(file);
  StopProgram();
  App_StartUp();  // F1 is free again
  EXPECT_EQ(Identifiers(), (std::vector<std::string>{"1", "2", "+", "_"}));
}

TEST_F(Hotkeys, NotificationsPostedByAnotherProgramWithIdsNotOursAreIgnored) {
  const int width = App().PenWidth;
  const std::size_t entries = HotkeyTable.size();
  const int plusId = IdOf("+");
  ASSERT_GT(plusId, 0);
  wchar_t arguments[64];
  swprintf(
      arguments, 64, L"%llx %d",
      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(Hwnd(App().OverlayWindow))),
      plusId);
  Helper poster(L"hotkey_poster.exe", arguments);
  ASSERT_TRUE(poster.Started());
  EXPECT_EQ(poster.Wait(), std::optional<DWORD>(0));
  // The marker is the last message posted: once it has run, every random one has been handled.
  ASSERT_TRUE(PumpUntil([&] { return App().PenWidth == width + 1; }));
  PumpFor(300);
  EXPECT_EQ(App().PenWidth, width + 1);
  EXPECT_TRUE(OverlayIs({0, 0, 0, 0}));
  EXPECT_EQ(HotkeyTable.size(), entries);
  App().PenWidth = width;
}

TEST_F(Hotkeys, OtherMessagesStillReachTheOverlaysOwnProcedureWithTheirValuesAndResults) {
  HWND overlay = Hwnd(App().OverlayWindow);
  // The form's own procedure turns its menu-choice message into an event naming the item whose
  // command id is the wParam.
  static std::vector<PlatformEvent> seen;
  seen.clear();
  Plat_SetEventSink([](const PlatformEvent& e) { seen.push_back(e); });
  SendMessageW(overlay, win32::kMenuChoiceMessage, 1, 0);
  Plat_SetEventSink(App_HandleEvent);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].kind, EventKind::MenuChoice);
  EXPECT_EQ(seen[0].item, kItemRedraw);
  // Results come back as the window's own procedure gave them.
  EXPECT_EQ(SendMessageW(overlay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abcde")), TRUE);
  EXPECT_EQ(SendMessageW(overlay, WM_GETTEXTLENGTH, 0, 0), 5);
  SendMessageW(overlay, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
}

// Finds this thread's message box from inside its modal loop, records it, then presses a button.
struct BoxProbe {
  static inline std::wstring title, text;
  static inline HWND owner = nullptr;
  static inline int button = 0;  // IDYES ... ; 0: Esc on the keyboard
  static inline bool found = false;
  static void Arm(int pressButton) {
    title.clear();
    text.clear();
    owner = nullptr;
    found = false;
    button = pressButton;
    SetTimer(nullptr, 0, 50, Tick);
  }
  static BOOL CALLBACK FindBox(HWND w, LPARAM p) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
  }
  // The box's message is its one static control with text.
  static BOOL CALLBACK ReadText(HWND w, LPARAM) {
    wchar_t t[256] = {};
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    GetWindowTextW(w, t, 256);
    if (std::wstring(cls) == L"Static" && t[0] != 0) text = t;
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) return;
    KillTimer(nullptr, id);
    found = true;
    wchar_t buffer[256] = {};
    GetWindowTextW(box, buffer, 256);
    title = buffer;
    owner = GetWindow(box, GW_OWNER);
    EnumChildWindows(box, ReadText, 0);
    if (button != 0) {
      SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    } else {
      SetForegroundWindow(box);
      PressKey(VK_ESCAPE);
    }
  }
};

TEST_F(Hotkeys, NoticeBoxAnswersWithTheButtonMinusOne) {
  const HWND panel = Hwnd(App().PanelWindow), overlay = Hwnd(App().OverlayWindow);

  BoxProbe::Arm(IDYES);
  EXPECT_EQ(Notice_Show("继续吗？", MB_YESNO | MB_ICONQUESTION), 5);
  ASSERT_TRUE(BoxProbe::found);
  EXPECT_EQ(BoxProbe::title, L"友情提醒");
  EXPECT_EQ(BoxProbe::text, L"继续吗？");
  // Owned by the program's own first visible window.
  EXPECT_TRUE(BoxProbe::owner == panel || BoxProbe::owner == overlay);

  BoxProbe::Arm(IDNO);
  EXPECT_EQ(Notice_Show("继续吗？", MB_YESNO, std::string("标题"), WindowHandle{0}), 6);
  EXPECT_EQ(BoxProbe::title, L"标题");
  EXPECT_EQ(BoxProbe::owner, nullptr);

  // The blank-identifier notice: information, OK only; Esc closes it as OK.
  BoxProbe::Arm(0);
  EXPECT_EQ(窗口_热键注册(App().OverlayWindow, std::nullopt, VK_F9, PenMode_Begin, "\xE3\x80\x80 "),
            0);
  ASSERT_TRUE(BoxProbe::found);
  EXPECT_EQ(BoxProbe::text,
            win32::Utf8ToWide("【窗口_热键注册】命令第5个参数【标识文本】不能为空文本"));
  EXPECT_EQ(BoxProbe::title, L"友情提醒");
  EXPECT_EQ(HotkeyTable.size(), 4u);
}

TEST_F(Hotkeys, TheLookupListsRealWindowsWithTheirTextsCut) {
  const std::wstring className(60, L'K');
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className.c_str();
  ASSERT_NE(RegisterClassW(&wc), 0);
  std::wstring title;
  for (int i = 0; i < 100; ++i) title += L"中";  // 300 bytes in UTF-8
  HWND hidden = CreateWindowExW(WS_EX_TOPMOST, className.c_str(), title.c_str(), WS_POPUP, 0, 0, 10,
                                10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hidden, nullptr);

  WindowList list;
  ASSERT_GT(Window_EnumerateTopLevel(list), 0);
  EXPECT_TRUE(EnumeratedWindows.empty());
  const WindowInfo* info = nullptr;
  for (const WindowInfo& w : list)
    if (Hwnd(w.Handle) == hidden) info = &w;
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->ProcessId, GetCurrentProcessId());
  EXPECT_EQ(info->ThreadId, GetCurrentThreadId());
  EXPECT_EQ(info->Title.size(), 255u);  // 85 characters of three bytes
  EXPECT_EQ(info->ClassName, std::string(49, 'K'));
  // A hidden window, even above the others, is not the process's window.
  const WindowHandle found = Window_FindVisibleOfProcess(GetCurrentProcessId());
  EXPECT_NE(found, 0u);
  EXPECT_NE(Hwnd(found), hidden);
  EXPECT_TRUE(IsWindowVisible(Hwnd(found)));
  DestroyWindow(hidden);
  UnregisterClassW(className.c_str(), wc.hInstance);
}

}  // namespace
