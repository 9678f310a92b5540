// Start-up and pen mode on the in-memory desktop.

#include <algorithm>

#include "canvas/canvas_image.h"
#include "canvas/canvas_input.h"
#include "tests/unit/app_fixture.h"

using fake::Fake;

namespace {

// Position of the first log entry equal to `entry` at or after `from`; -1 when there is none.
int LogIndex(const std::string& entry, int from = 0) {
  const auto& log = Fake().log;
  for (int i = from; i < static_cast<int>(log.size()); ++i)
    if (log[i] == entry) return i;
  return -1;
}

}  // namespace

using StartUp = StartedApp;

TEST_F(StartUp, LeavesOverlayShownAtOriginWithNoSizeAndPanelAtItsPlace) {
  const Size screen = Fake().screen;
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
  EXPECT_TRUE(Plat_IsVisible(Overlay()));
  EXPECT_FALSE(Plat_IsTopMost(Overlay()));
  // The canvas keeps the screen's size even while its window has none.
  EXPECT_EQ(Plat_GetBounds(Canvas()), (Rect{0, 0, screen.width, screen.height}));
  const int left = (screen.width - 595) / 2, top = (screen.height - 372) / 2;
  EXPECT_EQ(Plat_GetBounds(Panel()), (Rect{left, top, left + 400, top + 200}));
  EXPECT_TRUE(Plat_IsVisible(Panel()));
  EXPECT_EQ(fake::WindowRecord(Panel()).owner, Overlay());

  const AppState& a = App();
  EXPECT_EQ(a.ScreenshotMode, 0);
  EXPECT_EQ(a.Selecting, 0);
  EXPECT_EQ(a.SelectionMoved, 0);
  EXPECT_EQ(a.Drawing, 0);
  EXPECT_FALSE(a.LastPoint.has_value());
  EXPECT_TRUE(a.RubberBandImage.empty());
  // The pen settings hold the panel's design values before any pen mode.
  EXPECT_EQ(a.PenWidth, 2);
  EXPECT_EQ(a.PenColour, kRed);
  // The overlay is loaded first, the panel inside its creation, and shown last.
  EXPECT_LT(LogIndex("LoadForm PanelWindow"), LogIndex("Show OverlayWindow", LogIndex("Hide OverlayWindow")));
}

TEST_F(StartUp, ExitRunsTheCleanUpOnce) {
  PlatformEvent destroyed;
  destroyed.kind = EventKind::WindowDestroyed;
  destroyed.window = Panel();
  fake::Post(destroyed);
  App().RubberBandImage = ByteBlock(100, 1);
  EXPECT_EQ(Plat_RunEventLoop(), 0);
  EXPECT_EQ(Fake().exitCode, 0);
  EXPECT_TRUE(App().RubberBandImage.empty());
}

using PenMode = StartedApp;

TEST_F(PenMode, BeginKeepsThePanelOutOfTheCaptureAndFreezesTheScreen) {
  Plat_SetChecked(Option(kAutoMinimiseName), false);
  Fake().log.clear();
  PenMode_Begin();

  const int capture = LogIndex("CaptureScreen");
  ASSERT_GE(capture, 0);
  EXPECT_LT(LogIndex("SetCursor Pen"), capture);
  EXPECT_LT(LogIndex("Show OverlayWindow"), capture);
  EXPECT_LT(LogIndex("SetWidth PanelWindow 0"), capture);
  EXPECT_LT(LogIndex("SetHeight PanelWindow 0"), capture);
  EXPECT_LT(LogIndex("Focus 画板"), capture);
  const int raise = LogIndex("SetZOrder OverlayWindow -1 3");
  EXPECT_GT(LogIndex("SetPicture"), capture);
  EXPECT_LT(LogIndex("ShowCommand OverlayWindow 9"), raise);
  EXPECT_LT(LogIndex("SetForeground OverlayWindow"), raise);
  EXPECT_GT(LogIndex("SetWidth PanelWindow 400", capture), raise);
  EXPECT_GT(LogIndex("SetHeight PanelWindow 200", capture), LogIndex("SetWidth PanelWindow 400", capture));

  const Size screen = Fake().screen;
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, screen.width, screen.height}));
  EXPECT_TRUE(Plat_IsTopMost(Overlay()));
  EXPECT_TRUE(Plat_IsTopMost(Panel()));  // owned by the overlay
  EXPECT_EQ(Fake().foreground, Overlay());
  EXPECT_EQ(Fake().focus, Canvas());
  EXPECT_EQ(Plat_GetBounds(Panel()).Width(), 400);
  EXPECT_EQ(Plat_GetBounds(Panel()).Height(), 200);
  EXPECT_TRUE(Plat_IsVisible(Panel()));
  EXPECT_EQ(fake::CanvasRecord(Canvas()).cursor, CanvasCursor::Pen);
  EXPECT_EQ(fake::CanvasRecord(Canvas()).image, Fake().screenImage);
}

TEST_F(PenMode, AutoMinimiseHidesThePanelAndOnlyAutoRestoreBringsItBack) {
  struct Case {
    bool autoRestore;
    void (*end)();
    bool panelVisibleAfterEnd;
  } cases[] = {
      {true, PenMode_End, true},
      {false, PenMode_End, false},
      {true, Menu_EndPen, false},  // the menu item never looks at the option
  };
  for (const Case& c : cases) {
    Plat_SetChecked(Option(kAutoMinimiseName), true);
    Plat_SetChecked(Option(kAutoRestoreName), c.autoRestore);
    PenMode_Begin();
    EXPECT_FALSE(Plat_IsVisible(Panel()));
    EXPECT_EQ(Plat_GetBounds(Panel()).Width(), 400);
    Fake().log.clear();
    c.end();
    EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
    EXPECT_TRUE(Plat_IsTopMost(Overlay()));  // ending pen mode does not clear it
    EXPECT_EQ(LogIndex("RepaintWindow PanelWindow"), 2);
    EXPECT_EQ(Plat_IsVisible(Panel()), c.panelVisibleAfterEnd) << "autoRestore " << c.autoRestore;
  }
}

TEST_F(PenMode, EndOutsidePenModeStillShowsAHiddenPanelWhenAutoRestoreIsChecked) {
  Plat_SetVisible(Panel(), false);
  Plat_SetChecked(Option(kAutoRestoreName), true);
  PenMode_End();
  EXPECT_TRUE(Plat_IsVisible(Panel()));
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
}

TEST_F(PenMode, BeginDuringPenModeFreezesTheStrokesIntoTheNewPicture) {
  PenMode_Begin();
  fake::LeftPress(10, 10);
  fake::MouseMove(20, 20);
  fake::MouseMove(60, 20);
  fake::LeftRelease(60, 20);
  ASSERT_EQ(Pixel(40, 20), kRed);

  PenMode_Begin();
  EXPECT_EQ(Pixel(40, 20), kRed);
  EXPECT_EQ(CanvasImage_View(fake::CanvasRecord(Canvas()).picture)->PixelAt(40, 20), kRed);
  Menu_Redraw();  // the stroke is part of the picture now and stays
  EXPECT_EQ(Pixel(40, 20), kRed);
}

TEST_F(PenMode, RedrawWipesStrokesAndKeepsThePicture) {
  PenMode_Begin();
  const ByteBlock frozen = fake::CanvasRecord(Canvas()).image;
  fake::LeftPress(0, 0);
  fake::MouseMove(30, 30);
  fake::MouseMove(90, 70);
  fake::LeftRelease(90, 70);
  ASSERT_GT(DifferingPixels(frozen, fake::CanvasRecord(Canvas()).image), 0);
  Menu_Redraw();
  EXPECT_EQ(DifferingPixels(frozen, fake::CanvasRecord(Canvas()).image), 0);
  EXPECT_EQ(App().Drawing, 0);
}

TEST_F(PenMode, AFailedCaptureLeavesOnlyTheBackgroundColour) {
  PenMode_Begin();
  fake::LeftPress(5, 5);
  fake::MouseMove(6, 6);
  fake::MouseMove(50, 50);
  fake::LeftRelease(50, 50);
  Fake().captureFails = true;
  PenMode_Begin();
  EXPECT_TRUE(fake::CanvasRecord(Canvas()).picture.empty());
  const Size screen = Fake().screen;
  for (Point p : {Point{0, 0}, Point{30, 30}, Point{screen.width - 1, screen.height - 1}})
    EXPECT_EQ(Pixel(p.x, p.y), fake::kButtonFace);
}

TEST_F(PenMode, FollowAuthorOpensTheAuthorsPage) {
  Menu_FollowAuthor();
  ASSERT_EQ(Fake().openedAddresses.size(), 1u);
  EXPECT_EQ(Fake().openedAddresses[0], kAuthorPageAddress);
}
