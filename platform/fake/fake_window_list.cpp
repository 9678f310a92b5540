#include "platform/fake/fake_window_list.h"

#include "platform/fake/fake_desktop.h"

namespace fake {

WindowListDesktop& FakeWindowList() {
  static WindowListDesktop list;
  return list;
}

void ResetWindowList() { FakeWindowList() = WindowListDesktop{}; }

TopLevelWindow* FindTopLevel(WindowHandle handle) {
  for (TopLevelWindow& w : FakeWindowList().windows)
    if (w.handle == handle) return &w;
  return nullptr;
}

namespace {

// One of the program's own top-level windows (a loaded form that still exists).
const Window* OwnTopLevel(WindowHandle handle) {
  if (!FakeWindowList().includeOwnWindows) return nullptr;
  auto it = Fake().windows.find(handle);
  if (it == Fake().windows.end() || it->second.isControl || it->second.destroyed) return nullptr;
  return &it->second;
}

std::vector<WindowHandle> ZOrder() {
  std::vector<WindowHandle> order;
  for (const TopLevelWindow& w : FakeWindowList().windows) order.push_back(w.handle);
  for (WindowHandle h : Fake().zOrder)
    if (OwnTopLevel(h) && !FindTopLevel(h)) order.push_back(h);
  return order;
}

}  // namespace

}  // namespace fake

using namespace fake;

bool Plat_EnumTopLevelWindows(TopLevelVisitor visit) {
  WindowListDesktop& list = FakeWindowList();
  ++list.walks;
  int visited = 0;
  bool completed = true;
  for (WindowHandle h : ZOrder()) {
    if (list.failAfter >= 0 && visited >= list.failAfter) {
      completed = false;
      break;
    }
    ++visited;
    if (visit(h) == 0) {
      completed = false;
      break;
    }
  }
  if (list.afterWalk) list.afterWalk();
  return completed;
}

std::uint32_t Plat_WindowProcessId(WindowHandle window) {
  if (const TopLevelWindow* w = FindTopLevel(window)) return w->processId;
  return OwnTopLevel(window) ? Plat_CurrentProcessId() : 0;
}

std::uint32_t Plat_WindowThreadId(WindowHandle window) {
  if (const TopLevelWindow* w = FindTopLevel(window)) return w->threadId;
  return OwnTopLevel(window) ? kOwnThreadId : 0;
}

std::string Plat_WindowTitle(WindowHandle window) {
  if (const TopLevelWindow* w = FindTopLevel(window)) return w->title;
  const Window* own = OwnTopLevel(window);
  return own && own->form && own->form->caption ? own->form->caption : "";
}

std::string Plat_WindowClassName(WindowHandle window) {
  if (const TopLevelWindow* w = FindTopLevel(window)) return w->className;
  return OwnTopLevel(window) ? kOwnClassName : "";
}

bool Plat_IsWindowVisible(WindowHandle window) {
  FakeWindowList().visibilityQueries.push_back(window);
  if (const TopLevelWindow* w = FindTopLevel(window)) return w->visible;
  const Window* own = OwnTopLevel(window);
  return own && own->visible;
}
