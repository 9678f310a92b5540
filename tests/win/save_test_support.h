// Helpers of the saving suites: a driver for the real save-file dialog, and files in a fresh
// temporary folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

// Drives a real save-file dialog from another thread, the way a user would: waits for the dialog
// to appear, reads what it offers, types a name into its name field and presses Enter (Save) or
// Escape (Cancel).
struct SeenDialog {
  bool found = false;
  HWND owner = nullptr;
  std::wstring title;
  std::wstring nameAtStart;             // the name field when the dialog appeared
  std::vector<std::wstring> fileTypes;  // the file-type list's entries
  std::wstring typed;                   // the name field just before Enter was pressed
};

class SaveDialogDriver {
 public:
  // Answers the next dialog titled `title` with `path`; an empty path cancels it.
  SaveDialogDriver(std::wstring title, std::wstring path);
  ~SaveDialogDriver();
  SaveDialogDriver(const SaveDialogDriver&) = delete;
  SaveDialogDriver& operator=(const SaveDialogDriver&) = delete;

  // Waits (without pumping: the dialog runs on the caller's thread) until the driver is done.
  const SeenDialog& Finish();

 private:
  static DWORD WINAPI Run(void* self);
  void Drive();

  std::wstring title_, path_;
  SeenDialog seen_;
  HANDLE thread_ = nullptr;
};

// A fresh folder under the temporary directory, removed with the files in it.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
  std::string Utf8(const wchar_t* name) const;
  std::vector<std::wstring> Names() const;  // what the folder holds, stray temporary files included
  std::wstring path;
};

std::string ReadWholeFile(const std::wstring& path);  // "<missing>" when it cannot be opened
void WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace wintest
