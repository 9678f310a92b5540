// The real canvas: drawing into its own image, painting on the screen from it, capture, repaint.

#include <gtest/gtest.h>

#include <cstring>

#include "canvas/canvas_image.h"
#include "platform/platform.h"
#include "resources/forms.h"
#include "tests/win/win_test_support.h"

using namespace wintest;

namespace {

const ControlSpec kControls[] = {{ControlKind::Canvas, "画板", nullptr, 10, 10, 300, 200}};
const FormSpec kCanvasForm = {"CanvasTest", 320, 220, "", kControls, {}};

WindowHandle g_created = 0;
bool g_visibleWhenCreated = true;
void OnCreated(WindowHandle w) {
  g_created = w;
  g_visibleWhenCreated = IsWindowVisible(reinterpret_cast<HWND>(w)) != FALSE;
}

class CanvasTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordedEvents().clear();
    Plat_SetEventSink(RecordEvent);
    window = Plat_LoadForm(kCanvasForm, 0, OnCreated);
    ASSERT_NE(window, 0u);
    canvas = Plat_FindControl(window, "画板");
    ASSERT_NE(canvas, 0u);
    // Above anything other suites leave on the screen (the program's own panel is top-most).
    Plat_SetZOrder(window, -1, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(Hwnd(window));
    Pump();
    origin = {0, 0};
    ClientToScreen(Hwnd(canvas), &origin);
  }
  void TearDown() override {
    if (IsWindow(Hwnd(window))) DestroyWindow(Hwnd(window));
    Pump();
    Plat_SetEventSink(nullptr);
  }
  static HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
  Colour At(int x, int y) { return ImagePixel(Plat_Canvas_Capture(canvas), x, y); }
  // Waits until the screen shows `colour` at canvas point (x, y).
  bool ScreenShows(int x, int y, Colour colour) {
    return PumpUntil([&] { return ScreenPixel(origin.x + x, origin.y + y) == colour; });
  }

  WindowHandle window = 0;
  WindowHandle canvas = 0;
  POINT origin{};
};

TEST_F(CanvasTest, LoadsHiddenThenShowsCentredWithTheCanvasFromTheTable) {
  EXPECT_EQ(g_created, window);
  EXPECT_FALSE(g_visibleWhenCreated);
  EXPECT_TRUE(Plat_IsVisible(window));
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int left = (sw - 320) / 2, top = (sh - 220) / 2;
  EXPECT_EQ(Plat_GetBounds(window), (Rect{left, top, left + 320, top + 220}));
  EXPECT_EQ(Plat_GetBounds(canvas), (Rect{10, 10, 310, 210}));
  const LONG_PTR style = GetWindowLongPtrW(Hwnd(window), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_EQ(Plat_FindControl(window, "nothing"), 0u);
}

TEST_F(CanvasTest, StartsWithTheButtonFaceAndCapturesItsOwnSize) {
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  const auto view = CanvasImage_View(image);
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->width, 300);
  EXPECT_EQ(view->height, 200);
  EXPECT_EQ(image.size(), 54 + CanvasImage_Stride(300) * 200);
  const Colour face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(view->PixelAt(0, 0), face);
  EXPECT_EQ(view->PixelAt(299, 199), face);
}

TEST_F(CanvasTest, WideRedLineHasRoundEndsInTheImageAndOnTheScreen) {
  Plat_Canvas_SetPenWidth(canvas, 9);
  Plat_Canvas_SetPenColour(canvas, kRed);
  Plat_Canvas_DrawLine(canvas, 50, 100, 200, 100);
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  const Colour face = GetSysColor(COLOR_BTNFACE);
  struct Probe {
    int x, y;
    bool red;
  } probes[] = {
      {50, 100, true},  {120, 100, true}, {200, 100, true}, {120, 96, true},  {120, 104, true},
      {46, 100, true},  {204, 100, true},  // the caps reach half the width beyond the ends
      {46, 96, false},  {204, 104, false}, {46, 104, false}, {204, 96, false},  // but round
      {120, 94, false}, {120, 106, false}, {44, 100, false}, {206, 100, false},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
    EXPECT_EQ(ImagePixel(image, p.x, p.y), p.red ? kRed : face);
  }
  EXPECT_TRUE(ScreenShows(120, 100, kRed));
  EXPECT_TRUE(ScreenShows(46, 100, kRed));
  EXPECT_EQ(ScreenPixel(origin.x + 46, origin.y + 96), face);
}

TEST_F(CanvasTest, OnePixelPenLeavesOutTheEndPointAndZeroLengthPaintsNothing) {
  Plat_Canvas_SetPenWidth(canvas, 0);
  Plat_Canvas_DrawLine(canvas, 10, 20, 30, 20);
  Plat_Canvas_DrawLine(canvas, 60, 60, 60, 60);
  Plat_Canvas_SetPenWidth(canvas, 1);
  Plat_Canvas_DrawLine(canvas, 10, 40, 30, 40);
  Plat_Canvas_SetPenWidth(canvas, -5);  // clamped to 0
  Plat_Canvas_DrawLine(canvas, 10, 50, 12, 50);
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  const Colour face = GetSysColor(COLOR_BTNFACE);
  for (int y : {20, 40}) {
    EXPECT_EQ(ImagePixel(image, 10, y), 0u);
    EXPECT_EQ(ImagePixel(image, 29, y), 0u);
    EXPECT_EQ(ImagePixel(image, 30, y), face);
    EXPECT_EQ(ImagePixel(image, 20, y - 1), face);
    EXPECT_EQ(ImagePixel(image, 20, y + 1), face);
  }
  EXPECT_EQ(ImagePixel(image, 11, 50), 0u);
  EXPECT_EQ(ImagePixel(image, 12, 50), face);
  EXPECT_EQ(ImagePixel(image, 60, 60), face);
}

TEST_F(CanvasTest, RectanglesSortTheirCornersFillWhiteThenHollow) {
  Plat_Canvas_DrawRect(canvas, 40, 30, 10, 10);  // corners in either order
  Plat_Canvas_SetBrushHollow(canvas);
  Plat_Canvas_DrawRect(canvas, 100, 10, 130, 30);
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  const Colour face = GetSysColor(COLOR_BTNFACE);
  // The outline covers columns left..right-1 and rows top..bottom-1.
  EXPECT_EQ(ImagePixel(image, 10, 10), 0u);
  EXPECT_EQ(ImagePixel(image, 39, 29), 0u);
  EXPECT_EQ(ImagePixel(image, 40, 20), face);
  EXPECT_EQ(ImagePixel(image, 20, 30), face);
  EXPECT_EQ(ImagePixel(image, 25, 20), 0xFFFFFFu);  // filled white
  EXPECT_EQ(ImagePixel(image, 100, 20), 0u);
  EXPECT_EQ(ImagePixel(image, 115, 20), face);  // hollow
}

TEST_F(CanvasTest, StrokesSurviveAnotherWindowPassingOverThem) {
  Plat_Canvas_SetPenWidth(canvas, 5);
  Plat_Canvas_SetPenColour(canvas, kRed);
  Plat_Canvas_DrawLine(canvas, 20, 100, 280, 100);
  ASSERT_TRUE(ScreenShows(150, 100, kRed));
  {
    ColourWindow cover(origin.x - 120, origin.y + 60, 100, 80, 0x00FF00, true);
    ShowWindow(cover.hwnd, SW_SHOWNA);
    for (int x = origin.x - 120; x <= origin.x + 200; x += 40) {  // ends over the stroke's right part
      SetWindowPos(cover.hwnd, nullptr, x, origin.y + 60, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      PumpFor(20);
    }
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixel(origin.x + 250, origin.y + 100) == 0x00FF00u; }));
  }
  EXPECT_TRUE(ScreenShows(250, 100, kRed));
  EXPECT_TRUE(ScreenShows(30, 100, kRed));
  EXPECT_EQ(At(150, 100), kRed);
}

ByteBlock Pattern(int width, int height) {
  ByteBlock image = CanvasImage_Create(width, height);
  std::uint8_t* rows = CanvasImage_Pixels(image);
  const std::size_t stride = CanvasImage_Stride(width);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Colour c = PatternAt(x, y);
      std::uint8_t* p = rows + static_cast<std::size_t>(height - 1 - y) * stride + 3 * x;
      p[0] = static_cast<std::uint8_t>(c >> 16);
      p[1] = static_cast<std::uint8_t>(c >> 8);
      p[2] = static_cast<std::uint8_t>(c);
    }
  return image;
}

TEST_F(CanvasTest, PictureIsTiledAndRepaintWipesStrokesButKeepsIt) {
  Plat_Canvas_SetPicture(canvas, Pattern(70, 50));
  Plat_Canvas_SetPenWidth(canvas, 7);
  Plat_Canvas_SetPenColour(canvas, kRed);
  Plat_Canvas_DrawLine(canvas, 10, 10, 250, 150);
  Plat_Canvas_SetBrushHollow(canvas);
  Plat_Canvas_DrawRect(canvas, 5, 5, 100, 100);
  ASSERT_EQ(At(130, 80), kRed);

  Plat_Canvas_Repaint(canvas);
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  int wrong = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) wrong += ImagePixel(image, x, y) != PatternAt(x % 70, y % 50);
  EXPECT_EQ(wrong, 0);
  EXPECT_TRUE(ScreenShows(130, 80, PatternAt(130 % 70, 80 % 50)));

  // An empty or unreadable picture leaves only the background colour.
  Plat_Canvas_SetPicture(canvas, ByteBlock{'B', 'M', 1, 2, 3});
  EXPECT_EQ(At(130, 80), static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(CanvasTest, SetPictureKeepsItsOwnCopy) {
  ByteBlock picture = Pattern(300, 200);
  Plat_Canvas_SetPicture(canvas, picture);
  std::memset(CanvasImage_Pixels(picture), 0, picture.size() - 54);
  picture.clear();
  Plat_Canvas_Repaint(canvas);
  EXPECT_EQ(At(123, 45), PatternAt(123, 45));
}

TEST_F(CanvasTest, DrawImageCopiesPixelsAndIgnoresBadImages) {
  const ByteBlock before = Plat_Canvas_Capture(canvas);
  Plat_Canvas_DrawImage(canvas, {}, 0, 0);
  Plat_Canvas_DrawImage(canvas, ByteBlock(before.begin(), before.begin() + 60), 0, 0);
  EXPECT_EQ(Plat_Canvas_Capture(canvas), before);

  Plat_Canvas_DrawImage(canvas, Pattern(40, 30), 280, 190);  // clipped at the edge
  EXPECT_EQ(At(280, 190), PatternAt(0, 0));
  EXPECT_EQ(At(299, 199), PatternAt(19, 9));
  EXPECT_EQ(At(279, 190), static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));

  Plat_Canvas_DrawImagePart(canvas, Pattern(300, 200), {100, 50, 110, 60});
  EXPECT_EQ(At(100, 50), PatternAt(100, 50));
  EXPECT_EQ(At(109, 59), PatternAt(109, 59));
  EXPECT_EQ(At(110, 59), static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_TRUE(ScreenShows(105, 55, PatternAt(105, 55)));
}

TEST_F(CanvasTest, CaptureWithAnotherSizeScales) {
  Plat_Canvas_SetPicture(canvas, {});
  Plat_Canvas_SetPenWidth(canvas, 40);
  Plat_Canvas_SetPenColour(canvas, kRed);
  Plat_Canvas_DrawLine(canvas, 0, 150, 300, 150);
  const ByteBlock half = Plat_Canvas_Capture(canvas, 150, 100);
  const auto view = CanvasImage_View(half);
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->width, 150);
  EXPECT_EQ(view->height, 100);
  EXPECT_EQ(view->PixelAt(75, 75), kRed);
  EXPECT_EQ(view->PixelAt(75, 20), static_cast<Colour>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(Plat_Canvas_Capture(canvas, 300, 200), Plat_Canvas_Capture(canvas));
  EXPECT_TRUE(Plat_Canvas_Capture(canvas, 0, 10).empty());
}

TEST_F(CanvasTest, ResizingGivesAFreshSurfaceOfTheNewSize) {
  Plat_Canvas_SetPicture(canvas, Pattern(30, 30));
  Plat_SetBounds(canvas, 0, 0, 200, 120);
  EXPECT_EQ(Plat_GetBounds(canvas), (Rect{0, 0, 200, 120}));
  const ByteBlock image = Plat_Canvas_Capture(canvas);
  const auto view = CanvasImage_View(image);
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->width, 200);
  EXPECT_EQ(view->height, 120);
  EXPECT_EQ(view->PixelAt(199, 119), PatternAt(199 % 30, 119 % 30));
  Plat_SetBounds(canvas, 0, 0, 0, 0);
  EXPECT_TRUE(Plat_Canvas_Capture(canvas).empty());
  Plat_Canvas_DrawLine(canvas, 0, 0, 10, 10);  // no surface: nothing happens
}

TEST_F(CanvasTest, DeliversMouseAndKeyEventsWithTranslatedKeysAndModifiers) {
  HWND c = Hwnd(canvas);
  SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(12, 34));
  SendMessageW(c, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(13, 35));
  SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(14, 36));
  SendMessageW(c, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(15, 37));
  // Off-canvas positions arrive as the unsigned 16-bit words of the message.
  SendMessageW(c, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -2));
  const auto& e = RecordedEvents();
  ASSERT_EQ(e.size(), 5u);
  const EventKind kinds[] = {EventKind::LeftPress, EventKind::MouseMove, EventKind::LeftRelease,
                             EventKind::RightPress, EventKind::MouseMove};
  const int xs[] = {12, 13, 14, 15, 65535}, ys[] = {34, 35, 36, 37, 65534};
  const int mods[] = {kModCtrl, kModShift, 0, 0, 0};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(e[i].kind, kinds[i]);
    EXPECT_EQ(e[i].control, canvas);
    EXPECT_EQ(e[i].window, window);
    EXPECT_EQ(e[i].x, xs[i]);
    EXPECT_EQ(e[i].y, ys[i]);
    EXPECT_EQ(e[i].modifiers, mods[i]);
  }

  const struct {
    WPARAM vk;
    int key;
  } keys[] = {{VK_NUMPAD0, 48}, {VK_NUMPAD7, 55}, {VK_NUMPAD9, 57}, {VK_SUBTRACT, 189},
              {VK_DECIMAL, 190}, {VK_DIVIDE, 191}, {VK_ADD, 107}, {VK_OEM_MINUS, 189},
              {VK_OEM_PLUS, 187}, {'A', 65}, {VK_F5, VK_F5}};
  for (const auto& k : keys) {
    RecordedEvents().clear();
    SendMessageW(c, WM_KEYDOWN, k.vk, 1);
    ASSERT_EQ(RecordedEvents().size(), 1u);
    EXPECT_EQ(RecordedEvents()[0].kind, EventKind::KeyPress);
    EXPECT_EQ(RecordedEvents()[0].key, k.key) << "virtual key " << k.vk;
  }
}

TEST_F(CanvasTest, RealInputReachesTheCanvasAtCanvasCoordinates) {
  MoveMouseTo(origin.x + 40, origin.y + 50);
  LeftDown();
  MoveMouseTo(origin.x + 60, origin.y + 70);
  LeftUp();
  ASSERT_TRUE(PumpUntil([] {
    for (const auto& e : RecordedEvents())
      if (e.kind == EventKind::LeftRelease) return true;
    return false;
  }));
  bool pressed = false, moved = false;
  for (const auto& e : RecordedEvents()) {
    if (e.kind == EventKind::LeftPress) pressed = e.x == 40 && e.y == 50;
    if (e.kind == EventKind::MouseMove && e.x == 60 && e.y == 70) moved = true;
    if (e.kind == EventKind::LeftRelease) {
      EXPECT_EQ((Point{e.x, e.y}), (Point{60, 70}));
    }
  }
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(moved);

  RecordedEvents().clear();
  Plat_Focus(canvas);
  PressKey(VK_NUMPAD3);
  ASSERT_TRUE(PumpUntil([] { return !RecordedEvents().empty(); }));
  EXPECT_EQ(RecordedEvents()[0].kind, EventKind::KeyPress);
  EXPECT_EQ(RecordedEvents()[0].key, '3');
}

TEST_F(CanvasTest, CursorsHaveTheirHotSpotsAndShowAtOnce) {
  MoveMouseTo(origin.x + 100, origin.y + 100);
  const struct {
    CanvasCursor cursor;
    DWORD hotX, hotY;
    LONG size;
  } cases[] = {{CanvasCursor::Pen, 1, 2, 32},
               {CanvasCursor::WidthUp, 0, 0, 48},
               {CanvasCursor::WidthDown, 0, 0, 48}};
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  for (const auto& c : cases) {
    Plat_Canvas_SetCursor(canvas, c.cursor);
    HCURSOR shown = GetCursor();
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, arrow);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(shown, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, c.hotX);
    EXPECT_EQ(info.yHotspot, c.hotY);
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, c.size);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  Plat_Canvas_SetCursor(canvas, CanvasCursor::Arrow);
  EXPECT_EQ(GetCursor(), arrow);
  // The pointer moving over the canvas keeps the canvas's choice.
  Plat_Canvas_SetCursor(canvas, CanvasCursor::Pen);
  MoveMouseTo(origin.x + 101, origin.y + 102);
  EXPECT_NE(GetCursor(), arrow);
}

TEST_F(CanvasTest, DestroyingTheWindowIsReported) {
  DestroyWindow(Hwnd(window));
  Pump();
  ASSERT_FALSE(RecordedEvents().empty());
  EXPECT_EQ(RecordedEvents().back().kind, EventKind::WindowDestroyed);
  EXPECT_EQ(RecordedEvents().back().window, window);
  EXPECT_EQ(Plat_FindControl(window, "画板"), 0u);
  Plat_Canvas_DrawLine(canvas, 0, 0, 5, 5);  // a stale handle does nothing
  EXPECT_TRUE(Plat_Canvas_Capture(canvas).empty());
}

}  // namespace
