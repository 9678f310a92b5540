// The canvas control and the screen capture.
//
// The canvas keeps everything it shows in an off-screen 24-bit DIB: drawing goes into the DIB and
// invalidates only what it touched, and WM_PAINT copies invalid rectangles from it. So windows and
// menus passing over the canvas never erase the drawing; only a repaint on purpose (a new picture,
// "wipe") does.

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "canvas/canvas_image.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "resources/art.h"

namespace win32 {

namespace {

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Dword(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A cursor from a complete CUR file image (its first image). The resource form that
// CreateIconFromResourceEx reads is the hot spot as two WORDs, then the image's DIB.
HCURSOR CursorFromFile(std::span<const std::uint8_t> file) {
  constexpr std::size_t kHeader = 6, kEntry = 16;
  if (file.size() < kHeader + kEntry) return nullptr;
  const std::uint8_t* p = file.data();
  if (Word(p) != 0 || Word(p + 2) != 2 || Word(p + 4) < 1) return nullptr;
  const std::uint8_t* entry = p + kHeader;
  const std::uint32_t bytes = Dword(entry + 8);
  const std::uint32_t offset = Dword(entry + 12);
  if (bytes < sizeof(BITMAPINFOHEADER) || offset > file.size() || bytes > file.size() - offset)
    return nullptr;
  std::vector<BYTE> resource(4 + bytes);
  std::memcpy(resource.data(), entry + 4, 4);  // hot spot x, y
  std::memcpy(resource.data() + 4, p + offset, bytes);
  return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR));
}

HCURSOR CursorFor(CanvasCursor which) {
  Platform& p = ThePlatform();
  if (!p.cursorsLoaded) {
    p.cursorsLoaded = true;
    p.penCursor.reset(CursorFromFile(Art_PenCursor()));
    p.widthUpCursor.reset(CursorFromFile(Art_WidthUpCursor()));
    p.widthDownCursor.reset(CursorFromFile(Art_WidthDownCursor()));
  }
  HCURSOR own = nullptr;
  switch (which) {
    case CanvasCursor::Arrow: break;
    case CanvasCursor::Pen: own = p.penCursor.get(); break;
    case CanvasCursor::WidthUp: own = p.widthUpCursor.get(); break;
    case CanvasCursor::WidthDown: own = p.widthDownCursor.get(); break;
  }
  return own != nullptr ? own : LoadCursorW(nullptr, IDC_ARROW);
}

int Modifiers(WPARAM mouseKeys) {
  int m = 0;
  if (mouseKeys & MK_CONTROL) m |= kModCtrl;
  if (mouseKeys & MK_SHIFT) m |= kModShift;
  if (GetKeyState(VK_MENU) < 0) m |= kModAlt;
  return m;
}

int KeyModifiers() {
  int m = 0;
  if (GetKeyState(VK_CONTROL) < 0) m |= kModCtrl;
  if (GetKeyState(VK_SHIFT) < 0) m |= kModShift;
  if (GetKeyState(VK_MENU) < 0) m |= kModAlt;
  return m;
}

// The keypad's digits and "-", "." and "/" arrive as the main keyboard's keys; "+" keeps 107.
int TranslateKey(WPARAM vk) {
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + static_cast<int>(vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SUBTRACT: return VK_OEM_MINUS;
    case VK_DECIMAL: return VK_OEM_PERIOD;
    case VK_DIVIDE: return VK_OEM_2;
    default: return static_cast<int>(vk);
  }
}

void EmitFromCanvas(HWND hwnd, EventKind kind, LPARAM lParam, int modifiers, int key = 0) {
  PlatformEvent e;
  e.kind = kind;
  e.control = ToHandle(hwnd);
  e.window = ToHandle(GetParent(hwnd));
  // Positions as unsigned 16-bit words, as the message carries them.
  e.x = static_cast<int>(LOWORD(lParam));
  e.y = static_cast<int>(HIWORD(lParam));
  e.modifiers = modifiers;
  e.key = key;
  Emit(e);
}

void Invalidate(const CanvasWindow& c, RECT r) {
  RECT all{0, 0, c.surface->width(), c.surface->height()};
  if (IntersectRect(&r, &r, &all)) InvalidateRect(c.hwnd, &r, FALSE);
}

// Background colour, then the picture tiled from the top-left at its natural size.
void PaintBackground(CanvasWindow& c) {
  if (!c.surface) return;
  DibSurface& s = *c.surface;
  RECT all{0, 0, s.width(), s.height()};
  FillRect(s.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
  GdiFlush();
  if (const auto view = CanvasImage_View(c.picture)) {
    for (int y = 0; y < s.height(); y += view->height)
      for (int x = 0; x < s.width(); x += view->width)
        CanvasImage_BlitInto(s.bits(), s.width(), s.height(), s.stride(), *view, x, y,
                             {0, 0, view->width, view->height});
  }
  InvalidateRect(c.hwnd, nullptr, FALSE);
}

void ResizeSurface(CanvasWindow& c, int width, int height) {
  if (c.surface && c.surface->width() == width && c.surface->height() == height) return;
  c.surface = DibSurface::Create(width, height);  // none at 0 x 0
  PaintBackground(c);
}

HPEN CurrentPen(CanvasWindow& c) {
  if (!c.pen) c.pen.reset(CreatePen(PS_SOLID, c.penWidth, static_cast<COLORREF>(c.penColour)));
  return c.pen.get();
}

// What a shape drawn with the current pen between two corners may touch.
RECT TouchedBy(const CanvasWindow& c, int x1, int y1, int x2, int y2) {
  const int pad = c.penWidth / 2 + 2;
  return {std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::max(x1, x2) + pad + 1,
          std::max(y1, y2) + pad + 1};
}

void PaintFromSurface(CanvasWindow& c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(c.hwnd, &ps);
  if (dc == nullptr) return;
  const RECT& r = ps.rcPaint;
  if (c.surface) {
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, c.surface->dc(), r.left, r.top,
           SRCCOPY);
  } else {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  }
  EndPaint(c.hwnd, &ps);
}

ByteBlock CopyOut(const DibSurface& s) {
  GdiFlush();
  return CanvasImage_FromBottomUpRows(s.width(), s.height(), s.bits(), s.stride());
}

bool PointerOver(HWND hwnd) {
  POINT pt{};
  return GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd;
}

}  // namespace

CanvasWindow* FindCanvas(HWND hwnd) {
  auto& canvases = ThePlatform().canvases;
  auto it = canvases.find(hwnd);
  return it == canvases.end() ? nullptr : it->second.get();
}

HWND CreateCanvasControl(HWND parent, int id, int left, int top, int width, int height) {
  Platform& p = ThePlatform();
  auto object = std::make_unique<CanvasWindow>();
  CanvasWindow* canvas = object.get();
  HWND hwnd = CreateWindowExW(0, kCanvasClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                              left, top, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), p.instance, canvas);
  if (hwnd == nullptr) return nullptr;
  p.canvases[hwnd] = std::move(object);
  return hwnd;
}

LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* c = AttachedObject<CanvasWindow>(hwnd, message, lParam);
  if (c == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ResizeSurface(*c, cs->cx, cs->cy);
      return 0;
    }
    case WM_SIZE:
      ResizeSurface(*c, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel from the image
    case WM_PAINT:
      PaintFromSurface(*c);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(CursorFor(c->cursor));
        return TRUE;
      }
      break;
    // After each event the message goes on to the default processing.
    case WM_LBUTTONDOWN:
      EmitFromCanvas(hwnd, EventKind::LeftPress, lParam, Modifiers(wParam));
      break;
    case WM_MOUSEMOVE:
      EmitFromCanvas(hwnd, EventKind::MouseMove, lParam, Modifiers(wParam));
      break;
    case WM_LBUTTONUP:
      EmitFromCanvas(hwnd, EventKind::LeftRelease, lParam, Modifiers(wParam));
      break;
    case WM_RBUTTONDOWN:
      EmitFromCanvas(hwnd, EventKind::RightPress, lParam, Modifiers(wParam));
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // keys with Alt held
      EmitFromCanvas(hwnd, EventKind::KeyPress, 0, KeyModifiers(), TranslateKey(wParam));
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      ThePlatform().canvases.erase(hwnd);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32

using namespace win32;

void Plat_Canvas_SetPenWidth(WindowHandle canvas, int width) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr) return;
  width = std::clamp(width, 0, 32767);
  if (width != c->penWidth) c->pen.reset();
  c->penWidth = width;
}

void Plat_Canvas_SetPenColour(WindowHandle canvas, Colour colour) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr) return;
  if (colour != c->penColour) c->pen.reset();
  c->penColour = colour;
}

void Plat_Canvas_SetBrushHollow(WindowHandle canvas) {
  if (CanvasWindow* c = FindCanvas(ToHwnd(canvas))) c->brushHollow = true;
}

void Plat_Canvas_DrawLine(WindowHandle canvas, int x1, int y1, int x2, int y2) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface) return;
  HDC dc = c->surface->dc();
  {
    SelectGuard pen(dc, CurrentPen(*c));
    // GDI's line leaves out its end point with a 1-pixel pen and paints nothing at length 0.
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  }
  Invalidate(*c, TouchedBy(*c, x1, y1, x2, y2));
}

void Plat_Canvas_DrawRect(WindowHandle canvas, int x1, int y1, int x2, int y2) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface) return;
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  HDC dc = c->surface->dc();
  {
    SelectGuard pen(dc, CurrentPen(*c));
    SelectGuard brush(dc, GetStockObject(c->brushHollow ? NULL_BRUSH : WHITE_BRUSH));
    Rectangle(dc, left, top, right, bottom);
  }
  Invalidate(*c, TouchedBy(*c, left, top, right, bottom));
}

void Plat_Canvas_DrawImage(WindowHandle canvas, const ByteBlock& image, int x, int y) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface) return;
  const auto view = CanvasImage_View(image);
  if (!view) return;
  DibSurface& s = *c->surface;
  GdiFlush();
  CanvasImage_BlitInto(s.bits(), s.width(), s.height(), s.stride(), *view, x, y,
                       {0, 0, view->width, view->height});
  Invalidate(*c, {x, y, x + view->width, y + view->height});
}

void Plat_Canvas_DrawImagePart(WindowHandle canvas, const ByteBlock& image, Rect part) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface || part.Empty()) return;
  const auto view = CanvasImage_View(image);
  if (!view) return;
  DibSurface& s = *c->surface;
  GdiFlush();
  CanvasImage_BlitInto(s.bits(), s.width(), s.height(), s.stride(), *view, 0, 0, part);
  Invalidate(*c, {part.left, part.top, part.right, part.bottom});
}

ByteBlock Plat_Canvas_Capture(WindowHandle canvas) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface) return {};
  return CopyOut(*c->surface);
}

ByteBlock Plat_Canvas_Capture(WindowHandle canvas, int width, int height) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr || !c->surface) return {};
  const DibSurface& s = *c->surface;
  if (width == s.width() && height == s.height()) return CopyOut(s);
  auto scaled = DibSurface::Create(width, height);
  if (!scaled) return {};
  SetStretchBltMode(scaled->dc(), HALFTONE);
  SetBrushOrgEx(scaled->dc(), 0, 0, nullptr);
  if (!StretchBlt(scaled->dc(), 0, 0, width, height, s.dc(), 0, 0, s.width(), s.height(), SRCCOPY))
    return {};
  return CopyOut(*scaled);
}

void Plat_Canvas_Repaint(WindowHandle canvas) {
  if (CanvasWindow* c = FindCanvas(ToHwnd(canvas))) PaintBackground(*c);
}

void Plat_Canvas_SetPicture(WindowHandle canvas, const ByteBlock& image) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr) return;
  // A picture that is no canvas image counts as none.
  if (CanvasImage_View(image))
    c->picture = image;
  else
    ByteBlock().swap(c->picture);
  PaintBackground(*c);
}

void Plat_Canvas_SetCursor(WindowHandle canvas, CanvasCursor cursor) {
  CanvasWindow* c = FindCanvas(ToHwnd(canvas));
  if (c == nullptr) return;
  c->cursor = cursor;
  // Shown at once, without waiting for the pointer to move.
  if (PointerOver(c->hwnd)) SetCursor(CursorFor(cursor));
}

namespace {

// With desktop composition on, a window that was just shrunk or hidden (the panel, before a
// capture) can still be in the frame the compositor shows; waiting for the next composed frame
// keeps it out of the picture. Looked up at run time: older systems have no dwmapi.dll.
void WaitForComposedFrame() {
  using DwmFlushProc = HRESULT(WINAPI*)();
  static const auto flush = [] {
    HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return dwm ? reinterpret_cast<DwmFlushProc>(
                     reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")))
               : nullptr;
  }();
  if (flush) flush();
}

}  // namespace

ByteBlock Plat_CaptureScreen() {
  WaitForComposedFrame();
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  auto surface = DibSurface::Create(width, height);
  if (!surface) return {};
  WindowDc screen(nullptr);
  if (!screen) return {};
  if (!BitBlt(surface->dc(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT))
    return {};
  return CopyOut(*surface);
}
