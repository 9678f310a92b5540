// Start-up, the exit clean-up, pen mode and the overlay's menu.
#pragma once

#include "platform/types.h"

// The author's page, opened by the overlay menu's "关注作者". Set at configure time with
// -DMOZHOU_AUTHOR_PAGE=<address>.
#ifndef MOZHOU_AUTHOR_PAGE
#define MOZHOU_AUTHOR_PAGE "https://mozhou.example.org/author"
#endif
inline constexpr const char* kAuthorPageAddress = MOZHOU_AUTHOR_PAGE;

// Runs the start-up sequence and then the event loop; returns the exit code when the loop ends.
int App_Start();
// The start-up sequence alone: state, clean-up, both windows. App_Start then runs the loop.
void App_StartUp();
void App_InitState();
void App_FreeState();
void Overlay_OnCreated();
void Menu_FollowAuthor();

void PenMode_Begin();
void PenMode_End();
void Menu_EndPen();
void Window_RaiseTopMost(WindowHandle window, bool topMost);

// The event sink: turns every platform event into the handler that owns it.
struct PlatformEvent;
void App_HandleEvent(const PlatformEvent& event);
