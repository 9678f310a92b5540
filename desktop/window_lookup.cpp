#include "desktop/window_lookup.h"

#include <string_view>

#include "platform/platform.h"
#include "platform/window_list.h"

WindowList EnumeratedWindows;

std::string Text_CutToBytes(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t cut = maxBytes;
  // Step back over the continuation bytes of the character the limit falls into (at most three:
  // beyond that the bytes are no UTF-8 character anyway).
  for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80;
       ++back)
    --cut;
  return std::string(text.substr(0, cut));
}

std::uint32_t Process_GetCurrentId() { return Plat_CurrentProcessId(); }

std::uint32_t Window_GetProcessId(WindowHandle window) { return Plat_WindowProcessId(window); }

std::uint32_t Window_GetThreadId(WindowHandle window) { return Plat_WindowThreadId(window); }

std::string Window_GetTitle(WindowHandle window) {
  return Text_CutToBytes(Plat_WindowTitle(window), kWindowTitleLimit);
}

std::string Window_GetClassName(WindowHandle window) {
  return Text_CutToBytes(Plat_WindowClassName(window), kWindowClassNameLimit);
}

int Window_IsVisible(WindowHandle window) { return Plat_IsWindowVisible(window) ? 1 : 0; }

int Window_EnumCallback(WindowHandle window) {
  WindowInfo info;
  info.Handle = window;
  info.ProcessId = Window_GetProcessId(window);
  info.ThreadId = Window_GetThreadId(window);
  info.Title = Window_GetTitle(window);
  info.ClassName = Window_GetClassName(window);
  EnumeratedWindows.push_back(std::move(info));
  return 1;
}

int Window_EnumerateTopLevel(WindowList& list) {
  // Whatever a failed walk gathered is used as it is.
  Plat_EnumTopLevelWindows(Window_EnumCallback);
  list = EnumeratedWindows;
  WindowList().swap(EnumeratedWindows);
  return static_cast<int>(list.size());
}

WindowHandle Window_FindVisibleOfProcess(std::uint32_t processId) {
  WindowList list;
  Window_EnumerateTopLevel(list);
  // Visibility is asked now, not when the list was made: a window may have been hidden since.
  for (const WindowInfo& info : list)
    if (info.ProcessId == processId && Window_IsVisible(info.Handle)) return info.Handle;
  return 0;
}
