// The control panel window.
#pragma once

#include "platform/types.h"

// The size the panel has in use (its form is larger); pen mode gives it back after the capture.
inline constexpr int kPanelWidth = 400;
inline constexpr int kPanelHeight = 200;

// The panel's creation sequence; the backend calls it with the new panel before showing it.
void Panel_OnCreated(WindowHandle panel);
