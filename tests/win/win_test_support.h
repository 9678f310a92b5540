// Helpers of the Windows suites: pumping messages while waiting for a condition, reading pixels,
// driving the mouse and keyboard like a user, and recording the backend's events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace wintest {

// Dispatches every message that is waiting.
void Pump();
// Pumps until `done` holds or `timeoutMs` has passed; returns whether it held.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Pumps for about `ms` milliseconds (for settling only, never as the thing a test waits for).
void PumpFor(int ms);

// The screen pixel at (x, y) as 0x00BBGGRR.
Colour ScreenPixel(int x, int y);
// Pixel (x, y), counted from the top, of a canvas image; 0xFFFFFFFF outside or when unreadable.
Colour ImagePixel(const ByteBlock& image, int x, int y);

// User input through SendInput.
void MoveMouseTo(int x, int y);
void LeftDown();
void LeftUp();
void RightDown();
void RightUp();
void PressKey(WORD vk);

// Everything the backend sends to the event sink, in order.
std::vector<PlatformEvent>& RecordedEvents();
void RecordEvent(const PlatformEvent& e);

inline constexpr Colour kRed = 0x0000FF;

// Watches for the popup menu from inside its own modal loop (a thread timer): records its screen
// rectangle and item texts, then presses `keys` on it. Arm it before the call that opens the menu.
struct MenuProbe {
  static void Arm(std::vector<WORD> keys);
  static bool found;
  static RECT rect;
  static std::vector<std::string> items;
};

// A top-level window that paints one colour everywhere, or `pattern` when set.
struct ColourWindow {
  ColourWindow(int left, int top, int width, int height, Colour colour, bool topMost = false);
  ~ColourWindow();
  ColourWindow(const ColourWindow&) = delete;
  ColourWindow& operator=(const ColourWindow&) = delete;
  HWND hwnd = nullptr;
  Colour colour;
  Colour (*pattern)(int x, int y) = nullptr;
};

// The part a child test process plays (started by the tests with "--child=<mode> <file>"):
// "exit" registers a clean-up that writes `file` and ends through Plat_Exit(7); "fatal" registers
// the same clean-up and calls Plat_FatalError. Returns only for an unknown mode.
int RunChild(std::string_view mode, const char* file);

// A recognisable picture: never pure red, black or white.
Colour PatternAt(int x, int y);

}  // namespace wintest
