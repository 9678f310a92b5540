// Process-wide operations: run directory, current directory, text conversion, the screen, pauses.

#include <gtest/gtest.h>

#include "canvas/canvas_image.h"
#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "tests/win/win_test_support.h"

using namespace wintest;

namespace {

TEST(Text, ConvertsBothWaysAndRefusesBrokenNames) {
  const std::string text = "墨舟 屏幕画笔\u3000\U0001F58A";
  EXPECT_EQ(win32::Utf8ToWide(text), L"墨舟 屏幕画笔\u3000\U0001F58A");
  EXPECT_EQ(win32::WideToUtf8(win32::Utf8ToWide(text)), text);
  EXPECT_EQ(win32::Utf8ToWideExact(text), win32::Utf8ToWide(text));
  EXPECT_EQ(win32::Utf8ToWide(""), L"");
  EXPECT_FALSE(win32::Utf8ToWideExact("ab\xC3").has_value());
  EXPECT_FALSE(win32::Utf8ToWideExact("\xB1\xCA").has_value());  // GBK bytes are no UTF-8
  EXPECT_FALSE(win32::Utf8ToWideExact(std::string("a\0b", 3)).has_value());
  EXPECT_EQ(win32::Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
}

TEST(Process, RunDirectoryIsTheExecutablesDirectoryAndCurrent) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L'\\'));
  EXPECT_EQ(Plat_RunDirectory(), win32::WideToUtf8(dir));
  EXPECT_NE(Plat_RunDirectory().back(), '\\');
  EXPECT_EQ(Plat_GetCurrentDirectory(), Plat_RunDirectory());
}

TEST(Process, CurrentDirectoryTakesUtf8AndRefusesBadNames) {
  const std::string start = Plat_GetCurrentDirectory();
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"墨舟测试目录";
  CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(Plat_SetCurrentDirectory(win32::WideToUtf8(dir)));
  EXPECT_EQ(Plat_GetCurrentDirectory(), win32::WideToUtf8(dir));
  EXPECT_FALSE(Plat_SetCurrentDirectory(""));
  EXPECT_FALSE(Plat_SetCurrentDirectory("\xFF\xFE"));
  EXPECT_FALSE(Plat_SetCurrentDirectory(win32::WideToUtf8(dir) + "\\不存在"));
  EXPECT_EQ(Plat_GetCurrentDirectory(), win32::WideToUtf8(dir));
  ASSERT_TRUE(Plat_SetCurrentDirectory(start));
  RemoveDirectoryW(dir.c_str());
}

TEST(Process, ScreenCaptureHasTheCanvasImageHeadersOfTheScreenSize) {
  const Size screen = Plat_ScreenSize();
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(screen.height, GetSystemMetrics(SM_CYSCREEN));
  const ByteBlock image = Plat_CaptureScreen();
  const std::uint32_t stride = ((24u * screen.width + 31) / 32) * 4;
  const std::uint32_t pixels = stride * screen.height;
  ASSERT_EQ(image.size(), 54 + pixels);
  auto le32 = [](std::uint32_t v) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16),
                                     static_cast<std::uint8_t>(v >> 24)};
  };
  std::vector<std::uint8_t> expected = {'B', 'M'};
  auto add = [&](std::vector<std::uint8_t> b) { expected.insert(expected.end(), b.begin(), b.end()); };
  add(le32(54 + pixels));
  add({0, 0, 0, 0});
  add(le32(54));
  add(le32(40));
  add(le32(static_cast<std::uint32_t>(screen.width)));
  add(le32(static_cast<std::uint32_t>(screen.height)));
  add({1, 0, 24, 0});
  add(le32(0));
  add(le32(pixels));
  add(le32(0));
  add(le32(0));
  add(le32(0));
  add(le32(0));
  EXPECT_EQ(std::vector<std::uint8_t>(image.begin(), image.begin() + 54), expected);
}

TEST(Process, ScreenCaptureShowsWhatIsOnTheScreen) {
  ColourWindow window(100, 120, 60, 40, 0x3355AA, true);
  ShowWindow(window.hwnd, SW_SHOWNA);
  ASSERT_TRUE(PumpUntil([] { return ScreenPixel(130, 140) == 0x3355AAu; }));
  const ByteBlock image = Plat_CaptureScreen();
  EXPECT_EQ(ImagePixel(image, 100, 120), 0x3355AAu);
  EXPECT_EQ(ImagePixel(image, 159, 159), 0x3355AAu);
  EXPECT_NE(ImagePixel(image, 160, 140), 0x3355AAu);
}

TEST(Process, PointerPositionIsTheCursor) {
  MoveMouseTo(77, 66);
  EXPECT_EQ(Plat_PointerPosition(), (Point{77, 66}));
}

// Answers the next message box from inside its own loop, after reading it.
struct BoxProbe {
  static inline std::string title, text;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = GetForegroundWindow();
    wchar_t cls[16] = {};
    GetClassNameW(box, cls, 16);
    if (std::wstring(cls) != L"#32770") return;
    KillTimer(nullptr, id);
    wchar_t buffer[128] = {};
    GetWindowTextW(box, buffer, 128);
    title = win32::WideToUtf8(buffer);
    GetDlgItemTextW(box, 0xFFFF, buffer, 128);
    text = win32::WideToUtf8(buffer);
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  }
};

TEST(Process, MessageBoxShowsUtf8TextsAndReturnsTheButton) {
  SetTimer(nullptr, 0, 30, BoxProbe::Tick);
  EXPECT_EQ(Plat_MessageBox(0, "dd：画笔", "信息：", MB_YESNO), IDNO);
  EXPECT_EQ(BoxProbe::title, "信息：");
  EXPECT_EQ(BoxProbe::text, "dd：画笔");
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST(Process, PauseKeepsDispatching) {
  g_ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
  Plat_PauseDispatching(200);
  KillTimer(nullptr, timer);
  EXPECT_GT(g_ticks, 0);
}

}  // namespace
