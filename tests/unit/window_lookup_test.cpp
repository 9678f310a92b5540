// The window lookup over the in-memory desktop's top-level windows, and the notice box.

#include "desktop/window_lookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/notice.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_window_list.h"

using fake::Fake;
using fake::FakeWindowList;
using fake::TopLevelWindow;

namespace {

constexpr std::uint32_t kOwnPid = 4242;  // what the fake reports as this process
constexpr std::uint32_t kOtherPid = 77;

class WindowLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    EnumeratedWindows.clear();
  }
  void TearDown() override { WindowList().swap(EnumeratedWindows); }
  static void Script(std::vector<TopLevelWindow> windows) {
    FakeWindowList().windows = std::move(windows);
  }
};

TEST_F(WindowLookup, FindsTheFirstWindowOfTheProcessThatIsVisible) {
  struct Case {
    const char* what;
    std::vector<TopLevelWindow> windows;
    WindowHandle expected;
  };
  const std::vector<Case> cases = {
      {"hidden top window, visible one further down",
       {{0x10, kOwnPid, 1, "top", "A", false},
        {0x20, kOtherPid, 2, "other", "B", true},
        {0x30, kOwnPid, 1, "below", "A", true},
        {0x40, kOwnPid, 1, "lowest", "A", true}},
       0x30},
      {"only other processes are visible",
       {{0x10, kOtherPid, 2, "", "B", true}, {0x20, kOwnPid, 1, "", "A", false}},
       0},
      {"no windows at all", {}, 0},
      {"a window whose process cannot be read is nobody's",
       {{0x10, 0, 0, "", "", true}, {0x20, kOwnPid, 1, "", "A", true}},
       0x20},
  };
  for (const Case& c : cases) {
    fake::Reset();
    Script(c.windows);
    EXPECT_EQ(Window_FindVisibleOfProcess(kOwnPid), c.expected) << c.what;
    EXPECT_TRUE(EnumeratedWindows.empty()) << c.what;
  }
}

TEST_F(WindowLookup, TestsVisibilityDuringTheWalkAndStopsAtTheFirstMatch) {
  Script({{0x10, kOwnPid, 1, "", "", true},
          {0x20, kOwnPid, 1, "", "", true},
          {0x30, kOwnPid, 1, "", "", true}});
  // Hidden after the enumeration listed it, before the walk asks.
  FakeWindowList().afterWalk = [] { fake::FindTopLevel(0x10)->visible = false; };
  EXPECT_EQ(Window_FindVisibleOfProcess(kOwnPid), 0x20u);
  EXPECT_EQ(FakeWindowList().visibilityQueries, (std::vector<WindowHandle>{0x10, 0x20}));
}

TEST_F(WindowLookup, EnumerationRecordsEveryWindowInZOrderWithItsTextsCutOnCharacterBoundaries) {
  const std::string han = "\xE4\xB8\xAD";  // 中, three bytes
  std::string hans;
  for (int i = 0; i < 100; ++i) hans += han;  // 300 bytes
  Script({{0x10, kOtherPid, 9, std::string(300, 'T'), std::string(60, 'C'), true},
          {0x20, kOwnPid, 1, "x" + hans, "k" + hans, false},
          {0x30, 0, 0, "", "", true}});
  WindowList list;
  ASSERT_EQ(Window_EnumerateTopLevel(list), 3);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Handle, 0x10u);
  EXPECT_EQ(list[0].ProcessId, kOtherPid);
  EXPECT_EQ(list[0].ThreadId, 9u);
  EXPECT_EQ(list[0].Title, std::string(255, 'T'));
  EXPECT_EQ(list[0].ClassName, std::string(49, 'C'));
  // 1 + 84 * 3 = 253 bytes: the 85th character would end past the limit.
  EXPECT_EQ(list[1].Title.size(), 253u);
  EXPECT_EQ(list[1].Title, "x" + hans.substr(0, 252));
  EXPECT_EQ(list[1].ClassName, "k" + hans.substr(0, 48));  // 49 bytes exactly
  // A window whose queries fail still gets its record.
  EXPECT_EQ(list[2].Handle, 0x30u);
  EXPECT_EQ(list[2].ProcessId, 0u);
  EXPECT_EQ(list[2].ThreadId, 0u);
  EXPECT_EQ(list[2].Title, "");
}

TEST_F(WindowLookup, EnumerationReplacesTheCallersListAndLeavesTheModuleListEmpty) {
  Script({{0x10, kOtherPid, 1, "a", "A", true}, {0x20, kOtherPid, 1, "b", "B", true}});
  std::size_t duringWalk = 0;
  FakeWindowList().afterWalk = [&] { duringWalk = EnumeratedWindows.size(); };
  WindowList list(5, WindowInfo{0x99, 1, 1, "old", "old"});
  EXPECT_EQ(Window_EnumerateTopLevel(list), 2);
  EXPECT_EQ(duringWalk, 2u);
  EXPECT_TRUE(EnumeratedWindows.empty());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Title, "a");
  // A second enumeration starts afresh.
  FakeWindowList().windows.pop_back();
  EXPECT_EQ(Window_EnumerateTopLevel(list), 1);
  EXPECT_EQ(duringWalk, 1u);
  EXPECT_EQ(list.size(), 1u);
}

TEST_F(WindowLookup, AFailedWalkKeepsTheWindowsItReached) {
  Script({{0x10, kOtherPid, 1, "", "", true},
          {0x20, kOwnPid, 1, "", "", true},
          {0x30, kOwnPid, 1, "", "", true}});
  FakeWindowList().failAfter = 2;
  WindowList list;
  EXPECT_EQ(Window_EnumerateTopLevel(list), 2);
  EXPECT_EQ(Window_FindVisibleOfProcess(kOwnPid), 0x20u);
}

TEST_F(WindowLookup, NoticeResultIsTheButtonMinusOne) {
  const std::vector<std::pair<int, int>> table = {{1, 0}, {2, 1}, {3, 2}, {4, 3},
                                                  {5, 4}, {6, 5}, {7, 6}, {0, -1}};
  for (auto [button, result] : table) {
    Fake().messageBoxAnswers = {button};
    EXPECT_EQ(Notice_Show("?", 0x4), result) << "button " << button;
  }
}

TEST_F(WindowLookup, NoticeTakesDefaultsOnlyForWhatIsLeftOut) {
  Script({{0x10, kOtherPid, 1, "", "", true},
          {0x20, kOwnPid, 1, "", "", false},
          {0x30, kOwnPid, 1, "", "", true}});
  Notice_Show("only the text");
  Notice_Show("given zeros", 0u, std::string(), WindowHandle{0});
  Notice_Show("given values", 0x24u, std::string("标题"), WindowHandle{0x10});
  const auto& boxes = Fake().messageBoxes;
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].owner, 0x30u);
  EXPECT_EQ(boxes[0].text, "only the text");
  EXPECT_EQ(boxes[0].title, "友情提醒");
  EXPECT_EQ(boxes[0].style, 0x40u);
  EXPECT_EQ(boxes[1].owner, 0u);
  EXPECT_EQ(boxes[1].title, "");
  EXPECT_EQ(boxes[1].style, 0u);
  EXPECT_EQ(boxes[2].owner, 0x10u);
  EXPECT_EQ(boxes[2].title, "标题");
  EXPECT_EQ(boxes[2].style, 0x24u);
}

TEST_F(WindowLookup, NoticeOpensWithoutOwnerWhenTheProcessShowsNoWindow) {
  Script({{0x10, kOtherPid, 1, "", "", true}, {0x20, kOwnPid, 1, "", "", false}});
  EXPECT_EQ(Notice_Show("x"), 0);
  ASSERT_EQ(Fake().messageBoxes.size(), 1u);
  EXPECT_EQ(Fake().messageBoxes[0].owner, 0u);
}

}  // namespace
