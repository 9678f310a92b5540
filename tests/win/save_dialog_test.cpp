// The real save-file dialog, driven like a user, and files replaced on disk.

#include "canvas/save_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"
#include "tests/win/save_test_support.h"
#include "tests/win/win_test_support.h"

namespace {

using wintest::ReadWholeFile;
using wintest::TempFolder;
using wintest::WriteWholeFile;

std::string CurrentDirectory() { return Plat_GetCurrentDirectory(); }

}  // namespace

TEST(Win32SaveDialog, UserTypesAFullPathAndPressesSave) {
  TempFolder folder;
  wintest::ColourWindow owner(50, 50, 300, 200, 0x808080);
  ShowWindow(owner.hwnd, SW_SHOW);
  const std::string before = CurrentDirectory();
  ASSERT_TRUE(Plat_SetCurrentDirectory("C:\\windows"));

  wintest::SaveDialogDriver user(L"保存图片", folder.File(L"图片 1.bmp"));
  const std::string path =
      Dialog_SaveFile(reinterpret_cast<WindowHandle>(owner.hwnd), win32::WideToUtf8(folder.path),
                      std::string("保存图片"), std::string("*.jpg|*.bmp"), std::nullopt, false);
  const wintest::SeenDialog& seen = user.Finish();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, owner.hwnd);
  EXPECT_EQ(seen.title, L"保存图片");
  EXPECT_EQ(seen.nameAtStart, L"");
  EXPECT_EQ(seen.fileTypes, std::vector<std::wstring>{L"*.jpg"});  // one pair
  EXPECT_EQ(path, folder.Utf8(L"图片 1.bmp"));
  // The dialog browsed elsewhere; the current directory is back where it was.
  EXPECT_EQ(CurrentDirectory(), "C:\\windows");
  Plat_SetCurrentDirectory(before);
}

TEST(Win32SaveDialog, DefaultsOfferTheTextFileTypesAndEscapeCancels) {
  wintest::SaveDialogDriver user(L"保存文件", L"");
  const std::string path = Dialog_SaveFile(0);
  const wintest::SeenDialog& seen = user.Finish();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.fileTypes, (std::vector<std::wstring>{L"TXT文档(*.txt)", L"所有文件(*.*)"}));
  EXPECT_EQ(path, "");
}

TEST(Win32SaveDialog, KeepingTheDialogDirectoryLeavesItWhereTheDialogPutIt) {
  TempFolder folder;
  const std::string before = CurrentDirectory();
  ASSERT_TRUE(Plat_SetCurrentDirectory("C:\\windows"));
  wintest::SaveDialogDriver user(L"保存图片", folder.File(L"kept.bmp"));
  const std::string path = Dialog_SaveFile(0, std::string("C:\\"), std::string("保存图片"),
                                           std::nullopt, std::nullopt, true);
  ASSERT_TRUE(user.Finish().found);
  EXPECT_EQ(path, folder.Utf8(L"kept.bmp"));
  // Without "no change dir" the dialog moves the current directory: to the folder it browsed
  // (Wine) or to the chosen file's folder (Windows). Either way it is not put back.
  const std::string after = CurrentDirectory();
  EXPECT_TRUE(after == "C:\\" || after == win32::WideToUtf8(folder.path)) << after;
  Plat_SetCurrentDirectory(before);
}

TEST(Win32ReplaceFile, ReplacesWholeOrLeavesTheOldFile) {
  TempFolder folder;
  const std::wstring target = folder.File(L"picture.bmp");
  WriteWholeFile(target, "old picture");

  const ByteBlock bytes{'B', 'M', 0, 1, 2, 3, 0xFF};
  ASSERT_TRUE(Plat_ReplaceFile(folder.Utf8(L"picture.bmp"), bytes));
  EXPECT_EQ(ReadWholeFile(target), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.bmp"});

  // Another program has the picture open without letting it be replaced.
  HANDLE viewer = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Plat_ReplaceFile(folder.Utf8(L"picture.bmp"), ByteBlock(1000, 7)));
  CloseHandle(viewer);
  EXPECT_EQ(ReadWholeFile(target), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.bmp"});

  // A folder that does not exist, and a name that is a folder.
  EXPECT_FALSE(Plat_ReplaceFile(folder.Utf8(L"missing\\x.bmp"), bytes));
  CreateDirectoryW(folder.File(L"sub").c_str(), nullptr);
  EXPECT_FALSE(Plat_ReplaceFile(folder.Utf8(L"sub"), bytes));
  RemoveDirectoryW(folder.File(L"sub").c_str());
  EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"picture.bmp"});
}
