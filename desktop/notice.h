// The notice box: a modal message box that tells the user about a call that cannot be carried out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

inline constexpr const char* kNoticeDefaultTitle = "友情提醒";
inline constexpr unsigned kNoticeDefaultStyle = 0x40;  // information icon, one OK button

// Shows `text` and returns the id of the button pressed minus 1 (OK 0, Cancel 1, Abort 2, Retry 3,
// Ignore 4, Yes 5, No 6), or -1 when the box could not be shown. Every option left out takes its
// default: the style above, the title "友情提醒", and as owner the program's first visible window
// (none when it has no visible window). A given value is used as given, 0 and "" included.
std::int32_t Notice_Show(std::string_view text, std::optional<unsigned> style = std::nullopt,
                         std::optional<std::string> title = std::nullopt,
                         std::optional<WindowHandle> owner = std::nullopt);
