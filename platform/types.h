// Plain value types shared by the logic and the platform backends.
#pragma once

#include <cstdint>
#include <vector>

// A window or control of the desktop; 0 means none. On Windows it holds the HWND.
using WindowHandle = std::uintptr_t;

// A complete file image or any other run of bytes; the empty block means "nothing".
using ByteBlock = std::vector<std::uint8_t>;

// 0x00BBGGRR; 0xFF000000 is the colour picker's "transparent" and is passed on unchanged.
using Colour = std::uint32_t;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left and top inclusive, right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};
