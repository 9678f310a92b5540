// The Win32 backend's one instance and the window objects it keeps. Internal to platform/win32 (and
// to the Windows tests that look behind the boundary).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/dib_win32.h"
#include "platform/win32/handles_win32.h"
#include "resources/forms.h"

namespace win32 {

// Posted to a form window after its popup menu closed with a choice; wParam is the command id.
inline constexpr UINT kMenuChoiceMessage = WM_APP + 1;

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle ToHandle(HWND h) { return reinterpret_cast<WindowHandle>(h); }

// How a static-like control paints its text and background (WM_CTLCOLORSTATIC).
struct ControlLook {
  COLORREF text = 0;
  COLORREF back = 0;
  HBRUSH brush = nullptr;  // owned by the form's brush list, or a system brush
};

// A window built from a form table. Controls of a container are children of the form window,
// offset by the container's position, so every notification reaches the form; their bounds are
// read and set relative to the container, as the table gives them.
struct FormWindow {
  HWND hwnd = nullptr;
  const FormSpec* design = nullptr;
  std::map<std::string, HWND> controls;        // by form name
  std::map<HWND, HWND> containerOf;            // control -> its container control
  std::map<HWND, ControlLook> looks;
  std::vector<UniqueFont> fonts;
  std::vector<UniqueBrush> brushes;
  std::map<std::string, UniqueMenu> menus;     // popup menus by the name of their hidden item
  std::map<UINT, std::string> menuItems;       // command id -> item text
  HWND lastFocus = nullptr;                    // the child that had the keyboard input
};

// The canvas control: everything it shows lives in `surface`; painting only copies from it.
struct CanvasWindow {
  HWND hwnd = nullptr;
  std::unique_ptr<DibSurface> surface;  // none while the canvas has no area
  ByteBlock picture;                    // the background picture (a canvas image), empty: none
  int penWidth = 0;
  Colour penColour = 0;
  UniquePen pen;                        // made from width and colour when first needed
  bool brushHollow = false;
  CanvasCursor cursor = CanvasCursor::Arrow;
};

struct Platform {
  HINSTANCE instance = nullptr;
  EventSink sink = nullptr;
  void (*cleanUp)() = nullptr;
  std::string runDirectory;
  bool classesRegistered = false;
  std::map<HWND, std::unique_ptr<FormWindow>> forms;
  std::map<HWND, std::unique_ptr<CanvasWindow>> canvases;
  UniqueCursor penCursor, widthUpCursor, widthDownCursor;
  bool cursorsLoaded = false;
};

Platform& ThePlatform();

// Delivers an event to the logic's sink, if one is set.
void Emit(const PlatformEvent& event);

// Registers the window classes of forms and canvases (once).
bool RegisterClasses();
extern const wchar_t* const kFormClassName;
extern const wchar_t* const kCanvasClassName;
LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the canvas control of a form.
HWND CreateCanvasControl(HWND parent, int id, int left, int top, int width, int height);

FormWindow* FindForm(HWND hwnd);
CanvasWindow* FindCanvas(HWND hwnd);

// The C++ object behind one of our windows. It is attached at WM_NCCREATE from the creation
// parameter and read back for every later message; nullptr before that and after WM_NCDESTROY.
template <typename T>
T* AttachedObject(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* object = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    object->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    return nullptr;  // nothing to do before the window exists
  }
  return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace win32
