#include "desktop/notice.h"

#include "desktop/window_lookup.h"
#include "platform/platform.h"

std::int32_t Notice_Show(std::string_view text, std::optional<unsigned> style,
                         std::optional<std::string> title, std::optional<WindowHandle> owner) {
  const WindowHandle ownerWindow =
      owner ? *owner : Window_FindVisibleOfProcess(Process_GetCurrentId());
  const std::string boxTitle = title ? std::move(*title) : std::string(kNoticeDefaultTitle);
  const unsigned boxStyle = style ? *style : kNoticeDefaultStyle;
  // A box that could not be shown answers 0, which becomes -1.
  return Plat_MessageBox(ownerWindow, std::string(text), boxTitle, boxStyle) - 1;
}
