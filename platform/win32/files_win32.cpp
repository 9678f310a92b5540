// Replacing a file in one step: the bytes go to a new temporary file in the target's folder, which
// then takes the target's place with MoveFileExW. Until that move succeeds the old file is as it
// was; after it, the new file is complete.

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/win32/text_win32.h"

using namespace win32;

namespace {

struct FileHandle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~FileHandle() { Close(); }
  bool Close() {
    if (h == INVALID_HANDLE_VALUE) return true;
    const bool ok = CloseHandle(h) != FALSE;
    h = INVALID_HANDLE_VALUE;
    return ok;
  }
};

// Creates a file of a fresh name in `folder` ("" for the current directory) and returns its name.
std::wstring CreateTemporary(const std::wstring& folder, FileHandle& file) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::wstring path = folder + L"~mozhou" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring((++counter + GetTickCount()) & 0xFFFF) + L".tmp";
    file.h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (file.h != INVALID_HANDLE_VALUE) return path;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

bool WriteAll(HANDLE file, const ByteBlock& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

}  // namespace

bool Plat_ReplaceFile(const std::string& path, const ByteBlock& bytes) {
  const std::optional<std::wstring> target = Utf8ToWideExact(path);
  if (!target || target->empty()) return false;
  const std::size_t slash = target->find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? L"" : target->substr(0, slash + 1);
  // "C:name" lies in drive C's current directory; the temporary file must lie there too.
  if (slash == std::wstring::npos && target->size() >= 2 && (*target)[1] == L':')
    folder = target->substr(0, 2);

  FileHandle file;
  const std::wstring temporary = CreateTemporary(folder, file);
  if (temporary.empty()) return false;
  bool ok = WriteAll(file.h, bytes) && FlushFileBuffers(file.h);
  ok = file.Close() && ok;
  ok = ok && MoveFileExW(temporary.c_str(), target->c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temporary.c_str());
  return ok;
}
