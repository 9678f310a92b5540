// Arbitrary filter texts for the save dialog's filter list: the list must always be well formed
// and must give back the items it was made from.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "canvas/save_dialog.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view filter(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> list = Dialog_BuildFilterList(filter);
  if (filter.empty()) {
    Check(!list);
    return 0;
  }
  // Only a lone empty item after a separator is dropped, so any non-empty text gives a list.
  Check(list.has_value() && list->size() >= 2);
  Check(list->substr(list->size() - 2) == std::string_view("\0\0", 2));
  if (filter.find('\0') != std::string_view::npos) return 0;  // NULs in items make it ambiguous

  // Joining the items with "|" gives the text back, less one final separator.
  std::string joined;
  const std::string_view items(list->data(), list->size() - 2);
  for (char c : items) joined.push_back(c == '\0' ? '|' : c);
  std::string_view expected = filter;
  if (expected.size() >= 1 && expected.back() == '|') expected.remove_suffix(1);
  Check(joined == expected);
  return 0;
}
