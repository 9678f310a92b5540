// UTF-8 inside the program, UTF-16 at the Win32 edge: the one place where the two meet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

// For texts that are shown (captions, messages, menu items): invalid UTF-8 becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// For texts that name something (paths, addresses): nothing when `text` is not valid UTF-8 or
// holds a NUL, since a changed or cut name would name something else.
std::optional<std::wstring> Utf8ToWideExact(std::string_view text);
// What Win32 hands back; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);

}  // namespace win32
