// The desktop's top-level windows in the in-memory desktop: windows of other programs scripted by
// the tests, above the program's own windows (the fake desktop's forms, in their z-order).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_list.h"

namespace fake {

struct TopLevelWindow {
  WindowHandle handle = 0;
  std::uint32_t processId = 0;  // 0: the query fails
  std::uint32_t threadId = 0;   // 0: the query fails
  std::string title;            // whole, as the system would hand it back
  std::string className;
  bool visible = true;
};

// The ids the program's own windows report.
inline constexpr std::uint32_t kOwnThreadId = 1;
inline constexpr const char* kOwnClassName = "Mozhou.Form";

struct WindowListDesktop {
  std::vector<TopLevelWindow> windows;  // scripted windows, top of the z-order first
  bool includeOwnWindows = true;        // the program's own windows follow the scripted ones
  int failAfter = -1;                   // >= 0: the walk gives up after that many windows
  std::function<void()> afterWalk;      // runs when a walk has visited its last window
  int walks = 0;
  std::vector<WindowHandle> visibilityQueries;  // every Plat_IsWindowVisible, in order
};

WindowListDesktop& FakeWindowList();
// Forgets every scripted window and record; fake::Reset calls it.
void ResetWindowList();
// The scripted window with `handle`, or nullptr.
TopLevelWindow* FindTopLevel(WindowHandle handle);

}  // namespace fake
