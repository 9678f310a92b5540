// Saving pictures in the real program: a drag in screenshot mode with the real mouse, the real
// dialog answered like a user, and the file on disk.

#include <gtest/gtest.h>
#include <windows.h>

#include "app/app.h"
#include "app/app_state.h"
#include "canvas/canvas_image.h"
#include "canvas/canvas_input.h"
#include "canvas/picture_save.h"
#include "platform/platform.h"
#include "tests/win/save_test_support.h"
#include "tests/win/win_test_support.h"

namespace {

using wintest::ReadWholeFile;

std::string Describe(HWND h);

class Win32SavePicture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (App().OverlayWindow == 0 || !IsWindow(reinterpret_cast<HWND>(App().OverlayWindow)))
      App_StartUp();
    Plat_SetEventSink(App_HandleEvent);  // other suites may have taken the events
    // A recognisable desktop under the overlay, frozen by pen mode.
    const Size screen = Plat_ScreenSize();
    desktop_ = std::make_unique<wintest::ColourWindow>(0, 0, screen.width, screen.height, 0);
    desktop_->pattern = wintest::PatternAt;
    ShowWindow(desktop_->hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(desktop_->hwnd);
    wintest::PumpFor(200);
    PenMode_Begin();
    const HWND canvas = reinterpret_cast<HWND>(App().Canvas);
    ASSERT_TRUE(wintest::PumpUntil([&] {
      return WindowFromPoint({100, 100}) == canvas;
    })) << "the canvas does not cover the screen: "
        << Describe(WindowFromPoint({100, 100}));
  }
  void TearDown() override {
    PenMode_End();
    Plat_Canvas_Repaint(App().Canvas);
    desktop_.reset();
    wintest::PumpFor(100);
  }

  static ByteBlock Shown() { return Plat_Canvas_Capture(App().Canvas); }

  // A selection with the real mouse; the release ends it with the save. The dialog runs inside the
  // release's handler, so this returns once the whole save is over.
  static void DragSelection(int x1, int y1, int x2, int y2) {
    Menu_Screenshot();
    wintest::MoveMouseTo(x1, y1);
    wintest::LeftDown();
    ASSERT_TRUE(wintest::PumpUntil([] { return App().Selecting == 1; })) << "press not seen";
    wintest::MoveMouseTo((x1 + x2) / 2, (y1 + y2) / 2);
    wintest::MoveMouseTo(x2, y2);
    ASSERT_TRUE(wintest::PumpUntil([] { return App().SelectionMoved == 1; })) << "move not seen";
    wintest::LeftUp();
    ASSERT_TRUE(wintest::PumpUntil([] { return App().ScreenshotMode == 0; }, 30000))
        << "release not seen";
  }

  std::unique_ptr<wintest::ColourWindow> desktop_;
  wintest::TempFolder folder_;
};

std::string Describe(HWND h) {
  char cls[100] = {}, text[100] = {};
  GetClassNameA(h, cls, 100);
  GetWindowTextA(h, text, 100);
  RECT r{};
  GetWindowRect(h, &r);
  return std::string(cls) + " '" + text + "' " + std::to_string(r.left) + "," +
         std::to_string(r.top) + "-" + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

ByteBlock Bytes(const std::string& s) { return ByteBlock(s.begin(), s.end()); }

}  // namespace

TEST_F(Win32SavePicture, DragSavesTheRegionWithItsFinalRectangle) {
  wintest::SaveDialogDriver user(L"保存图片", folder_.File(L"selection.jpg"));
  DragSelection(100, 100, 300, 250);
  const wintest::SeenDialog& seen = user.Finish();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, reinterpret_cast<HWND>(App().OverlayWindow));
  EXPECT_EQ(seen.fileTypes, std::vector<std::wstring>{L"*.jpg"});

  const ByteBlock file = Bytes(ReadWholeFile(folder_.File(L"selection.jpg")));
  const auto view = CanvasImage_View(file);
  ASSERT_TRUE(view) << file.size() << " bytes";  // BMP bytes, whatever the extension says
  EXPECT_EQ(view->width, 200);
  EXPECT_EQ(view->height, 150);
  // Exactly what the canvas shows there, final rectangle included.
  const ByteBlock canvas = Shown();
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 200; ++x)
      ASSERT_EQ(view->PixelAt(x, y), wintest::ImagePixel(canvas, 100 + x, 100 + y))
          << x << "," << y;
  EXPECT_NE(view->PixelAt(0, 0), wintest::PatternAt(100, 100));     // the outline covers the corner
  EXPECT_EQ(view->PixelAt(100, 75), wintest::PatternAt(200, 175));  // the inside is the desktop
  EXPECT_EQ(App().Selecting, 0);
  EXPECT_EQ(App().SelectionMoved, 0);
}

TEST_F(Win32SavePicture, CanvasIsSavedAsTheBytesItShows) {
  wintest::SaveDialogDriver user(L"保存图片", folder_.File(L"canvas.bmp"));
  Picture_SaveCanvas();
  ASSERT_TRUE(user.Finish().found);
  const ByteBlock shown = Shown();
  const ByteBlock file = Bytes(ReadWholeFile(folder_.File(L"canvas.bmp")));
  EXPECT_EQ(file.size(), shown.size());
  EXPECT_TRUE(file == shown);
}

TEST_F(Win32SavePicture, CancelWritesNothingAndEndsScreenshotMode) {
  wintest::SaveDialogDriver user(L"保存图片", L"");
  DragSelection(100, 100, 300, 250);
  ASSERT_TRUE(user.Finish().found);
  EXPECT_TRUE(folder_.Names().empty());
  EXPECT_EQ(App().ScreenshotMode, 0);
}

TEST_F(Win32SavePicture, ExistingFileIsReplacedAndAnUnwritableOneKept) {
  const std::wstring target = folder_.File(L"old.bmp");
  wintest::WriteWholeFile(target, "old picture");
  {
    wintest::SaveDialogDriver user(L"保存图片", target);
    DragSelection(300, 250, 100, 100);  // dragged up and to the left
    ASSERT_TRUE(user.Finish().found);
  }
  const auto view = CanvasImage_View(Bytes(ReadWholeFile(target)));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->width, 200);
  EXPECT_EQ(view->height, 150);

  // Another program holds the file open without letting it be replaced: the save fails silently
  // and the file keeps what it had.
  const std::string before = ReadWholeFile(target);
  HANDLE viewer = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  {
    wintest::SaveDialogDriver user(L"保存图片", target);
    DragSelection(10, 10, 60, 60);
    ASSERT_TRUE(user.Finish().found);
  }
  CloseHandle(viewer);
  EXPECT_EQ(ReadWholeFile(target), before);
  EXPECT_EQ(folder_.Names(), std::vector<std::wstring>{L"old.bmp"});
}
