// An in-memory desktop behind the platform boundary, for the native unit tests.
//
// Tests reset it, script it (screen picture, pointer, message-box answers, menu choices), drive the
// logic through the same event sink the real backend uses, and read back what a user would see:
// window records, canvas pixels, the log of operations in the order they happened.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "resources/forms.h"

namespace fake {

struct Window {
  WindowHandle handle = 0;
  std::string name;           // form name for windows, control name for controls
  const FormSpec* form = nullptr;
  WindowHandle parent = 0;    // controls: their window
  WindowHandle owner = 0;     // windows: their owner
  ControlKind kind = ControlKind::Label;
  bool isControl = false;
  Rect bounds;
  bool visible = false;
  bool topMost = false;
  bool checked = false;
  bool destroyed = false;
};

struct Canvas {
  ByteBlock image;    // what the canvas shows, as a canvas image of its size
  ByteBlock picture;  // the background picture, empty when none
  int penWidth = 0;
  Colour penColour = 0;
  bool brushHollow = false;
  CanvasCursor cursor = CanvasCursor::Arrow;
};

struct MessageBoxRecord {
  WindowHandle owner;
  std::string text;
  std::string title;
  unsigned style;
};

struct PopupRecord {
  WindowHandle window;
  std::string menuName;
  Point at;
};

// The fake's button-face colour (0x00BBGGRR).
inline constexpr Colour kButtonFace = 0xF0F0F0;

struct Desktop {
  Size screen{640, 480};
  Point pointer{0, 0};
  ByteBlock screenImage;          // what a screen capture returns; set by Reset to a pattern
  bool captureFails = false;      // screen and canvas captures return empty blocks
  std::string runDirectory = "C:\\Programs\\Mozhou";
  std::string currentDirectory;

  std::map<WindowHandle, Window> windows;
  std::map<WindowHandle, Canvas> canvases;
  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  std::vector<WindowHandle> zOrder;  // top first; windows raised top-most move to the front

  // Every window and canvas operation in order, e.g. "SetWidth PanelWindow 0".
  std::vector<std::string> log;

  std::deque<int> messageBoxAnswers;  // answers for the next boxes; IDOK when empty
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<std::string> openedAddresses;
  std::vector<PopupRecord> popups;
  std::optional<std::string> nextMenuChoice;  // the item the next popup menu answers with
  std::vector<int> pauses;                    // milliseconds of each dispatching pause

  std::deque<PlatformEvent> queue;  // posted events, dispatched by the loop and by pauses
  EventSink sink = nullptr;
  void (*atExit)() = nullptr;
  std::optional<int> exitCode;
  WindowHandle nextHandle = 0x100;
};

Desktop& Fake();
// Forgets every window and record and restores the defaults (screen picture included).
void Reset();

// A recognisable screen picture: each pixel a function of its position.
ByteBlock ScreenPattern(int width, int height);
Colour ScreenPatternAt(int x, int y);

// Delivers an event to the sink at once, as the backend would from its loop.
void Send(const PlatformEvent& event);
// Queues an event for the next loop run or dispatching pause.
void Post(const PlatformEvent& event);
// Dispatches queued events until none is left.
void DispatchQueued();

// Convenience for canvas input.
void LeftPress(int x, int y, int modifiers = 0);
void MouseMove(int x, int y, int modifiers = 0);
void LeftRelease(int x, int y, int modifiers = 0);
void RightPress(int x, int y, int modifiers = 0);
void KeyPress(int key, int modifiers = 0);
void ChooseMenuItem(WindowHandle window, const std::string& item);

Window& WindowRecord(WindowHandle handle);
Canvas& CanvasRecord(WindowHandle canvas);
// What the canvas shows at (x, y), as 0x00BBGGRR.
Colour CanvasPixel(WindowHandle canvas, int x, int y);
// Log entries that start with `prefix`.
std::vector<std::string> LogEntries(const std::string& prefix);

// Thrown by Plat_FatalError so that tests can observe it.
struct FatalError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace fake
