// Windows and controls built from the form tables, their menus, and the window operations.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "platform/win32/win32_platform.h"
#include "resources/forms.h"

namespace win32 {

const wchar_t* const kFormClassName = L"Mozhou.Form";
const wchar_t* const kCanvasClassName = L"Mozhou.Canvas";

namespace {

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

COLORREF ToColorRef(std::uint32_t colour, int systemIndex) {
  return colour == kSystemFace ? GetSysColor(systemIndex) : static_cast<COLORREF>(colour);
}

const ControlSpec* FindSpec(const FormSpec& form, const char* name) {
  if (name == nullptr) return nullptr;
  for (const ControlSpec& c : form.controls)
    if (std::string_view(c.name) == name) return &c;
  return nullptr;
}

// The control's top-left in the form: its own position plus those of its containers.
POINT FormPosition(const FormSpec& form, const ControlSpec& design) {
  POINT p{design.left, design.top};
  const ControlSpec* container = FindSpec(form, design.container);
  for (int depth = 0; container != nullptr && depth < 16; ++depth) {
    p.x += container->left;
    p.y += container->top;
    container = FindSpec(form, container->container);
  }
  return p;
}

HFONT MakeFont(FormWindow& form, const FontSpec& design) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    font = metrics.lfMessageFont;
  else
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  if (design.height > 0) font.lfHeight = -design.height;
  if (design.bold) font.lfWeight = FW_BOLD;
  HFONT h = CreateFontIndirectW(&font);
  if (h != nullptr) form.fonts.emplace_back(h);
  return h;
}

HBRUSH BrushFor(FormWindow& form, std::uint32_t colour) {
  if (colour == kSystemFace) return GetSysColorBrush(COLOR_BTNFACE);
  HBRUSH h = CreateSolidBrush(static_cast<COLORREF>(colour));
  if (h != nullptr) form.brushes.emplace_back(h);
  return h;
}

void AppendItems(FormWindow& form, HMENU menu, std::span<const MenuItemSpec> items, UINT& nextId) {
  for (const MenuItemSpec& item : items) {
    const std::wstring text = Utf8ToWide(item.text);
    if (!item.children.empty()) {
      HMENU sub = CreatePopupMenu();
      if (sub == nullptr) continue;
      AppendItems(form, sub, item.children, nextId);
      if (!AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str()))
        DestroyMenu(sub);
      continue;
    }
    const UINT id = nextId++;
    if (AppendMenuW(menu, MF_STRING, id, text.c_str())) form.menuItems[id] = item.text;
  }
}

void BuildMenus(FormWindow& form) {
  UINT nextId = 1;  // 0 is TrackPopupMenuEx's "no choice"
  for (const MenuSpec& design : form.design->menus) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) continue;
    AppendItems(form, popup.get(), design.items, nextId);
    form.menus[design.name] = std::move(popup);
  }
}

HWND CreateControl(FormWindow& form, const ControlSpec& design, int id) {
  const POINT at = FormPosition(*form.design, design);
  const std::wstring caption = Utf8ToWide(design.caption);
  const DWORD base = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  HMENU idAsMenu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  const wchar_t* cls = nullptr;
  DWORD style = base;
  int height = design.height;
  switch (design.kind) {
    case ControlKind::Canvas:
      return CreateCanvasControl(form.hwnd, id, at.x, at.y, design.width, design.height);
    case ControlKind::CheckBox:
      cls = WC_BUTTONW;
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::Label:
      cls = WC_STATICW;
      style |= SS_NOTIFY | (design.align == TextAlign::Centre ? SS_CENTER
                            : design.wordWrap                 ? SS_LEFT
                                                            : SS_LEFTNOWORDWRAP);
      if (design.border) style |= WS_BORDER;
      break;
    case ControlKind::Slider:
      cls = TRACKBAR_CLASSW;
      style |= WS_TABSTOP | TBS_HORZ;
      break;
    case ControlKind::ShapeBox:
      cls = WC_STATICW;
      style |= SS_ETCHEDFRAME;
      break;
    case ControlKind::ColourPicker:
      // A stand-in until the panel gets its real colour picker.
      cls = WC_COMBOBOXW;
      style |= WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
      height += 200;  // the drop-down list's room
      break;
  }
  HWND h = CreateWindowExW(0, cls, caption.c_str(), style, at.x, at.y, design.width, height, form.hwnd,
                           idAsMenu, ThePlatform().instance, nullptr);
  if (h == nullptr) return nullptr;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(MakeFont(form, design.font)), FALSE);
  if (design.kind == ControlKind::CheckBox)
    SendMessageW(h, BM_SETCHECK, design.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (design.kind == ControlKind::Label || design.kind == ControlKind::CheckBox)
    form.looks[h] = {ToColorRef(design.textColour, COLOR_BTNTEXT), ToColorRef(design.backColour, COLOR_BTNFACE),
                     BrushFor(form, design.backColour)};
  return h;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = AttachedObject<FormWindow>(hwnd, message, lParam);
  if (form == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ACTIVATE:
      // Like a dialog: the child that had the keyboard input gets it back on reactivation.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus)) form->lastFocus = focus;
      } else if (form->lastFocus != nullptr && IsWindow(form->lastFocus) &&
                 IsChild(hwnd, form->lastFocus)) {
        SetFocus(form->lastFocus);
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto it = form->looks.find(reinterpret_cast<HWND>(lParam));
      if (it == form->looks.end()) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, it->second.text);
      SetBkColor(dc, it->second.back);
      return reinterpret_cast<LRESULT>(it->second.brush);
    }
    case kMenuChoiceMessage: {
      auto it = form->menuItems.find(static_cast<UINT>(wParam));
      if (it == form->menuItems.end()) return 0;
      PlatformEvent e;
      e.kind = EventKind::MenuChoice;
      e.window = ToHandle(hwnd);
      e.item = it->second;
      Emit(e);
      return 0;
    }
    case WM_DESTROY: {
      PlatformEvent e;
      e.kind = EventKind::WindowDestroyed;
      e.window = ToHandle(hwnd);
      Emit(e);
      return 0;
    }
    case WM_NCDESTROY: {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      ThePlatform().forms.erase(hwnd);  // the form object goes with its window
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Rect of a window relative to the client area of `reference` (screen when null).
RECT RectIn(HWND window, HWND reference) {
  RECT r{};
  GetWindowRect(window, &r);
  if (reference != nullptr) MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// For controls, the offset of the coordinates their bounds are given in (their container's
// top-left within the form); (0, 0) otherwise.
POINT BoundsOrigin(HWND window) {
  HWND parent = GetParent(window);
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0 || parent == nullptr) return {0, 0};
  if (FormWindow* form = FindForm(parent)) {
    auto it = form->containerOf.find(window);
    if (it != form->containerOf.end()) {
      const RECT c = RectIn(it->second, parent);
      return {c.left, c.top};
    }
  }
  return {0, 0};
}

// Some window managers (Wine's) lift an owner's owned windows into the top-most band first, slot
// the owner in below them and then leave it outside the band when nothing top-most follows. Lift
// the owner on its own, then put its owned windows back above it.
struct OwnedSearch {
  HWND owner;
  std::vector<HWND> owned;
};

BOOL CALLBACK CollectOwned(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<OwnedSearch*>(p);
  if (GetWindow(w, GW_OWNER) == s->owner) s->owned.push_back(w);
  return TRUE;
}

void LiftOwnerTopMost(HWND owner, unsigned flags) {
  OwnedSearch search{owner, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&search));
  const LONG_PTR ownerValue = reinterpret_cast<LONG_PTR>(owner);
  for (HWND w : search.owned) SetWindowLongPtrW(w, GWLP_HWNDPARENT, 0);
  SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, flags);
  for (HWND w : search.owned) {
    SetWindowLongPtrW(w, GWLP_HWNDPARENT, ownerValue);
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Resize(HWND h, int width, int height) {
  SetWindowPos(h, nullptr, 0, 0, std::max(width, 0), std::max(height, 0),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

bool RegisterClasses() {
  Platform& p = ThePlatform();
  if (p.classesRegistered) return true;
  if (p.instance == nullptr) p.instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW form{};
  form.cbSize = sizeof(form);
  form.lpfnWndProc = FormProc;
  form.hInstance = p.instance;
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  form.lpszClassName = kFormClassName;
  form.hIcon = LoadIconW(p.instance, MAKEINTRESOURCEW(1));
  WNDCLASSEXW canvas{};
  canvas.cbSize = sizeof(canvas);
  canvas.lpfnWndProc = CanvasProc;
  canvas.hInstance = p.instance;
  canvas.lpszClassName = kCanvasClassName;
  // No class cursor and no background brush: the canvas sets its own pointer and paints every
  // pixel from its image.
  if (!RegisterClassExW(&form) || !RegisterClassExW(&canvas)) return false;
  p.classesRegistered = true;
  return true;
}

FormWindow* FindForm(HWND hwnd) {
  auto& forms = ThePlatform().forms;
  auto it = forms.find(hwnd);
  return it == forms.end() ? nullptr : it->second.get();
}

}  // namespace win32

using namespace win32;

WindowHandle Plat_LoadForm(const FormSpec& design, WindowHandle owner, CreatedHandler onCreated) {
  Platform& p = ThePlatform();
  if (!RegisterClasses()) return 0;
  auto object = std::make_unique<FormWindow>();
  FormWindow* form = object.get();
  form->design = &design;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - design.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - design.height) / 2;
  // A popup without caption or border; an owned one gets no taskbar button and stays above its
  // owner. A form holding a canvas must not erase under it (the canvas paints every pixel); other
  // forms erase under their children too, because frame-only shape boxes show the form through.
  const bool hasCanvas = std::any_of(design.controls.begin(), design.controls.end(), [](const auto& c) {
    return c.kind == ControlKind::Canvas;
  });
  const DWORD formStyle = WS_POPUP | (hasCanvas ? WS_CLIPCHILDREN : 0);
  HWND hwnd = CreateWindowExW(0, kFormClassName, Utf8ToWide(design.caption).c_str(), formStyle,
                              left, top, design.width, design.height,
                              ToHwnd(owner), nullptr, p.instance, form);
  if (hwnd == nullptr) return 0;
  p.forms[hwnd] = std::move(object);

  int id = 1;
  for (const ControlSpec& c : design.controls) {
    HWND control = CreateControl(*form, c, id++);
    if (control == nullptr) continue;
    form->controls[c.name] = control;
  }
  for (const ControlSpec& c : design.controls) {
    auto self = form->controls.find(c.name);
    auto container = c.container ? form->controls.find(c.container) : form->controls.end();
    if (self != form->controls.end() && container != form->controls.end())
      form->containerOf[self->second] = container->second;
  }
  BuildMenus(*form);

  if (onCreated) onCreated(ToHandle(hwnd));
  if (IsWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? ToHandle(hwnd) : 0;
}

WindowHandle Plat_FindControl(WindowHandle window, const std::string& name) {
  FormWindow* form = FindForm(ToHwnd(window));
  if (form == nullptr) return 0;
  auto it = form->controls.find(name);
  return it == form->controls.end() ? 0 : ToHandle(it->second);
}

Rect Plat_GetBounds(WindowHandle window) {
  HWND h = ToHwnd(window);
  if (!IsWindow(h)) return {};
  const bool child = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) != 0;
  RECT r = RectIn(h, child ? GetParent(h) : nullptr);
  const POINT origin = BoundsOrigin(h);
  return {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

void Plat_SetBounds(WindowHandle window, int left, int top, int width, int height) {
  HWND h = ToHwnd(window);
  if (!IsWindow(h)) return;
  const POINT origin = BoundsOrigin(h);
  SetWindowPos(h, nullptr, left + origin.x, top + origin.y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Plat_SetWidth(WindowHandle window, int width) {
  HWND h = ToHwnd(window);
  RECT r{};
  if (!GetWindowRect(h, &r)) return;
  Resize(h, width, r.bottom - r.top);
}

void Plat_SetHeight(WindowHandle window, int height) {
  HWND h = ToHwnd(window);
  RECT r{};
  if (!GetWindowRect(h, &r)) return;
  Resize(h, r.right - r.left, height);
}

// Showing never activates: the one caller that wants the window in front (pen mode) raises it
// itself right afterwards.
void Plat_SetVisible(WindowHandle window, bool visible) {
  HWND h = ToHwnd(window);
  if (IsWindow(h)) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
}

bool Plat_IsVisible(WindowHandle window) {
  HWND h = ToHwnd(window);
  return IsWindow(h) && (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Plat_ShowCommand(WindowHandle window, int showCommand) {
  HWND h = ToHwnd(window);
  if (IsWindow(h)) ShowWindow(h, showCommand);
}

void Plat_SetForeground(WindowHandle window) {
  HWND h = ToHwnd(window);
  if (IsWindow(h)) SetForegroundWindow(h);
}

void Plat_SetZOrder(WindowHandle window, std::intptr_t insertAfter, unsigned flags) {
  HWND h = ToHwnd(window);
  if (!IsWindow(h)) return;
  SetWindowPos(h, reinterpret_cast<HWND>(insertAfter), 0, 0, 0, 0, flags);
  if (reinterpret_cast<HWND>(insertAfter) == HWND_TOPMOST && (flags & SWP_NOZORDER) == 0 &&
      !Plat_IsTopMost(window))
    LiftOwnerTopMost(h, flags);
}

bool Plat_IsTopMost(WindowHandle window) {
  HWND h = ToHwnd(window);
  return IsWindow(h) && (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Plat_Focus(WindowHandle control) {
  HWND h = ToHwnd(control);
  if (IsWindow(h)) SetFocus(h);
}

void Plat_RepaintWindow(WindowHandle window) {
  HWND h = ToHwnd(window);
  if (IsWindow(h)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Plat_IsChecked(WindowHandle checkBox) {
  HWND h = ToHwnd(checkBox);
  return IsWindow(h) && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Plat_SetChecked(WindowHandle checkBox, bool checked) {
  HWND h = ToHwnd(checkBox);
  if (IsWindow(h)) SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Plat_PopupMenu(WindowHandle window, const std::string& menuName) {
  HWND h = ToHwnd(window);
  FormWindow* form = FindForm(h);
  if (form == nullptr) return;
  auto it = form->menus.find(menuName);
  if (it == form->menus.end()) return;
  POINT pt{};
  if (!GetCursorPos(&pt)) return;
  // Without being in front the menu would not close on a click elsewhere.
  SetForegroundWindow(h);
  const UINT id = static_cast<UINT>(TrackPopupMenuEx(
      it->second.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x, pt.y,
      h, nullptr));
  PostMessageW(h, WM_NULL, 0, 0);
  // The chosen item's handler runs from the loop, after the menu has gone.
  if (id != 0) PostMessageW(h, kMenuChoiceMessage, id, 0);
}
