// The control panel window.
#pragma once

#include "platform/types.h"

// The panel's creation sequence; the backend calls it with the new panel before showing it.
void Panel_OnCreated(WindowHandle panel);
