// The boundary between the program's logic and the desktop it runs on.
//
// Everything the logic needs from the operating system and the window framework goes through the
// free functions declared here. Exactly one backend is linked: platform/win32 in the program and the
// Windows suites, platform/fake in the native unit tests. The backend reaches the logic only through
// the event sink (see PlatformEvent) and through the creation callback of Plat_LoadForm.
//
// Texts are UTF-8 everywhere on this side; the Win32 backend converts at its edge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

struct FormSpec;

// ---------------------------------------------------------------------------------------------
// Events: the one sink through which the backend calls the logic.

enum class EventKind {
  LeftPress,    // control = canvas; x, y, modifiers
  MouseMove,    // control = canvas; x, y, modifiers
  LeftRelease,  // control = canvas; x, y, modifiers
  RightPress,   // control = canvas; x, y, modifiers
  KeyPress,     // control = canvas; key (virtual-key code, keypad translated), modifiers
  MenuChoice,   // window = the window whose popup menu it was; item = the chosen item's text
  TrayEvent,    // window = the panel; code 1, 2 or 3
  ControlEvent, // window, control; item = the control's name; code = control-specific event code
  WindowDestroyed,  // window
};

// Modifier bits as the canvas reports them.
inline constexpr int kModCtrl = 1;
inline constexpr int kModShift = 2;
inline constexpr int kModAlt = 4;

struct PlatformEvent {
  EventKind kind = EventKind::MouseMove;
  WindowHandle window = 0;
  WindowHandle control = 0;
  int x = 0;
  int y = 0;
  int modifiers = 0;
  int key = 0;
  int code = 0;
  std::string item;
};

using EventSink = void (*)(const PlatformEvent&);
void Plat_SetEventSink(EventSink sink);

// ---------------------------------------------------------------------------------------------
// Process: start-up, the loop, the end.

// Initialises the backend: finds the run directory and makes it the current directory.
void Plat_Init();
// The directory of the executable, without a trailing separator ("C:" at a drive root).
std::string Plat_RunDirectory();
std::string Plat_GetCurrentDirectory();  // empty on failure
bool Plat_SetCurrentDirectory(const std::string& dir);

// Registers the clean-up that runs when the process ends through Plat_Exit.
void Plat_AtExit(void (*cleanUp)());
// Runs the event loop until the process ends; returns the exit code (the fake returns at once
// when no events are queued).
int Plat_RunEventLoop();
// Waits about `milliseconds` while it keeps dispatching events.
void Plat_PauseDispatching(int milliseconds);
// Ends the process with `code` after running the clean-up (the fake records it and throws nothing).
void Plat_Exit(int code);
// Shows an error box with `text` and ends the process with exit code -1.
[[noreturn]] void Plat_FatalError(const std::string& text);
std::uint32_t Plat_CurrentProcessId();

// ---------------------------------------------------------------------------------------------
// Windows and controls built from form tables (resources/forms.h).

using CreatedHandler = void (*)(WindowHandle window);
// Builds the window and its controls from `form`, hidden, owned by `owner` (0: none). Calls
// `onCreated` with the new window before it is shown, then shows it. Returns the window, 0 on failure.
WindowHandle Plat_LoadForm(const FormSpec& form, WindowHandle owner, CreatedHandler onCreated);
// A control of `window` by its form name; 0 when there is none.
WindowHandle Plat_FindControl(WindowHandle window, const std::string& name);

Size Plat_ScreenSize();  // primary screen, physical pixels
Point Plat_PointerPosition();  // screen coordinates

Rect Plat_GetBounds(WindowHandle window);  // windows: screen coordinates; controls: in their parent
// Moves and sizes a window or control; neither activates it nor changes its z-order.
void Plat_SetBounds(WindowHandle window, int left, int top, int width, int height);
void Plat_SetWidth(WindowHandle window, int width);
void Plat_SetHeight(WindowHandle window, int height);
void Plat_SetVisible(WindowHandle window, bool visible);
bool Plat_IsVisible(WindowHandle window);
// ShowWindow with a raw show command (9 = SW_RESTORE).
void Plat_ShowCommand(WindowHandle window, int showCommand);
void Plat_SetForeground(WindowHandle window);
// SetWindowPos(window, insertAfter, 0, 0, 0, 0, flags) with raw values (HWND_TOPMOST = -1).
void Plat_SetZOrder(WindowHandle window, std::intptr_t insertAfter, unsigned flags);
bool Plat_IsTopMost(WindowHandle window);
// Gives a control the keyboard input.
void Plat_Focus(WindowHandle control);
// Marks the whole window, with its children, for repainting with the background erased.
void Plat_RepaintWindow(WindowHandle window);
bool Plat_IsChecked(WindowHandle checkBox);
void Plat_SetChecked(WindowHandle checkBox, bool checked);

// Pops up the named menu of `window`'s form at the pointer. A choice arrives later as a MenuChoice
// event from the event loop; closing without a choice sends nothing.
void Plat_PopupMenu(WindowHandle window, const std::string& menuName);

// Modal message box; returns the button id (IDOK = 1 ...), 0 on failure. `owner` may be 0.
int Plat_MessageBox(WindowHandle owner, const std::string& text, const std::string& title,
                    unsigned style);
// Opens `address` with the system's default handler ("open", shown normally).
void Plat_OpenAddress(const std::string& address);

// ---------------------------------------------------------------------------------------------
// The canvas control. It keeps its own 24-bit image; drawing goes into that image and shows at once.

enum class CanvasCursor { Arrow, Pen, WidthUp, WidthDown };

void Plat_Canvas_SetPenWidth(WindowHandle canvas, int width);  // clamped to 0..32767
void Plat_Canvas_SetPenColour(WindowHandle canvas, Colour colour);
void Plat_Canvas_SetBrushHollow(WindowHandle canvas);
void Plat_Canvas_DrawLine(WindowHandle canvas, int x1, int y1, int x2, int y2);
void Plat_Canvas_DrawRect(WindowHandle canvas, int x1, int y1, int x2, int y2);
// Paints a canvas image at (x, y), natural size; empty or unreadable images paint nothing.
void Plat_Canvas_DrawImage(WindowHandle canvas, const ByteBlock& image, int x, int y);
// Paints only `part` (canvas coordinates) of a canvas image that is placed at (0, 0).
void Plat_Canvas_DrawImagePart(WindowHandle canvas, const ByteBlock& image, Rect part);
// A canvas image of what the canvas shows; scaled when the size differs from the canvas's.
ByteBlock Plat_Canvas_Capture(WindowHandle canvas);
ByteBlock Plat_Canvas_Capture(WindowHandle canvas, int width, int height);
// Wipes the drawing: background colour, then the background picture tiled from the top-left.
void Plat_Canvas_Repaint(WindowHandle canvas);
// Sets (a copy of) the background picture and repaints. An empty image clears the picture.
void Plat_Canvas_SetPicture(WindowHandle canvas, const ByteBlock& image);
// Sets the canvas's mouse pointer; it shows at once when the pointer is over the canvas.
void Plat_Canvas_SetCursor(WindowHandle canvas, CanvasCursor cursor);

// The primary screen as a canvas image; empty on failure.
ByteBlock Plat_CaptureScreen();

// ---------------------------------------------------------------------------------------------
// Files.

// Writes `bytes` to `path` so that the old file is replaced in one step or left untouched.
// Returns false on any failure (then nothing changed).
bool Plat_ReplaceFile(const std::string& path, const ByteBlock& bytes);
