// The save-file dialog: its filter list, its defaults, the current directory around it and the
// path it hands back.

#include "canvas/save_dialog.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_dialogs.h"

using namespace std::string_literals;

TEST(FilterList, ItemsAreNulTerminatedAndTheListEndsInAnExtraNul) {
  struct Case {
    const char* filter;
    std::optional<std::string> list;
  };
  const Case cases[] = {
      {"TXT文档(*.txt)|*.txt|所有文件(*.*)|*.*", "TXT文档(*.txt)\0*.txt\0所有文件(*.*)\0*.*\0\0"s},
      {"*.jpg|*.bmp", "*.jpg\0*.bmp\0\0"s},
      {"*.jpg|*.bmp|", "*.jpg\0*.bmp\0\0"s},  // a final separator adds nothing
      {"a||b|c", "a\0\0b\0c\0\0"s},           // the dialog's list ends after "a"
      {"a|b|", "a\0b\0\0"s},
      {"a||", "a\0\0\0"s},  // only the very last empty item goes
      {"Pictures|*.bmp|Lonely", "Pictures\0*.bmp\0Lonely\0\0"s},  // odd count
      {"|", "\0\0"s},
      {"no separator", "no separator\0\0"s},
      {"", std::nullopt},  // no list at all
  };
  for (const Case& c : cases) EXPECT_EQ(Dialog_BuildFilterList(c.filter), c.list) << c.filter;
}

namespace {

class SaveDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    fake::ResetDialogs();
    Plat_SetCurrentDirectory("C:\\Work");
  }
  static const SaveDialogRequest& Request() { return fake::FakeDialogs().requests.at(0); }
};

}  // namespace

TEST_F(SaveDialog, AbsentParametersTakeTheirDefaults) {
  fake::AnswerSaveDialog("C:\\x.bmp");
  EXPECT_EQ(Dialog_SaveFile(0x77), "C:\\x.bmp");
  ASSERT_EQ(fake::FakeDialogs().requests.size(), 1u);
  const SaveDialogRequest& r = Request();
  EXPECT_EQ(r.owner, 0x77u);
  EXPECT_EQ(r.initialDirectory, "C:\\Work");
  EXPECT_EQ(r.title, "保存文件");
  EXPECT_EQ(r.filterList, "TXT文档(*.txt)\0*.txt\0所有文件(*.*)\0*.*\0\0"s);
  EXPECT_EQ(r.filterIndex, 1);
  EXPECT_EQ(r.nameLimit, 512);
  EXPECT_EQ(r.defaultExtension, "");
}

TEST_F(SaveDialog, GivenValuesAreUsedAsGivenEvenWhenEmpty) {
  Dialog_SaveFile(1, "D:\\Pictures", "保存图片", "*.jpg|*.bmp", 2, true);
  Dialog_SaveFile(1, "", "", "", 0, false);
  const auto& requests = fake::FakeDialogs().requests;
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].initialDirectory, "D:\\Pictures");
  EXPECT_EQ(requests[0].title, "保存图片");
  EXPECT_EQ(requests[0].filterList, "*.jpg\0*.bmp\0\0"s);
  EXPECT_EQ(requests[0].filterIndex, 2);
  // Empty texts do not fall back to the defaults: no folder, no title, no file types.
  EXPECT_EQ(requests[1].initialDirectory, std::nullopt);
  EXPECT_EQ(requests[1].title, std::nullopt);
  EXPECT_EQ(requests[1].filterList, std::nullopt);
  EXPECT_EQ(requests[1].filterIndex, 1);  // 0 selects the first pair
}

TEST_F(SaveDialog, CurrentDirectoryIsRestoredUnlessKept) {
  struct Case {
    std::optional<bool> keep;
    bool confirm;
    const char* after;
  };
  const Case cases[] = {
      {std::nullopt, true, "C:\\Work"}, {std::nullopt, false, "C:\\Work"},
      {false, true, "C:\\Work"},        {false, false, "C:\\Work"},
      {true, true, "E:\\Browsed"},      {true, false, "E:\\Browsed"},
  };
  for (const Case& c : cases) {
    Plat_SetCurrentDirectory("C:\\Work");
    fake::FakeDialogs().answers.push_back(
        {c.confirm ? std::optional<std::string>("E:\\Browsed\\a.txt") : std::nullopt,
         "E:\\Browsed"});
    const std::string path =
        Dialog_SaveFile(1, std::nullopt, std::nullopt, std::nullopt, std::nullopt, c.keep);
    EXPECT_EQ(path, c.confirm ? "E:\\Browsed\\a.txt" : "");
    EXPECT_EQ(Plat_GetCurrentDirectory(), c.after)
        << "keep " << (c.keep ? (*c.keep ? "true" : "false") : "absent") << ", confirm "
        << c.confirm;
  }
}

TEST_F(SaveDialog, ResultIsThePathUpToItsFirstNulAndAtMost511Bytes) {
  const std::string ascii(600, 'a');
  // 170 three-byte characters are 510 bytes; the 171st would end at byte 513.
  std::string wide;
  for (int i = 0; i < 200; ++i) wide += "图";
  struct Case {
    std::string answer;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\a.bmp\0junk"s, "C:\\a.bmp"},
      {ascii, ascii.substr(0, 511)},
      {"C:" + wide, "C:" + wide.substr(0, 507)},  // 2 + 169 × 3 = 509: the cut character goes whole
      {"", ""},
  };
  for (const Case& c : cases) {
    fake::AnswerSaveDialog(c.answer);
    const std::string got = Dialog_SaveFile(1);
    EXPECT_EQ(got, c.expected);
    EXPECT_LE(got.size(), 511u);
  }
}
