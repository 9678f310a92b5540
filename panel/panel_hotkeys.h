// The program's global hotkeys, registered on the overlay while the panel is being created.
#pragma once

// Virtual-key codes of the four keys.
inline constexpr unsigned kVkF1 = 0x70;
inline constexpr unsigned kVkF2 = 0x71;
inline constexpr unsigned kVkOemPlus = 0xBB;   // the main keyboard's = / + key
inline constexpr unsigned kVkOemMinus = 0xBD;  // the main keyboard's - / _ key

// F1 begins pen mode, F2 ends it, = and - (without modifiers) step the pen width. A key that
// another program already holds simply does nothing here; the others are still registered.
void Panel_RegisterHotkeys();
