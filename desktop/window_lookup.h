// The lookup of the window that stands for a process: every top-level window of the desktop listed
// as a record, and the first visible one of a given process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

// One top-level window.
struct WindowInfo {
  WindowHandle Handle = 0;
  std::uint32_t ProcessId = 0;  // 0 when the query failed
  std::uint32_t ThreadId = 0;   // 0 when the query failed
  std::string Title;            // at most kWindowTitleLimit bytes; empty when the window has none
  std::string ClassName;        // at most kWindowClassNameLimit bytes
};

// A list of window records; copying it copies every record with its texts.
using WindowList = std::vector<WindowInfo>;

inline constexpr std::size_t kWindowTitleLimit = 255;
inline constexpr std::size_t kWindowClassNameLimit = 49;

// Fills only while an enumeration runs and is empty again when it returns. The start-up creates it
// empty and the exit clean-up frees it.
extern WindowList EnumeratedWindows;

std::uint32_t Process_GetCurrentId();
std::uint32_t Window_GetProcessId(WindowHandle window);
std::uint32_t Window_GetThreadId(WindowHandle window);
// The title cut to kWindowTitleLimit bytes, the class name to kWindowClassNameLimit bytes, both on
// a character boundary.
std::string Window_GetTitle(WindowHandle window);
std::string Window_GetClassName(WindowHandle window);
int Window_IsVisible(WindowHandle window);  // nonzero: visible

// Records one top-level window at the end of EnumeratedWindows; nonzero, so the walk goes on.
int Window_EnumCallback(WindowHandle window);
// Replaces `list` with a record for each top-level window, top of the z-order first; returns the
// number of records. EnumeratedWindows is empty again afterwards.
int Window_EnumerateTopLevel(WindowList& list);
// The first window of the process, in z-order, that is visible when the walk reaches it; 0 when
// there is none.
WindowHandle Window_FindVisibleOfProcess(std::uint32_t processId);

// The longest prefix of `text` of at most `maxBytes` bytes that does not end inside a UTF-8
// character.
std::string Text_CutToBytes(std::string_view text, std::size_t maxBytes);
