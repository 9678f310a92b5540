// Windows and controls built from the form tables, their menus, and the window operations.

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "resources/forms.h"
#include "tests/win/win_test_support.h"

using namespace wintest;

namespace {

HWND Hwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }

const MenuItemSpec kSubItems[] = {{"子一"}, {"子二"}};
const MenuItemSpec kItems[] = {{"甲"}, {"乙", kSubItems}, {"丙"}};
const MenuSpec kMenus[] = {{"菜单", kItems}};
const ControlSpec kControls[] = {
    {ControlKind::Canvas, "画板", nullptr, 0, 0, 200, 150},
};
const FormSpec kMenuForm = {"MenuTest", 200, 150, "", kControls, kMenus};

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    RecordedEvents().clear();
    Plat_SetEventSink(RecordEvent);
  }
  void TearDown() override {
    for (WindowHandle w : windows)
      if (IsWindow(Hwnd(w))) DestroyWindow(Hwnd(w));
    Pump();
    Plat_SetEventSink(nullptr);
  }
  WindowHandle Load(const FormSpec& form, WindowHandle owner = 0) {
    const WindowHandle w = Plat_LoadForm(form, owner, nullptr);
    windows.push_back(w);
    return w;
  }
  std::vector<WindowHandle> windows;
};

TEST_F(FormTest, PanelControlsComeFromTheTable) {
  const WindowHandle owner = Load(kMenuForm);
  const WindowHandle panel = Load(kPanelForm, owner);
  ASSERT_NE(panel, 0u);
  EXPECT_EQ(GetWindow(Hwnd(panel), GW_OWNER), Hwnd(owner));
  for (const ControlSpec& c : kPanelForm.controls) {
    SCOPED_TRACE(c.name);
    const WindowHandle h = Plat_FindControl(panel, c.name);
    ASSERT_NE(h, 0u);
    // Bounds are given as the table gives them: relative to the container.
    const Rect b = Plat_GetBounds(h);
    EXPECT_EQ(b.left, c.left);
    EXPECT_EQ(b.top, c.top);
    EXPECT_EQ(b.Width(), c.width);
    if (c.kind != ControlKind::ColourPicker) {
      EXPECT_EQ(b.Height(), c.height);
    }
    if (c.kind == ControlKind::CheckBox) {
      EXPECT_EQ(Plat_IsChecked(h), c.checked);
    }
    if (c.kind == ControlKind::Label) {
      wchar_t text[128] = {};
      GetWindowTextW(Hwnd(h), text, 128);
      EXPECT_EQ(win32::WideToUtf8(text), c.caption);
    }
  }
  // A contained control sits at its container's position plus its own, in the window.
  const WindowHandle label = Plat_FindControl(panel, "标签1");
  RECT r{};
  GetWindowRect(Hwnd(label), &r);
  MapWindowPoints(nullptr, Hwnd(panel), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0 + 8);
  EXPECT_EQ(r.top, 24 + 106);
  Plat_SetBounds(label, 20, 30, 50, 40);
  EXPECT_EQ(Plat_GetBounds(label), (Rect{20, 30, 70, 70}));
  GetWindowRect(Hwnd(label), &r);
  MapWindowPoints(nullptr, Hwnd(panel), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 24 + 30);

  const WindowHandle box = Plat_FindControl(panel, kAutoRestoreName);
  Plat_SetChecked(box, true);
  EXPECT_TRUE(Plat_IsChecked(box));
  Plat_SetChecked(box, false);
  EXPECT_FALSE(Plat_IsChecked(box));
}

TEST_F(FormTest, WindowOperationsKeepTheTopLeftAndNeverActivate) {
  const WindowHandle w = Load(kMenuForm);
  SetForegroundWindow(Hwnd(w));
  const WindowHandle other = Load(kMenuForm);
  Plat_SetVisible(other, false);
  SetForegroundWindow(Hwnd(w));
  Pump();
  ASSERT_EQ(GetForegroundWindow(), Hwnd(w));

  Plat_SetBounds(other, 10, 20, 300, 200);
  Plat_SetWidth(other, 120);
  Plat_SetHeight(other, 0);
  EXPECT_EQ(Plat_GetBounds(other), (Rect{10, 20, 130, 20}));
  Plat_SetWidth(other, -3);
  EXPECT_EQ(Plat_GetBounds(other), (Rect{10, 20, 10, 20}));
  Plat_SetVisible(other, true);
  EXPECT_TRUE(Plat_IsVisible(other));
  Plat_SetBounds(other, 10, 20, 100, 100);
  Pump();
  EXPECT_EQ(GetForegroundWindow(), Hwnd(w));
  Plat_SetVisible(other, false);
  EXPECT_FALSE(Plat_IsVisible(other));

  EXPECT_FALSE(Plat_IsTopMost(w));
  Plat_SetZOrder(w, -1, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_TRUE(Plat_IsTopMost(w));
  Plat_SetZOrder(w, -2, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_FALSE(Plat_IsTopMost(w));
}

TEST_F(FormTest, OwnedWindowsFollowTheirOwnerToTheTop) {
  const WindowHandle owner = Load(kMenuForm);
  const WindowHandle owned = Load(kMenuForm, owner);
  Plat_SetZOrder(owner, -1, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_TRUE(Plat_IsTopMost(owner));
  EXPECT_TRUE(Plat_IsTopMost(owned));
  Plat_SetZOrder(owner, -2, SWP_NOSIZE | SWP_NOMOVE);
}

TEST_F(FormTest, PopupMenuOpensAtThePointerAndDeliversTheChoiceAfterwards) {
  const WindowHandle w = Load(kMenuForm);
  SetForegroundWindow(Hwnd(w));
  Pump();
  MoveMouseTo(300, 200);
  MenuProbe::Arm({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});  // past 乙 to 丙
  Plat_PopupMenu(w, "菜单");
  ASSERT_TRUE(MenuProbe::found);
  EXPECT_EQ(MenuProbe::rect.left, 300);
  EXPECT_EQ(MenuProbe::rect.top, 200);
  EXPECT_EQ(MenuProbe::items, (std::vector<std::string>{"甲", "乙", "丙"}));
  // Nothing arrives while the menu call returns: the choice comes from the loop.
  EXPECT_TRUE(RecordedEvents().empty());
  ASSERT_TRUE(PumpUntil([] { return !RecordedEvents().empty(); }));
  EXPECT_EQ(RecordedEvents()[0].kind, EventKind::MenuChoice);
  EXPECT_EQ(RecordedEvents()[0].window, w);
  EXPECT_EQ(RecordedEvents()[0].item, "丙");

  RecordedEvents().clear();
  MenuProbe::Arm({VK_ESCAPE});
  Plat_PopupMenu(w, "菜单");
  EXPECT_TRUE(MenuProbe::found);
  PumpFor(100);
  EXPECT_TRUE(RecordedEvents().empty());

  Plat_PopupMenu(w, "没有");  // unknown menu: nothing opens
  PumpFor(50);
  EXPECT_TRUE(RecordedEvents().empty());
}

}  // namespace
