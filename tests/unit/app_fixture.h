// A started program on the in-memory desktop.
#pragma once

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/app_state.h"
#include "platform/fake/fake_desktop.h"
#include "resources/forms.h"

class StartedApp : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    App_StartUp();
  }
  void TearDown() override { App_FreeState(); }

  static WindowHandle Overlay() { return App().OverlayWindow; }
  static WindowHandle Panel() { return App().PanelWindow; }
  static WindowHandle Canvas() { return App().Canvas; }
  static WindowHandle Option(const char* name) { return Plat_FindControl(Panel(), name); }
  static Colour Pixel(int x, int y) { return fake::CanvasPixel(Canvas(), x, y); }
  // Canvas pixels that differ between two canvas images.
  static int DifferingPixels(const ByteBlock& a, const ByteBlock& b);
};

inline constexpr Colour kRed = 0x0000FF;
