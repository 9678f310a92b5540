// The hotkey registry on the in-memory desktop: registration, release, the window procedure, and
// the program's own four hotkeys.

#include "desktop/hotkey_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/window_lookup.h"
#include "panel/panel_hotkeys.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_window_list.h"
#include "platform/hotkeys.h"
#include "tests/unit/app_fixture.h"

using fake::Fake;
using fake::FakeHotkeys;
using fake::FakeWindowList;

namespace {

constexpr std::uint32_t kOwnPid = 4242;
constexpr WindowHandle kMain = 0x700;    // the process's first visible window
constexpr WindowHandle kHidden = 0x600;  // the process's, above kMain but hidden
constexpr WindowHandle kOther = 0x800;
constexpr unsigned kF3 = 0x72, kF4 = 0x73, kF5 = 0x74;

std::vector<std::string> g_ran;
void RunA() { g_ran.push_back("A"); }
void RunB() { g_ran.push_back("B"); }
void RunC() { g_ran.push_back("C"); }

std::vector<std::string> Identifiers() {
  std::vector<std::string> out;
  for (const HotkeyEntry& e : HotkeyTable) out.push_back(e.Identifier);
  return out;
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    App_InitState();
    g_ran.clear();
    FakeWindowList().windows = {{0x500, 91, 1, "someone else", "X", true},
                                {kHidden, kOwnPid, 1, "hidden", "Mozhou.Form", false},
                                {kMain, kOwnPid, 1, "main", "Mozhou.Form", true}};
  }
  void TearDown() override { App_FreeState(); }

  static int Register(std::string_view id, unsigned key, HotkeyHandler handler,
                      std::optional<WindowHandle> window = kMain) {
    return 窗口_热键注册(window, std::nullopt, key, handler, id);
  }
};

TEST_F(Registry, BlankIdentifiersShowTheNoticeAndRegisterNothing) {
  const std::vector<std::pair<const char*, std::string_view>> blanks = {
      {"ASCII spaces", "   "},
      {"one full-width space", "\xE3\x80\x80"},
      {"mixed", " \xE3\x80\x80  \xE3\x80\x80"},
      {"empty", ""},
      {"missing", std::string_view()},
  };
  for (const auto& [what, text] : blanks) {
    Fake().messageBoxes.clear();
    EXPECT_EQ(Register(text, kF3, RunA), 0) << what;
    ASSERT_EQ(Fake().messageBoxes.size(), 1u) << what;
    const auto& box = Fake().messageBoxes[0];
    EXPECT_EQ(box.text, "【窗口_热键注册】命令第5个参数【标识文本】不能为空文本") << what;
    EXPECT_EQ(box.title, "友情提醒") << what;
    EXPECT_EQ(box.style, 0x40u) << what;
    EXPECT_EQ(box.owner, kMain) << what;
  }
  EXPECT_TRUE(HotkeyTable.empty());
  EXPECT_TRUE(FakeHotkeys().calls.empty());
  EXPECT_EQ(PreviousWindowProc, 0u);
}

TEST_F(Registry, TheDefaultWindowIsLookedUpBeforeTheIdentifierIsChecked) {
  Register(" ", kF3, RunA, std::nullopt);
  EXPECT_EQ(FakeWindowList().walks, 2);  // the default window, then the notice's owner
  Register(" ", kF3, RunA, kMain);
  EXPECT_EQ(FakeWindowList().walks, 3);
  // Without a window the process's first visible one receives the hotkey.
  EXPECT_EQ(Register("x", kF3, RunA, std::nullopt), 1);
  EXPECT_EQ(HotkeyTable.at(0).Window, kMain);
}

TEST_F(Registry, IdentifiersDifferingOnlyBySpacesAreSeparateAndEachHotkeyFindsItsOwn) {
  EXPECT_EQ(Register("1", kF3, RunA), 1);
  EXPECT_EQ(Register(" 1", kF4, RunB), 1);
  EXPECT_EQ(Register("1\xE3\x80\x80", kF5, RunC), 1);
  EXPECT_EQ(Identifiers(), (std::vector<std::string>{"1", " 1", "1\xE3\x80\x80"}));
  // Three ids, none of them reused, all in the applications' range.
  const int a = HotkeyTable[0].Id, b = HotkeyTable[1].Id, c = HotkeyTable[2].Id;
  EXPECT_TRUE(a != b && b != c && a != c);
  for (const HotkeyEntry& e : HotkeyTable) {
    EXPECT_GT(e.Id, 0);
    EXPECT_LE(e.Id, 0xBFFF);
  }
  EXPECT_TRUE(fake::PressHotkey(kF5));
  EXPECT_TRUE(fake::PressHotkey(kF3));
  EXPECT_TRUE(fake::PressHotkey(kF4));
  EXPECT_EQ(g_ran, (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(Hotkey_FindByIdentifier(" 1"), 2);
  EXPECT_EQ(Hotkey_FindByIdentifier("1 "), 0);
}

TEST_F(Registry, ARefusedKeyAddsNoEntryAndTheFirstSuccessReplacesTheProcedure) {
  FakeHotkeys().heldElsewhere = {{0, kF3}};
  EXPECT_EQ(Register("held", kF3, RunA), 0);
  EXPECT_TRUE(HotkeyTable.empty());
  EXPECT_TRUE(Fake().messageBoxes.empty());
  EXPECT_TRUE(FakeHotkeys().procedures.empty());
  EXPECT_EQ(PreviousWindowProc, 0u);

  EXPECT_EQ(Register("free", kF4, RunB), 1);
  EXPECT_EQ(FakeHotkeys().procedures.count(kMain), 1u);
  EXPECT_NE(PreviousWindowProc, 0u);
  // Later registrations never replace a procedure again, whatever window they name.
  EXPECT_EQ(Register("elsewhere", kF5, RunC, kOther), 1);
  EXPECT_EQ(FakeHotkeys().procedures.size(), 1u);
  // The other window's notifications go to its own procedure, not to the handler.
  EXPECT_TRUE(fake::PressHotkey(kF5));
  EXPECT_TRUE(g_ran.empty());
  ASSERT_EQ(FakeHotkeys().ownProcedureMessages.size(), 1u);
  EXPECT_EQ(FakeHotkeys().ownProcedureMessages[0].window, kOther);
  EXPECT_TRUE(fake::PressHotkey(kF4));
  EXPECT_EQ(g_ran, (std::vector<std::string>{"B"}));
}

TEST_F(Registry, RegisteringAnIdentifierAgainReleasesEveryEarlierRegistrationUnderIt) {
  ASSERT_EQ(Register("k", kF3, RunA), 1);
  ASSERT_EQ(Register("other", 0x41, RunC), 1);
  ASSERT_EQ(Register("k", kF4, RunB), 1);
  const int first = HotkeyTable[0].Id, second = HotkeyTable[2].Id;
  FakeHotkeys().calls.clear();
  ASSERT_EQ(Register("k", kF5, RunB), 1);
  // kMain is 0x700.
  EXPECT_EQ(FakeHotkeys().calls,
            (std::vector<std::string>{"Unregister 0x700 " + std::to_string(first) + " refused",
                                      "Unregister 0x700 " + std::to_string(second) + " ok",
                                      "Register 0x700 " + std::to_string(HotkeyTable[3].Id) +
                                          " 0 " + std::to_string(kF5) + " ok"}));
  // Only the newest key and the unrelated one are still held; entries are never removed.
  EXPECT_FALSE(fake::PressHotkey(kF3));
  EXPECT_FALSE(fake::PressHotkey(kF4));
  EXPECT_EQ(HotkeyTable.size(), 4u);
  // The notification ends at the first entry under that identifier: the oldest one.
  EXPECT_TRUE(fake::PressHotkey(kF5));
  EXPECT_EQ(g_ran, (std::vector<std::string>{"A"}));
}

TEST_F(Registry, OtherMessagesReachThePreviousProcedureUnchanged) {
  ASSERT_EQ(Register("k", kF3, RunA), 1);
  FakeHotkeys().ownProcedureResult = -123456789;
  const std::uintptr_t wParam = ~std::uintptr_t{0} - 5;
  const std::intptr_t lParam = -42;
  EXPECT_EQ(fake::DeliverMessage(kMain, 0x0201, wParam, lParam), -123456789);
  EXPECT_EQ(FakeHotkeys().ownProcedureMessages,
            (std::vector<fake::WindowMessage>{{kMain, 0x0201, wParam, lParam}}));
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Registry, HotkeyNotificationsWithIdsThatAreNotOursAreIgnored) {
  ASSERT_EQ(Register("k", kF3, RunA), 1);
  ASSERT_EQ(Register("elsewhere", kF4, RunB, kOther), 1);
  const std::uintptr_t notOurs[] = {0,
                                    static_cast<std::uintptr_t>(HotkeyTable[1].Id),  // kOther's
                                    3,
                                    0xBFFF,
                                    0xC000,
                                    0x12345678,
                                    ~std::uintptr_t{0},
                                    reinterpret_cast<std::uintptr_t>("k")};
  for (std::uintptr_t wParam : notOurs)
    EXPECT_EQ(fake::DeliverMessage(kMain, kMessageHotkey, wParam, 0x700000), 0) << wParam;
  EXPECT_TRUE(g_ran.empty());
  EXPECT_TRUE(FakeHotkeys().ownProcedureMessages.empty());
  EXPECT_FALSE(Fake().exitCode.has_value());
  // Ours still works afterwards.
  fake::DeliverMessage(kMain, kMessageHotkey, static_cast<std::uintptr_t>(HotkeyTable[0].Id), 0);
  EXPECT_EQ(g_ran, (std::vector<std::string>{"A"}));
}

TEST_F(Registry, OneHandlerUnderSeveralIdentifiersRunsForEach) {
  ASSERT_EQ(Register("a", kF3, RunA), 1);
  ASSERT_EQ(Register("b", kF4, RunA), 1);
  fake::PressHotkey(kF4);
  fake::PressHotkey(kF3);
  EXPECT_EQ(g_ran, (std::vector<std::string>{"A", "A"}));
}

TEST_F(Registry, WithoutAnyVisibleWindowTheHotkeyIsRegisteredForNoWindow) {
  FakeWindowList().windows.clear();
  EXPECT_EQ(Register("k", kF3, RunA, std::nullopt), 1);
  EXPECT_EQ(HotkeyTable.at(0).Window, 0u);
  // No window procedure to replace: the registration stands, but nothing reaches the handler.
  EXPECT_EQ(PreviousWindowProc, 0u);
  EXPECT_TRUE(fake::PressHotkey(kF3));
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Registry, AProcedureThatCannotBeReplacedLeavesTheRegistrationStanding) {
  FakeHotkeys().replaceFails = true;
  EXPECT_EQ(Register("k", kF3, RunA), 1);
  EXPECT_EQ(HotkeyTable.size(), 1u);
  EXPECT_EQ(PreviousWindowProc, 0u);
  fake::PressHotkey(kF3);
  EXPECT_TRUE(g_ran.empty());
}

TEST_F(Registry, AMissingHandlerIsRefused) {
  EXPECT_EQ(Register("k", kF3, nullptr), 0);
  EXPECT_TRUE(HotkeyTable.empty());
  EXPECT_TRUE(FakeHotkeys().registered.empty());
}

// ---- the program's own four hotkeys

using ProgramHotkeys = StartedApp;

TEST_F(ProgramHotkeys, StartUpRegistersFourKeysOnTheOverlayInOrder) {
  EXPECT_EQ(Identifiers(), (std::vector<std::string>{"1", "2", "+", "_"}));
  std::vector<fake::HotkeyRegistration> expected;
  for (const HotkeyEntry& e : HotkeyTable) EXPECT_EQ(e.Window, Overlay());
  const unsigned keys[] = {0x70, 0x71, 0xBB, 0xBD};
  for (int i = 0; i < 4; ++i) expected.push_back({Overlay(), HotkeyTable[i].Id, 0, keys[i]});
  EXPECT_EQ(FakeHotkeys().registered, expected);
  EXPECT_EQ(FakeHotkeys().procedures.count(Overlay()), 1u);
}

TEST_F(ProgramHotkeys, F1AndF2BeginAndEndPenMode) {
  const Size screen = Fake().screen;
  ASSERT_TRUE(fake::PressHotkey(kVkF1));
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, screen.width, screen.height}));
  EXPECT_TRUE(Plat_IsTopMost(Overlay()));
  ASSERT_TRUE(fake::PressHotkey(kVkF2));
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
}

TEST_F(ProgramHotkeys, WidthStepsMoveByOneWithinOneToFortyAndFlashTheirCursor) {
  struct Case {
    int from;
    unsigned key;
    int to;
    const char* cursor;
  };
  const Case cases[] = {{2, kVkOemPlus, 3, "SetCursor WidthUp"},
                        {40, kVkOemPlus, 40, "SetCursor WidthUp"},
                        {2, kVkOemMinus, 1, "SetCursor WidthDown"},
                        {1, kVkOemMinus, 1, "SetCursor WidthDown"}};
  for (const Case& c : cases) {
    App().PenWidth = c.from;
    Fake().log.clear();
    ASSERT_TRUE(fake::PressHotkey(c.key));
    EXPECT_EQ(App().PenWidth, c.to) << c.from << " " << c.key;
    EXPECT_EQ(Fake().log, (std::vector<std::string>{c.cursor, "Pause 200", "SetCursor Pen"}));
    EXPECT_EQ(fake::CanvasRecord(Canvas()).cursor, CanvasCursor::Pen);
  }
  // Keys with a modifier are no hotkeys of ours.
  EXPECT_FALSE(fake::PressHotkey(kVkOemPlus, 4 /* Shift */));
}

class ProgramWithF1HeldElsewhere : public StartedApp {
 protected:
  void SetUp() override {
    fake::Reset();
    FakeHotkeys().heldElsewhere = {{0, kVkF1}};
    App_StartUp();
  }
};

TEST_F(ProgramWithF1HeldElsewhere, TheOtherThreeKeysStillWork) {
  EXPECT_EQ(Identifiers(), (std::vector<std::string>{"2", "+", "_"}));
  EXPECT_EQ(FakeHotkeys().procedures.count(Overlay()), 1u);
  EXPECT_FALSE(fake::PressHotkey(kVkF1));
  EXPECT_EQ(Plat_GetBounds(Overlay()), (Rect{0, 0, 0, 0}));
  ASSERT_TRUE(fake::PressHotkey(kVkOemPlus));
  EXPECT_EQ(App().PenWidth, 3);
  ASSERT_TRUE(fake::PressHotkey(kVkOemMinus));
  EXPECT_EQ(App().PenWidth, 2);
  Plat_SetVisible(Panel(), false);
  ASSERT_TRUE(fake::PressHotkey(kVkF2));
  EXPECT_EQ(Fake().log.back(), "RepaintWindow PanelWindow");
}

}  // namespace
