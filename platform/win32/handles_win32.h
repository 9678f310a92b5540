// Move-only owners for the Win32 and GDI objects the backend creates, and a guard that selects an
// object into a device context and puts the old one back.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : handle_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Owned() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives up ownership without freeing, e.g. when the system has already destroyed the object.
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle h = nullptr) {
    if (handle_ != nullptr && handle_ != h) Traits::Free(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = nullptr;
};

struct WindowTraits {
  static void Free(HWND h) { DestroyWindow(h); }
};
struct MemoryDcTraits {
  static void Free(HDC h) { DeleteDC(h); }
};
struct GdiObjectTraits {
  static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct MenuTraits {
  static void Free(HMENU h) { DestroyMenu(h); }
};
struct CursorTraits {
  static void Free(HCURSOR h) { DestroyCursor(h); }
};

using UniqueWindow = Owned<HWND, WindowTraits>;
using UniqueMemoryDc = Owned<HDC, MemoryDcTraits>;  // from CreateCompatibleDC
using UniqueBitmap = Owned<HBITMAP, GdiObjectTraits>;
using UniqueFont = Owned<HFONT, GdiObjectTraits>;
using UniqueBrush = Owned<HBRUSH, GdiObjectTraits>;
using UniquePen = Owned<HPEN, GdiObjectTraits>;
using UniqueMenu = Owned<HMENU, MenuTraits>;
using UniqueCursor = Owned<HCURSOR, CursorTraits>;  // only cursors we created, never shared ones

// A device context borrowed with GetDC; released to its window on destruction.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects `object` into `dc` for the guard's lifetime; the previous object goes back afterwards.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  explicit operator bool() const { return old_ != nullptr && old_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32
