// Strokes, the rubber band, the overlay menu and keys on the canvas.

#include "canvas/canvas_image.h"
#include "canvas/canvas_input.h"
#include "tests/unit/app_fixture.h"

using fake::Fake;

namespace {

class CanvasInput : public StartedApp {
 protected:
  void SetUp() override {
    StartedApp::SetUp();
    PenMode_Begin();
    Fake().log.clear();
  }
  static ByteBlock Shown() { return fake::CanvasRecord(Canvas()).image; }
};

struct DragState {
  int screenshotMode, selecting, selectionMoved, drawing;
  friend bool operator==(const DragState&, const DragState&) = default;
};

DragState Current() {
  const AppState& a = App();
  return {a.ScreenshotMode, a.Selecting, a.SelectionMoved, a.Drawing};
}

void Enter(const DragState& s) {
  AppState& a = App();
  a.ScreenshotMode = s.screenshotMode;
  a.Selecting = s.selecting;
  a.SelectionMoved = s.selectionMoved;
  a.Drawing = s.drawing;
}

std::ostream& operator<<(std::ostream& os, const DragState& s) {
  return os << "{mode " << s.screenshotMode << ", selecting " << s.selecting << ", moved "
            << s.selectionMoved << ", drawing " << s.drawing << "}";
}

enum class Action { Press, Move, Release };

}  // namespace

// The drag state machine, one row per (state, input): the state afterwards and what the canvas saw.
TEST_F(CanvasInput, DragStateTable) {
  constexpr DragState idle{0, 0, 0, 0}, stroking{0, 0, 0, 1};
  constexpr DragState armed0{1, 0, 0, 0}, armed1{1, 0, 0, 1};
  constexpr DragState selecting0{1, 1, 0, 0}, selecting1{1, 1, 0, 1};
  constexpr DragState dragging0{1, 1, 1, 0}, dragging1{1, 1, 1, 1};
  struct Row {
    const char* what;
    DragState before;
    Action action;
    DragState after;
    bool segment;   // a stroke segment was drawn
    bool band;      // a rubber-band rectangle was drawn
    bool saved;     // the selection was handed over for saving (capture at the screen's size)
  } rows[] = {
      {"idle press begins a stroke", idle, Action::Press, stroking, false, false, false},
      {"idle move does nothing", idle, Action::Move, idle, false, false, false},
      {"idle release ends a stroke", idle, Action::Release, idle, false, false, false},
      {"stroking press sets the pen again", stroking, Action::Press, stroking, false, false, false},
      {"stroking move draws", stroking, Action::Move, stroking, true, false, false},
      {"stroking release ends", stroking, Action::Release, idle, false, false, false},
      {"armed press begins a selection", armed0, Action::Press, selecting0, false, false, false},
      {"armed move without drawing", armed0, Action::Move, armed0, false, false, false},
      {"armed move while drawing draws", armed1, Action::Move, armed1, true, false, false},
      {"armed release ends the stroke", armed1, Action::Release, armed0, false, false, false},
      {"selecting press begins again", selecting1, Action::Press, selecting1, false, false, false},
      {"selecting move drags", selecting1, Action::Move, dragging1, false, true, false},
      {"selecting release stays selecting", selecting1, Action::Release, selecting0, false, false,
       false},
      {"dragging press begins again", dragging0, Action::Press, dragging0, false, false, false},
      {"dragging move", dragging1, Action::Move, dragging1, false, true, false},
      {"dragging release saves, idle", dragging0, Action::Release, idle, false, false, true},
      {"dragging release saves, stroking", dragging1, Action::Release, stroking, false, false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    App().SelectionRect = {100, 100, 150, 150};
    App().SelectionStart = {100, 100};
    Enter(row.before);
    Fake().log.clear();
    switch (row.action) {
      case Action::Press: fake::LeftPress(120, 110); break;
      case Action::Move: fake::MouseMove(200, 180); break;
      case Action::Release: fake::LeftRelease(200, 180); break;
    }
    EXPECT_EQ(Current(), row.after);
    EXPECT_EQ(!fake::LogEntries("DrawLine").empty(), row.segment);
    EXPECT_EQ(!fake::LogEntries("DrawRect").empty(), row.band || row.saved);
    const Size s = Fake().screen;
    EXPECT_EQ(!fake::LogEntries("Capture " + std::to_string(s.width) + "x" +
                                std::to_string(s.height)).empty(), row.saved);
    Canvas_ReleaseRubberBand();
    App().Drawing = 0;
    App().LastPoint.reset();
  }
}

TEST_F(CanvasInput, PressSetsPenOnlyForStrokesAndSelectionPressKeepsIt) {
  App().PenWidth = 7;
  App().PenColour = 0x00FF00;
  fake::LeftPress(1, 1);
  EXPECT_EQ(fake::CanvasRecord(Canvas()).penWidth, 7);
  EXPECT_EQ(fake::CanvasRecord(Canvas()).penColour, 0x00FF00u);
  fake::LeftRelease(1, 1);
  // A width change during a stroke applies from the next press on.
  App().PenWidth = 3;
  Menu_Screenshot();
  fake::LeftPress(40, 50);
  EXPECT_EQ(fake::CanvasRecord(Canvas()).penWidth, 7);
  EXPECT_TRUE(fake::CanvasRecord(Canvas()).brushHollow);
  EXPECT_EQ(App().SelectionStart, (Point{40, 50}));
  EXPECT_EQ(App().SelectionRect.left, 40);
  EXPECT_EQ(App().SelectionRect.top, 50);
}

TEST_F(CanvasInput, PressAndReleaseWithoutMovePaintsNothing) {
  const ByteBlock before = Shown();
  fake::LeftPress(50, 50);
  fake::LeftRelease(50, 50);
  EXPECT_EQ(DifferingPixels(before, Shown()), 0);
}

TEST_F(CanvasInput, StrokeStartsAtItsFirstMoveNotAtThePress) {
  App().PenWidth = 1;
  fake::LeftPress(10, 10);
  fake::MouseMove(30, 40);
  fake::MouseMove(35, 40);
  fake::LeftRelease(35, 40);
  EXPECT_EQ(fake::LogEntries("DrawLine"),
            (std::vector<std::string>{"DrawLine 30,40 30,40", "DrawLine 30,40 35,40"}));
  EXPECT_NE(Pixel(10, 10), kRed);
  EXPECT_EQ(Pixel(30, 40), kRed);
  EXPECT_EQ(Pixel(34, 40), kRed);
  // The next stroke does not join the previous one.
  fake::LeftPress(100, 100);
  fake::MouseMove(100, 120);
  EXPECT_EQ(fake::LogEntries("DrawLine").back(), "DrawLine 100,120 100,120");
}

// Strokes that touch the left or top edge keep every segment: 0 is a real coordinate.
TEST_F(CanvasInput, StrokesAlongTheEdgesDrawEverySegment) {
  struct Case {
    std::vector<Point> moves;
    std::vector<Point> mustBeRed;
  } cases[] = {
      {{{5, 20}, {0, 20}, {0, 60}, {8, 60}}, {{0, 40}, {2, 20}, {4, 60}}},
      {{{20, 5}, {20, 0}, {60, 0}, {60, 9}}, {{40, 0}, {20, 2}, {60, 5}}},
      {{{0, 0}, {30, 0}, {30, 30}}, {{15, 0}, {30, 15}}},
  };
  for (const Case& c : cases) {
    Menu_Redraw();
    App().PenWidth = 1;
    fake::LeftPress(c.moves[0].x, c.moves[0].y);
    for (Point p : c.moves) fake::MouseMove(p.x, p.y);
    fake::LeftRelease(c.moves.back().x, c.moves.back().y);
    for (Point p : c.mustBeRed) EXPECT_EQ(Pixel(p.x, p.y), kRed) << p.x << "," << p.y;
  }
}

TEST_F(CanvasInput, RubberBandShowsOneRectangleOverTheCanvasAsItWasAtTheFirstMove) {
  App().PenWidth = 3;
  fake::LeftPress(0, 0);
  fake::MouseMove(200, 200);
  fake::MouseMove(210, 220);
  fake::LeftRelease(210, 220);  // a stroke under the selection
  const ByteBlock before = Shown();

  Menu_Screenshot();
  fake::LeftPress(50, 60);
  const Point moves[] = {{300, 250}, {120, 90}, {10, 20}, {400, 30}, {90, 300}};
  for (Point p : moves) fake::MouseMove(p.x, p.y);
  ASSERT_EQ(App().SelectionMoved, 1);

  // Expected: the canvas before the selection with only the last rectangle on it.
  const ByteBlock shown = Shown();
  const auto view = CanvasImage_View(shown);
  const auto was = CanvasImage_View(before);
  const int l = 50, t = 60, r = 90, b = 300;  // sorted corners of the last rectangle
  int onOutline = 0;
  for (int y = 0; y < view->height; ++y)
    for (int x = 0; x < view->width; ++x) {
      const bool nearOutline = x >= l - 3 && x <= r + 2 && y >= t - 3 && y <= b + 2 &&
                               !(x > l + 2 && x < r - 3 && y > t + 2 && y < b - 3);
      if (nearOutline) {
        onOutline += view->PixelAt(x, y) == kRed;
        continue;
      }
      ASSERT_EQ(view->PixelAt(x, y), was->PixelAt(x, y)) << x << "," << y;
    }
  EXPECT_GT(onOutline, 2 * (r - l) + 2 * (b - t));
  // The snapshot was taken once, and the restores never covered the whole canvas.
  EXPECT_EQ(fake::LogEntries("Capture").size(), 1u);
  for (const std::string& e : fake::LogEntries("DrawImage")) EXPECT_NE(e, "DrawImage 0,0");
}

TEST_F(CanvasInput, PointerFarBeyondTheCanvasNeverDrawsOutsideIt) {
  App().PenWidth = 40;
  fake::LeftPress(65535, 65535);
  for (Point p : {Point{65535, 65535}, Point{0, 65535}, Point{65535, 0}, Point{3, 3}})
    fake::MouseMove(p.x, p.y);
  fake::LeftRelease(3, 3);
  Menu_Screenshot();
  fake::LeftPress(65535, 0);
  fake::MouseMove(0, 65535);
  fake::MouseMove(65535, 65535);
  EXPECT_EQ(App().SelectionRect.right, 65535);
  const Size s = Fake().screen;
  const ByteBlock shown = Shown();
  EXPECT_EQ(CanvasImage_View(shown)->width, s.width);
  Canvas_ReleaseRubberBand();
}

TEST_F(CanvasInput, RightPressPopsTheOverlayMenuAtThePointer) {
  Fake().pointer = {123, 45};
  fake::RightPress(1, 2);
  ASSERT_EQ(Fake().popups.size(), 1u);
  EXPECT_EQ(Fake().popups[0].window, Overlay());
  EXPECT_EQ(Fake().popups[0].menuName, kOverlayMenuName);
  EXPECT_EQ(Fake().popups[0].at, (Point{123, 45}));
  const MenuSpec& menu = kOverlayForm.menus[0];
  ASSERT_EQ(menu.items.size(), 5u);
  const char* expected[] = {"重画", "保存图片", "结束画笔", "关注作者", "截图(功能未完善)"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(menu.items[i].text, expected[i]);
}

TEST_F(CanvasInput, MenuChoicesReachTheirHandlersFromTheLoop) {
  Fake().nextMenuChoice = kItemScreenshot;
  fake::RightPress(0, 0);
  EXPECT_EQ(App().ScreenshotMode, 0);  // not before the menu has closed and the loop runs
  Plat_RunEventLoop();
  EXPECT_EQ(App().ScreenshotMode, 1);

  fake::ChooseMenuItem(Overlay(), kItemFollowAuthor);
  EXPECT_EQ(Fake().openedAddresses.size(), 1u);
  fake::ChooseMenuItem(Overlay(), kItemEndPen);
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
  fake::RightPress(0, 0);  // closed without a choice: nothing happens
  Plat_RunEventLoop();
  EXPECT_EQ(App().ScreenshotMode, 1);
}

TEST_F(CanvasInput, KeysShowTheWidthCursorsAndTheMinusBox) {
  struct Case {
    int key;
    int modifiers;
    bool box;
    std::optional<CanvasCursor> cursor;
  } cases[] = {
      {189, kModShift, true, CanvasCursor::WidthDown},
      {189, 0, true, CanvasCursor::WidthDown},
      {187, kModShift, false, CanvasCursor::WidthUp},
      {107, 0, false, std::nullopt},
      {65, 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    Fake().messageBoxes.clear();
    Plat_Canvas_SetCursor(Canvas(), CanvasCursor::Pen);
    Fake().log.clear();
    fake::KeyPress(c.key, c.modifiers);
    ASSERT_EQ(Fake().messageBoxes.size(), c.box ? 1u : 0u) << c.key;
    if (c.box) {
      EXPECT_EQ(Fake().messageBoxes[0].text, "dd");
      EXPECT_EQ(Fake().messageBoxes[0].title, "信息：");
      EXPECT_EQ(Fake().messageBoxes[0].owner, 0u);
      EXPECT_EQ(Fake().messageBoxes[0].style, 0u);
      EXPECT_LT(fake::LogEntries("MessageBox").size(), Fake().log.size());
      EXPECT_EQ(Fake().log.front(), "MessageBox dd");  // the cursor changes after the box
    }
    EXPECT_EQ(fake::CanvasRecord(Canvas()).cursor, c.cursor.value_or(CanvasCursor::Pen)) << c.key;
    EXPECT_EQ(App().PenWidth, 2);
  }
}
