// The program on the real desktop: pen mode freezing a known desktop, strokes drawn with the real
// mouse, the overlay menu, and the program started as its own process.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/app.h"
#include "app/app_state.h"
#include "canvas/canvas_image.h"
#include "platform/platform.h"
#include "tests/win/win_test_support.h"

using namespace wintest;

namespace {

HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

// Pixels of the canvas image that differ from the desktop pattern.
int PatternMismatches(const ByteBlock& image) {
  const auto view = CanvasImage_View(image);
  if (!view) return -1;
  int wrong = 0;
  for (int y = 0; y < view->height; ++y)
    for (int x = 0; x < view->width; ++x) wrong += view->PixelAt(x, y) != PatternAt(x, y);
  return wrong;
}

class AppPenMode : public testing::Test {
 protected:
  void SetUp() override {
    if (App().OverlayWindow == 0 || !IsWindow(Hwnd(App().OverlayWindow))) App_StartUp();
    Plat_SetEventSink(App_HandleEvent);  // other suites may have taken the events
    screen = Plat_ScreenSize();
    // A known desktop under everything the program shows.
    desktop = std::make_unique<ColourWindow>(0, 0, screen.width, screen.height, 0);
    desktop->pattern = PatternAt;
    ShowWindow(desktop->hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(desktop->hwnd);
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(5, 7) == PatternAt(5, 7); }));
    PenMode_Begin();
    canvas = Hwnd(App().Canvas);
    ASSERT_TRUE(PumpUntil([&] { return WindowFromPoint({30, 30}) == canvas; }));
  }
  void TearDown() override {
    PenMode_End();
    Plat_Canvas_Repaint(App().Canvas);
    App().Drawing = 0;
    App().LastPoint.reset();
    desktop.reset();
    PumpFor(50);
  }
  static ByteBlock Shown() { return Plat_Canvas_Capture(App().Canvas); }

  // A left drag with the real mouse through `points`, pressed at the first one.
  static void Drag(std::initializer_list<POINT> points) {
    auto p = points.begin();
    MoveMouseTo(p->x, p->y);
    LeftDown();
    ASSERT_TRUE(PumpUntil([] { return App().Drawing == 1; })) << "press not seen";
    for (++p; p != points.end(); ++p) {
      MoveMouseTo(p->x, p->y);
      const Point target{p->x, p->y};
      ASSERT_TRUE(PumpUntil([&] { return App().LastPoint == target; })) << "move not seen";
    }
    LeftUp();
    ASSERT_TRUE(PumpUntil([] { return App().Drawing == 0; })) << "release not seen";
  }

  Size screen;
  std::unique_ptr<ColourWindow> desktop;
  HWND canvas = nullptr;
};

TEST_F(AppPenMode, FreezesTheDesktopOntoATopMostOverlayOfTheScreensSize) {
  const Rect full{0, 0, screen.width, screen.height};
  EXPECT_EQ(Plat_GetBounds(App().OverlayWindow), full);
  EXPECT_EQ(Plat_GetBounds(App().Canvas), full);
  EXPECT_TRUE(Plat_IsTopMost(App().OverlayWindow));
  EXPECT_TRUE(IsWindowVisible(Hwnd(App().OverlayWindow)));
  EXPECT_EQ(PatternMismatches(Shown()), 0);
  // A top-most window that the desktop window cannot cover.
  SetWindowPos(desktop->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PumpFor(50);
  EXPECT_EQ(WindowFromPoint({screen.width - 3, screen.height - 3}), canvas);
  EXPECT_EQ(ScreenPixel(screen.width - 3, screen.height - 3), PatternAt(screen.width - 3, screen.height - 3));
}

TEST_F(AppPenMode, DragLeavesARedStrokeWithRoundEndsAndNothingAtThePress) {
  App().PenWidth = 5;
  App().PenColour = kRed;
  Drag({{200, 600}, {300, 600}, {400, 600}, {500, 600}});
  const ByteBlock image = Shown();
  // The stroke runs from the first move to the release, 5 pixels wide.
  for (int x : {300, 350, 400, 450, 500})
    for (int y = 598; y <= 602; ++y) EXPECT_EQ(ImagePixel(image, x, y), kRed) << x << "," << y;
  EXPECT_EQ(ImagePixel(image, 400, 597), PatternAt(400, 597));
  EXPECT_EQ(ImagePixel(image, 400, 603), PatternAt(400, 603));
  // Round ends: half the width beyond each end on the line, not in the corners.
  EXPECT_EQ(ImagePixel(image, 298, 600), kRed);
  EXPECT_EQ(ImagePixel(image, 502, 600), kRed);
  EXPECT_EQ(ImagePixel(image, 298, 598), PatternAt(298, 598));
  EXPECT_EQ(ImagePixel(image, 502, 602), PatternAt(502, 602));
  // Nothing at the press point or between it and the first move.
  EXPECT_EQ(ImagePixel(image, 200, 600), PatternAt(200, 600));
  EXPECT_EQ(ImagePixel(image, 250, 600), PatternAt(250, 600));
  EXPECT_TRUE(PumpUntil([] { return ScreenPixel(450, 600) == kRed; }));
}

TEST_F(AppPenMode, StrokesSurviveAnotherWindowMovedAcrossTheCanvas) {
  App().PenWidth = 5;
  App().PenColour = kRed;
  Drag({{100, 650}, {150, 650}, {450, 650}});
  ASSERT_TRUE(PumpUntil([] { return ScreenPixel(300, 650) == kRed; }));
  {
    ColourWindow cover(0, 600, 120, 100, 0x00FF00, true);
    ShowWindow(cover.hwnd, SW_SHOWNA);
    for (int x = 0; x <= 400; x += 50) {
      SetWindowPos(cover.hwnd, HWND_TOPMOST, x, 600, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
      PumpFor(20);
    }
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(450, 650) == 0x00FF00u; }));
  }
  EXPECT_TRUE(PumpUntil([] { return ScreenPixel(450, 650) == kRed && ScreenPixel(200, 650) == kRed; }));
  EXPECT_EQ(ImagePixel(Shown(), 300, 650), kRed);
}

TEST_F(AppPenMode, RightPressOpensTheFiveItemsAtThePointerAndRedrawKeepsThePicture) {
  App().PenWidth = 5;
  App().PenColour = kRed;
  Drag({{100, 700}, {120, 700}, {300, 700}});
  ASSERT_EQ(ImagePixel(Shown(), 200, 700), kRed);

  MoveMouseTo(600, 300);
  MenuProbe::Arm({VK_ESCAPE});
  RightDown();
  ASSERT_TRUE(PumpUntil([] { return MenuProbe::found && FindWindowW(L"#32768", nullptr) == nullptr; }));
  RightUp();
  EXPECT_EQ(MenuProbe::rect.left, 600);
  EXPECT_EQ(MenuProbe::rect.top, 300);
  EXPECT_EQ(MenuProbe::items, (std::vector<std::string>{"重画", "保存图片", "结束画笔", "关注作者",
                                                       "截图(功能未完善)"}));
  PumpFor(50);
  EXPECT_EQ(ImagePixel(Shown(), 200, 700), kRed);  // closed without a choice: nothing happened

  MenuProbe::Arm({VK_DOWN, VK_RETURN});  // the first item, "重画"
  RightDown();
  ASSERT_TRUE(PumpUntil([] { return MenuProbe::found && FindWindowW(L"#32768", nullptr) == nullptr; }));
  RightUp();
  ASSERT_TRUE(PumpUntil([&] { return ImagePixel(Shown(), 200, 700) == PatternAt(200, 700); }));
  EXPECT_EQ(PatternMismatches(Shown()), 0);
  EXPECT_TRUE(PumpUntil([] { return ScreenPixel(200, 700) == PatternAt(200, 700); }));
  EXPECT_EQ(App().ScreenshotMode, 0);
}

// The program itself, started as its own process.
struct ProgramWindows {
  DWORD pid;
  std::vector<HWND> forms;
};

BOOL CALLBACK CollectProgramWindows(HWND w, LPARAM p) {
  auto* found = reinterpret_cast<ProgramWindows*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  if (pid == found->pid && std::wstring(cls) == L"Mozhou.Form") found->forms.push_back(w);
  return TRUE;
}

TEST(Program, StartsWithTheOverlayAtTheOriginAndNoSize) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path);
  exe.resize(exe.find_last_of(L'\\') + 1);
  exe += L"mozhou-pen.exe";
  ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + exe + L"\"";
  ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi));
  ProgramWindows found{pi.dwProcessId, {}};
  HWND overlay = nullptr, panel = nullptr;
  const bool started = PumpUntil([&] {
    found.forms.clear();
    EnumWindows(CollectProgramWindows, reinterpret_cast<LPARAM>(&found));
    overlay = panel = nullptr;
    for (HWND w : found.forms) (GetWindow(w, GW_OWNER) == nullptr ? overlay : panel) = w;
    return overlay != nullptr && panel != nullptr && IsWindowVisible(overlay) && IsWindowVisible(panel);
  }, 20000);
  if (started) {
    RECT r{};
    GetWindowRect(overlay, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), overlay);
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 200);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_TRUE(started) << "the program's two windows did not appear";
}

}  // namespace
