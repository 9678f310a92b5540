// The save-file dialog: GetSaveFileNameW from a request of the logic.

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "platform/dialogs.h"
#include "platform/win32/text_win32.h"

using namespace win32;

namespace {

// The filter list keeps its shape: each NUL-terminated item converted on its own, the NULs
// (the list's final one included) kept where they were.
std::wstring WideFilterList(const std::string& list) {
  std::wstring wide;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t nul = list.find('\0', begin);
    wide += Utf8ToWide(std::string_view(list).substr(begin, nul - begin));
    if (nul == std::string::npos) break;
    wide.push_back(L'\0');
    begin = nul + 1;
  }
  return wide;
}

}  // namespace

std::optional<std::string> Plat_ShowSaveDialog(const SaveDialogRequest& request) {
  const int limit = request.nameLimit > 1 ? request.nameLimit : 1;
  std::vector<wchar_t> file(static_cast<std::size_t>(limit) + 1, L'\0');  // the name starts empty
  std::wstring fileTitle(512, L' ');
  const std::wstring filter = request.filterList ? WideFilterList(*request.filterList) : L"";
  const std::wstring title = request.title ? Utf8ToWide(*request.title) : L"";
  // A folder that cannot be named exactly is left to the dialog's own choice.
  const std::optional<std::wstring> folder =
      request.initialDirectory ? Utf8ToWideExact(*request.initialDirectory) : std::nullopt;
  const std::wstring defaultExtension = Utf8ToWide(request.defaultExtension);

  OPENFILENAMEW ofn{};
  ofn.lStructSize =
      OPENFILENAME_SIZE_VERSION_400W;  // without the members of later Windows versions
  ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
  ofn.lpstrFilter = request.filterList ? filter.c_str() : nullptr;
  ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(limit);
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  ofn.lpstrInitialDir = folder && !folder->empty() ? folder->c_str() : nullptr;
  ofn.lpstrTitle = request.title && !title.empty() ? title.c_str() : nullptr;
  ofn.Flags = 0;  // no overwrite question; the dialog may change the current directory
  ofn.lpstrDefExt = defaultExtension.c_str();

  if (!GetSaveFileNameW(&ofn)) return std::nullopt;  // cancelled, closed, or failed
  file.back() = L'\0';
  return WideToUtf8(std::wstring_view(file.data()));
}
