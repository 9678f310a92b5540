#include "platform/fake/fake_desktop.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "canvas/canvas_image.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_window_list.h"

namespace fake {

namespace {

const char *CursorName(CanvasCursor c) {
  switch (c) {
  case CanvasCursor::Arrow:
    return "Arrow";
  case CanvasCursor::Pen:
    return "Pen";
  case CanvasCursor::WidthUp:
    return "WidthUp";
  case CanvasCursor::WidthDown:
    return "WidthDown";
  }
  return "?";
}

void Log(const std::string &entry) { Fake().log.push_back(entry); }

std::string NameOf(WindowHandle h) {
  auto it = Fake().windows.find(h);
  return it == Fake().windows.end() ? std::to_string(h) : it->second.name;
}

Canvas *FindCanvas(WindowHandle h) {
  auto it = Fake().canvases.find(h);
  return it == Fake().canvases.end() ? nullptr : &it->second;
}

// A writable view of a canvas image's pixels for the rasterising helpers below.
struct Raster {
  std::uint8_t *pixels = nullptr;
  int width = 0, height = 0;
  std::size_t stride = 0;
  explicit Raster(ByteBlock &image) {
    if (auto view = CanvasImage_View(image)) {
      pixels = CanvasImage_Pixels(image);
      width = view->width;
      height = view->height;
      stride = view->stride;
    }
  }
  void Put(int x, int y, Colour c) const {
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height)
      return;
    std::uint8_t *px = pixels + (height - 1 - y) * stride + 3 * x;
    px[0] = static_cast<std::uint8_t>(c >> 16);
    px[1] = static_cast<std::uint8_t>(c >> 8);
    px[2] = static_cast<std::uint8_t>(c);
  }
};

// A round dot of diameter `width` centred on (x, y): what a wide pen leaves at
// a point.
void Dot(const Raster &r, int x, int y, int width, Colour c) {
  if (width <= 1)
    return r.Put(x, y, c);
  const int radius = width / 2;
  if (x + radius < 0 || y + radius < 0 || x - radius >= r.width ||
      y - radius >= r.height)
    return;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius)
        r.Put(x + dx, y + dy, c);
}

// A line like GDI's: a 1-pixel pen leaves out the end point; a wide pen has
// round ends.
void Line(ByteBlock &image, int x1, int y1, int x2, int y2, int width,
          Colour c) {
  if (x1 == x2 && y1 == y2 && width <= 1)
    return;
  const Raster raster(image);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy, x = x1, y = y1;
  for (;;) {
    const bool end = x == x2 && y == y2;
    if (end && width <= 1)
      break;
    Dot(raster, x, y, width, c);
    if (end)
      break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Fill(ByteBlock &image, Rect r, Colour c) {
  const Raster raster(image);
  r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, raster.width),
       std::min(r.bottom, raster.height)};
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      raster.Put(x, y, c);
}

void PaintBackground(Canvas &canvas) {
  auto view = CanvasImage_View(canvas.image);
  if (!view)
    return;
  Fill(canvas.image, {0, 0, view->width, view->height}, kButtonFace);
  auto picture = CanvasImage_View(canvas.picture);
  if (!picture)
    return;
  for (int y = 0; y < view->height; y += picture->height)
    for (int x = 0; x < view->width; x += picture->width)
      CanvasImage_BlitInto(CanvasImage_Pixels(canvas.image), view->width,
                           view->height, view->stride, *picture, x, y,
                           {0, 0, picture->width, picture->height});
}

void ResizeCanvas(WindowHandle h, int width, int height) {
  Canvas *canvas = FindCanvas(h);
  if (!canvas)
    return;
  auto view = CanvasImage_View(canvas->image);
  if (view && view->width == width && view->height == height)
    return;
  canvas->image = CanvasImage_Create(width, height);
  PaintBackground(*canvas);
}

void BringToFront(WindowHandle h) {
  auto &z = Fake().zOrder;
  z.erase(std::remove(z.begin(), z.end(), h), z.end());
  z.insert(z.begin(), h);
}

} // namespace

Desktop &Fake() {
  static Desktop desktop;
  return desktop;
}

ByteBlock ScreenPattern(int width, int height) {
  ByteBlock image = CanvasImage_Create(width, height);
  const Raster raster(image);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      raster.Put(x, y, ScreenPatternAt(x, y));
  return image;
}

Colour ScreenPatternAt(int x, int y) {
  // Never pure red, black or white, so strokes and outlines stand out from it.
  return static_cast<Colour>(((x * 7) & 0x7F) | (((y * 5) & 0x7F) << 8) |
                             (0x40 << 16));
}

void Reset() {
  Desktop &d = Fake();
  d = Desktop{};
  d.screenImage = ScreenPattern(d.screen.width, d.screen.height);
  d.currentDirectory = d.runDirectory;
  ResetHotkeys();
  ResetWindowList();
}

void Send(const PlatformEvent &event) {
  if (Fake().sink)
    Fake().sink(event);
}

void Post(const PlatformEvent &event) { Fake().queue.push_back(event); }

void DispatchQueued() {
  while (!Fake().queue.empty() && !Fake().exitCode) {
    PlatformEvent e = Fake().queue.front();
    Fake().queue.pop_front();
    Send(e);
  }
}

namespace {
WindowHandle TheCanvas() {
  for (auto &[h, c] : Fake().canvases)
    return h;
  return 0;
}
void MouseEvent(EventKind kind, int x, int y, int modifiers) {
  PlatformEvent e;
  e.kind = kind;
  e.control = TheCanvas();
  e.window = e.control ? WindowRecord(e.control).parent : 0;
  e.x = x & 0xFFFF;
  e.y = y & 0xFFFF;
  e.modifiers = modifiers;
  Send(e);
}
} // namespace

void LeftPress(int x, int y, int m) {
  MouseEvent(EventKind::LeftPress, x, y, m);
}
void MouseMove(int x, int y, int m) {
  MouseEvent(EventKind::MouseMove, x, y, m);
}
void LeftRelease(int x, int y, int m) {
  MouseEvent(EventKind::LeftRelease, x, y, m);
}
void RightPress(int x, int y, int m) {
  MouseEvent(EventKind::RightPress, x, y, m);
}

void KeyPress(int key, int modifiers) {
  PlatformEvent e;
  e.kind = EventKind::KeyPress;
  e.control = TheCanvas();
  e.key = key;
  e.modifiers = modifiers;
  Send(e);
}

void ChooseMenuItem(WindowHandle window, const std::string &item) {
  PlatformEvent e;
  e.kind = EventKind::MenuChoice;
  e.window = window;
  e.item = item;
  Send(e);
}

Window &WindowRecord(WindowHandle handle) {
  auto it = Fake().windows.find(handle);
  if (it == Fake().windows.end())
    throw std::out_of_range("no such fake window");
  return it->second;
}

Canvas &CanvasRecord(WindowHandle canvas) {
  Canvas *c = FindCanvas(canvas);
  if (!c)
    throw std::out_of_range("no such fake canvas");
  return *c;
}

Colour CanvasPixel(WindowHandle canvas, int x, int y) {
  auto view = CanvasImage_View(CanvasRecord(canvas).image);
  return view ? view->PixelAt(x, y) : 0;
}

std::vector<std::string> LogEntries(const std::string &prefix) {
  std::vector<std::string> out;
  for (const auto &e : Fake().log)
    if (e.rfind(prefix, 0) == 0)
      out.push_back(e);
  return out;
}

} // namespace fake

using namespace fake;

// ---- process

void Plat_SetEventSink(EventSink sink) { Fake().sink = sink; }
void Plat_Init() { Fake().currentDirectory = Fake().runDirectory; }
std::string Plat_RunDirectory() { return Fake().runDirectory; }
std::string Plat_GetCurrentDirectory() { return Fake().currentDirectory; }
bool Plat_SetCurrentDirectory(const std::string &dir) {
  if (dir.empty())
    return false;
  Fake().currentDirectory = dir;
  return true;
}
void Plat_AtExit(void (*cleanUp)()) { Fake().atExit = cleanUp; }
int Plat_RunEventLoop() {
  DispatchQueued();
  return Fake().exitCode.value_or(0);
}
void Plat_PauseDispatching(int milliseconds) {
  Fake().pauses.push_back(milliseconds);
  Log("Pause " + std::to_string(milliseconds));
  DispatchQueued();
}
void Plat_Exit(int code) {
  if (Fake().exitCode)
    return;
  Fake().exitCode = code;
  if (auto cleanUp = std::exchange(Fake().atExit, nullptr))
    cleanUp();
}
void Plat_FatalError(const std::string &text) {
  Fake().messageBoxes.push_back({0, text, "Error", 0x10});
  Fake().exitCode = -1;
  throw FatalError(text);
}
std::uint32_t Plat_CurrentProcessId() { return 4242; }

// ---- windows

namespace {
WindowHandle NewWindow(Window w) {
  w.handle = Fake().nextHandle++;
  Fake().windows[w.handle] = w;
  return w.handle;
}
} // namespace

WindowHandle Plat_LoadForm(const FormSpec &form, WindowHandle owner,
                           CreatedHandler onCreated) {
  Window w;
  w.name = form.name;
  w.form = &form;
  w.owner = owner;
  const Size s = Fake().screen;
  w.bounds = {(s.width - form.width) / 2, (s.height - form.height) / 2, 0, 0};
  w.bounds.right = w.bounds.left + form.width;
  w.bounds.bottom = w.bounds.top + form.height;
  const WindowHandle window = NewWindow(w);
  Fake().zOrder.insert(Fake().zOrder.begin(), window);
  for (const ControlSpec &design : form.controls) {
    Window c;
    c.name = design.name;
    c.parent = window;
    c.kind = design.kind;
    c.isControl = true;
    c.bounds = {design.left, design.top, design.left + design.width,
                design.top + design.height};
    c.visible = true;
    c.checked = design.checked;
    const WindowHandle control = NewWindow(c);
    if (design.kind == ControlKind::Canvas) {
      Canvas &canvas = Fake().canvases[control];
      canvas.image = CanvasImage_Create(design.width, design.height);
      PaintBackground(canvas);
    }
  }
  Log("LoadForm " + w.name);
  if (onCreated)
    onCreated(window);
  Fake().windows[window].visible = true;
  Log("Show " + w.name);
  return window;
}

WindowHandle Plat_FindControl(WindowHandle window, const std::string &name) {
  for (auto &[h, w] : Fake().windows)
    if (w.isControl && w.parent == window && w.name == name)
      return h;
  return 0;
}

Size Plat_ScreenSize() { return Fake().screen; }
Point Plat_PointerPosition() { return Fake().pointer; }

Rect Plat_GetBounds(WindowHandle window) {
  auto it = Fake().windows.find(window);
  return it == Fake().windows.end() ? Rect{} : it->second.bounds;
}

void Plat_SetBounds(WindowHandle window, int left, int top, int width,
                    int height) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  it->second.bounds = {left, top, left + width, top + height};
  Log("SetBounds " + it->second.name + " " + std::to_string(left) + "," +
      std::to_string(top) + " " + std::to_string(width) + "x" +
      std::to_string(height));
  ResizeCanvas(window, width, height);
}

void Plat_SetWidth(WindowHandle window, int width) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return;
  it->second.bounds.right = it->second.bounds.left + std::max(width, 0);
  Log("SetWidth " + it->second.name + " " + std::to_string(width));
}

void Plat_SetHeight(WindowHandle window, int height) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return;
  it->second.bounds.bottom = it->second.bounds.top + std::max(height, 0);
  Log("SetHeight " + it->second.name + " " + std::to_string(height));
}

void Plat_SetVisible(WindowHandle window, bool visible) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return;
  it->second.visible = visible;
  Log(std::string(visible ? "Show " : "Hide ") + it->second.name);
}

bool Plat_IsVisible(WindowHandle window) {
  auto it = Fake().windows.find(window);
  return it != Fake().windows.end() && it->second.visible;
}

void Plat_ShowCommand(WindowHandle window, int showCommand) {
  Log("ShowCommand " + NameOf(window) + " " + std::to_string(showCommand));
}

void Plat_SetForeground(WindowHandle window) {
  Fake().foreground = window;
  Log("SetForeground " + NameOf(window));
}

void Plat_SetZOrder(WindowHandle window, std::intptr_t insertAfter,
                    unsigned flags) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return;
  if (insertAfter == -1)
    it->second.topMost = true;
  if (insertAfter == -2)
    it->second.topMost = false;
  if (insertAfter == -1)
    BringToFront(window);
  Log("SetZOrder " + it->second.name + " " + std::to_string(insertAfter) + " " +
      std::to_string(flags));
}

bool Plat_IsTopMost(WindowHandle window) {
  auto it = Fake().windows.find(window);
  if (it == Fake().windows.end())
    return false;
  // An owned window follows its owner.
  return it->second.topMost ||
         (it->second.owner && Plat_IsTopMost(it->second.owner));
}

void Plat_Focus(WindowHandle control) {
  Fake().focus = control;
  Log("Focus " + NameOf(control));
}

void Plat_RepaintWindow(WindowHandle window) {
  Log("RepaintWindow " + NameOf(window));
}

bool Plat_IsChecked(WindowHandle checkBox) {
  auto it = Fake().windows.find(checkBox);
  return it != Fake().windows.end() && it->second.checked;
}

void Plat_SetChecked(WindowHandle checkBox, bool checked) {
  auto it = Fake().windows.find(checkBox);
  if (it != Fake().windows.end())
    it->second.checked = checked;
}

void Plat_PopupMenu(WindowHandle window, const std::string &menuName) {
  Fake().popups.push_back({window, menuName, Fake().pointer});
  Log("PopupMenu " + menuName);
  if (auto choice = std::exchange(Fake().nextMenuChoice, std::nullopt)) {
    PlatformEvent e;
    e.kind = EventKind::MenuChoice;
    e.window = window;
    e.item = *choice;
    Post(e);
  }
}

int Plat_MessageBox(WindowHandle owner, const std::string &text,
                    const std::string &title, unsigned style) {
  Fake().messageBoxes.push_back({owner, text, title, style});
  Log("MessageBox " + text);
  if (Fake().messageBoxAnswers.empty())
    return 1;
  const int answer = Fake().messageBoxAnswers.front();
  Fake().messageBoxAnswers.pop_front();
  return answer;
}

void Plat_OpenAddress(const std::string &address) {
  Fake().openedAddresses.push_back(address);
}

// ---- canvas

void Plat_Canvas_SetPenWidth(WindowHandle canvas, int width) {
  if (Canvas *c = FindCanvas(canvas))
    c->penWidth = std::clamp(width, 0, 32767);
}

void Plat_Canvas_SetPenColour(WindowHandle canvas, Colour colour) {
  if (Canvas *c = FindCanvas(canvas))
    c->penColour = colour;
}

void Plat_Canvas_SetBrushHollow(WindowHandle canvas) {
  if (Canvas *c = FindCanvas(canvas))
    c->brushHollow = true;
}

void Plat_Canvas_DrawLine(WindowHandle canvas, int x1, int y1, int x2, int y2) {
  Canvas *c = FindCanvas(canvas);
  if (!c)
    return;
  Log("DrawLine " + std::to_string(x1) + "," + std::to_string(y1) + " " +
      std::to_string(x2) + "," + std::to_string(y2));
  Line(c->image, x1, y1, x2, y2, c->penWidth, c->penColour);
}

void Plat_Canvas_DrawRect(WindowHandle canvas, int x1, int y1, int x2, int y2) {
  Canvas *c = FindCanvas(canvas);
  if (!c)
    return;
  Log("DrawRect " + std::to_string(x1) + "," + std::to_string(y1) + " " +
      std::to_string(x2) + "," + std::to_string(y2));
  const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2),
            b = std::max(y1, y2);
  if (r <= l || b <= t)
    return;
  if (!c->brushHollow)
    Fill(c->image, {l, t, r, b}, 0xFFFFFF);
  const int w = c->penWidth <= 1 ? 0 : c->penWidth;
  const Colour pc = c->penColour;
  if (w == 0) {
    Fill(c->image, {l, t, r, t + 1}, pc);
    Fill(c->image, {l, b - 1, r, b}, pc);
    Fill(c->image, {l, t, l + 1, b}, pc);
    Fill(c->image, {r - 1, t, r, b}, pc);
  } else {
    Line(c->image, l, t, r - 1, t, w, pc);
    Line(c->image, r - 1, t, r - 1, b - 1, w, pc);
    Line(c->image, r - 1, b - 1, l, b - 1, w, pc);
    Line(c->image, l, b - 1, l, t, w, pc);
  }
}

void Plat_Canvas_DrawImage(WindowHandle canvas, const ByteBlock &image, int x,
                           int y) {
  Canvas *c = FindCanvas(canvas);
  auto source = CanvasImage_View(image);
  Log("DrawImage " + std::to_string(x) + "," + std::to_string(y) +
      (source ? "" : " empty"));
  auto target = c ? CanvasImage_View(c->image) : std::nullopt;
  if (!source || !target)
    return;
  CanvasImage_BlitInto(CanvasImage_Pixels(c->image), target->width,
                       target->height, target->stride, *source, x, y,
                       {0, 0, source->width, source->height});
}

void Plat_Canvas_DrawImagePart(WindowHandle canvas, const ByteBlock &image,
                               Rect part) {
  Canvas *c = FindCanvas(canvas);
  auto source = CanvasImage_View(image);
  Log("DrawImagePart " + std::to_string(part.left) + "," +
      std::to_string(part.top) + " " + std::to_string(part.Width()) + "x" +
      std::to_string(part.Height()));
  auto target = c ? CanvasImage_View(c->image) : std::nullopt;
  if (!source || !target)
    return;
  CanvasImage_BlitInto(CanvasImage_Pixels(c->image), target->width,
                       target->height, target->stride, *source, 0, 0, part);
}

ByteBlock Plat_Canvas_Capture(WindowHandle canvas) {
  Canvas *c = FindCanvas(canvas);
  Log("Capture");
  if (!c || Fake().captureFails)
    return {};
  return c->image;
}

ByteBlock Plat_Canvas_Capture(WindowHandle canvas, int width, int height) {
  Canvas *c = FindCanvas(canvas);
  Log("Capture " + std::to_string(width) + "x" + std::to_string(height));
  if (!c || Fake().captureFails)
    return {};
  auto view = CanvasImage_View(c->image);
  if (view && view->width == width && view->height == height)
    return c->image;
  // Nearest-neighbour scaling is all the fake needs.
  ByteBlock out = CanvasImage_Create(width, height);
  if (!view || out.empty())
    return out;
  const Raster raster(out);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      raster.Put(x, y,
                 view->PixelAt(static_cast<int>(static_cast<long long>(x) *
                                                view->width / width),
                               static_cast<int>(static_cast<long long>(y) *
                                                view->height / height)));
  return out;
}

void Plat_Canvas_Repaint(WindowHandle canvas) {
  Canvas *c = FindCanvas(canvas);
  Log("Repaint");
  if (c)
    PaintBackground(*c);
}

void Plat_Canvas_SetPicture(WindowHandle canvas, const ByteBlock &image) {
  Canvas *c = FindCanvas(canvas);
  Log(std::string("SetPicture") + (CanvasImage_View(image) ? "" : " empty"));
  if (!c)
    return;
  c->picture = CanvasImage_View(image) ? image : ByteBlock{};
  PaintBackground(*c);
}

void Plat_Canvas_SetCursor(WindowHandle canvas, CanvasCursor cursor) {
  Canvas *c = FindCanvas(canvas);
  Log(std::string("SetCursor ") + CursorName(cursor));
  if (c)
    c->cursor = cursor;
}

ByteBlock Plat_CaptureScreen() {
  Log("CaptureScreen");
  if (Fake().captureFails)
    return {};
  // The screen shows the desktop picture with every shown window's canvas on
  // top of it.
  ByteBlock screen = Fake().screenImage;
  auto target = CanvasImage_View(screen);
  if (!target)
    return screen;
  for (auto &[h, canvas] : Fake().canvases) {
    const Window &control = WindowRecord(h);
    const Window &window = WindowRecord(control.parent);
    auto source = CanvasImage_View(canvas.image);
    if (!window.visible || window.bounds.Empty() || !source)
      continue;
    const int x = window.bounds.left + control.bounds.left,
              y = window.bounds.top + control.bounds.top;
    Rect part{
        0, 0,
        std::min(source->width, window.bounds.Width() - control.bounds.left),
        std::min(source->height, window.bounds.Height() - control.bounds.top)};
    CanvasImage_BlitInto(CanvasImage_Pixels(screen), target->width,
                         target->height, target->stride, *source, x, y, part);
  }
  return screen;
}
