#include "tests/win/win_test_support.h"

#include "canvas/canvas_image.h"
#include "platform/win32/text_win32.h"

namespace wintest {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(int ms) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms);
  while (GetTickCount64() < deadline) {
    Pump();
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  Pump();
}

Colour ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return static_cast<Colour>(c);
}

Colour ImagePixel(const ByteBlock& image, int x, int y) {
  const auto view = CanvasImage_View(image);
  if (!view || x < 0 || y < 0 || x >= view->width || y >= view->height) return 0xFFFFFFFFu;
  return view->PixelAt(x, y);
}

namespace {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof(in));
}

}  // namespace

void MoveMouseTo(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  // The smallest normalised coordinate that maps back onto the pixel.
  const LONG dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + w - 1) / w);
  const LONG dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + h - 1) / h);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
  PumpUntil([&] {
    POINT p{};
    return GetCursorPos(&p) && p.x == x && p.y == y;
  }, 2000);
  Pump();
}

void LeftDown() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
void LeftUp() { SendMouse(MOUSEEVENTF_LEFTUP); }
void RightDown() { SendMouse(MOUSEEVENTF_RIGHTDOWN); }
void RightUp() { SendMouse(MOUSEEVENTF_RIGHTUP); }

void PressKey(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

std::vector<PlatformEvent>& RecordedEvents() {
  static std::vector<PlatformEvent> events;
  return events;
}

void RecordEvent(const PlatformEvent& e) { RecordedEvents().push_back(e); }

bool MenuProbe::found = false;
RECT MenuProbe::rect{};
std::vector<std::string> MenuProbe::items;

namespace {

std::vector<WORD> g_menuKeys;

void CALLBACK MenuProbeTick(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, id);
  MenuProbe::found = true;
  GetWindowRect(menuWindow, &MenuProbe::rect);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    MenuProbe::items.push_back(win32::WideToUtf8(text));
  }
  for (WORD k : g_menuKeys) PressKey(k);
}

}  // namespace

void MenuProbe::Arm(std::vector<WORD> keys) {
  found = false;
  rect = {};
  items.clear();
  g_menuKeys = std::move(keys);
  SetTimer(nullptr, 0, 30, MenuProbeTick);
}

Colour PatternAt(int x, int y) {
  return static_cast<Colour>(((x * 7) & 0x7F) | (((y * 5) & 0x7F) << 8) | (0x40 << 16));
}

namespace {

LRESULT CALLBACK ColourWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ColourWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<ColourWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT && self != nullptr) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    if (self->pattern == nullptr) {
      HBRUSH brush = CreateSolidBrush(self->colour);
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
    } else {
      // Painted as a DIB so that every pixel is exact.
      const int w = client.right, h = client.bottom;
      std::vector<DWORD> px(static_cast<std::size_t>(w) * h);
      POINT origin{0, 0};
      ClientToScreen(hwnd, &origin);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const Colour c = self->pattern(origin.x + x, origin.y + y);
          px[static_cast<std::size_t>(y) * w + x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      bi.bmiHeader.biWidth = w;
      bi.bmiHeader.biHeight = -h;
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 32;
      SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

ColourWindow::ColourWindow(int left, int top, int width, int height, Colour c, bool topMost)
    : colour(c) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ColourWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"MozhouTest.Colour";
    registered = RegisterClassW(&wc) != 0;
  }
  hwnd = CreateWindowExW(topMost ? WS_EX_TOPMOST : 0, L"MozhouTest.Colour", L"", WS_POPUP, left,
                         top, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

ColourWindow::~ColourWindow() {
  if (hwnd != nullptr) DestroyWindow(hwnd);
  Pump();
}

}  // namespace wintest
