#include "platform/win32/text_win32.h"

#include <windows.h>

#include <climits>

namespace win32 {

namespace {

std::optional<std::wstring> Convert(std::string_view text, DWORD flags) {
  if (text.empty()) return std::wstring();
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
  const int n = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, flags, text.data(), n, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_UTF8, flags, text.data(), n, out.data(), length) != length)
    return std::nullopt;
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return Convert(text, 0).value_or(std::wstring()); }

std::optional<std::wstring> Utf8ToWideExact(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  return Convert(text, MB_ERR_INVALID_CHARS);
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int n = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(CP_UTF8, 0, text.data(), n, out.data(), length, nullptr, nullptr) != length)
    return {};
  return out;
}

}  // namespace win32
