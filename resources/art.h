// The cursors and the program icon, embedded as complete CUR / ICO file images. They are generated
// at build time from the pixel sources in resources/art by tools/make_art.py.
#pragma once

#include <cstdint>
#include <span>

std::span<const std::uint8_t> Art_PenCursor();        // 32 x 32, 32 bpp, hot spot (1, 2), 4286 bytes
std::span<const std::uint8_t> Art_WidthUpCursor();    // 48 x 48, 32 bpp, hot spot (0, 0), 9662 bytes
std::span<const std::uint8_t> Art_WidthDownCursor();  // 48 x 48, 32 bpp, hot spot (0, 0), 9662 bytes
std::span<const std::uint8_t> Art_AppIcon();          // 32 x 32, 24 bpp, 3262 bytes
