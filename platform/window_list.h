// The desktop's top-level windows as the window lookup needs them: a walk in z-order and a few
// queries per window. Texts are UTF-8; a long one may come back shortened by the system, but never
// below what the lookup keeps of it (it cuts titles and class names to its own limits).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

// Called once per top-level window, from the top of the z-order down; returning 0 stops the walk.
using TopLevelVisitor = int (*)(WindowHandle window);
// Visits every top-level window of the desktop; false when the walk could not be made or was
// stopped.
bool Plat_EnumTopLevelWindows(TopLevelVisitor visit);

// The ids of the process and of the thread that created `window`; 0 when the query fails.
std::uint32_t Plat_WindowProcessId(WindowHandle window);
std::uint32_t Plat_WindowThreadId(WindowHandle window);
// The window's title and class name; empty when it has none or the query fails.
std::string Plat_WindowTitle(WindowHandle window);
std::string Plat_WindowClassName(WindowHandle window);
// Whether the window and all its ancestors are shown.
bool Plat_IsWindowVisible(WindowHandle window);
