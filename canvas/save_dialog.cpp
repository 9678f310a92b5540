// The save-file dialog: defaults, the filter list, and the current directory around the dialog.
//
// Texts are UTF-8, so a "|" byte never sits inside a multi-byte character and a plain byte split
// is a character-aware split.

#include "canvas/save_dialog.h"

#include "platform/dialogs.h"
#include "platform/platform.h"

namespace {

constexpr char kFilterSeparator = '|';
constexpr int kNameLimit = 512;

// At most `limit` bytes of `text`, never ending inside a UTF-8 character.
std::string CutOnCharacter(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the character that was cut.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

}  // namespace

std::optional<std::string> Dialog_BuildFilterList(std::string_view filter) {
  std::string list;
  std::size_t items = 0;
  std::size_t begin = 0;
  while (begin <= filter.size()) {
    const std::size_t bar = filter.find(kFilterSeparator, begin);
    const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
    const bool last = bar == std::string_view::npos;
    // What follows the final separator is an item only when it is not empty.
    if (!(last && end == begin)) {
      list.append(filter.substr(begin, end - begin));
      list.push_back('\0');
      ++items;
    }
    if (last) break;
    begin = bar + 1;
  }
  if (items == 0) return std::nullopt;
  list.push_back('\0');
  return list;
}

std::string Dialog_SaveFile(WindowHandle owner, const std::optional<std::string>& initialDirectory,
                            const std::optional<std::string>& caption,
                            const std::optional<std::string>& filter,
                            std::optional<int> filterIndex,
                            std::optional<bool> keepDialogDirectory) {
  const std::string savedDirectory = Plat_GetCurrentDirectory();

  const std::string directory = initialDirectory.value_or(savedDirectory);
  const std::string title = caption.value_or(kSaveDialogDefaultTitle);

  SaveDialogRequest request;
  request.owner = owner;
  if (!directory.empty()) request.initialDirectory = directory;
  if (!title.empty()) request.title = title;
  request.filterList = Dialog_BuildFilterList(filter.value_or(kSaveDialogDefaultFilter));
  // 0 selects the first pair, as an absent index does.
  request.filterIndex = filterIndex.value_or(1) == 0 ? 1 : filterIndex.value_or(1);
  request.nameLimit = kNameLimit;
  request.defaultExtension = "";

  std::optional<std::string> chosen = Plat_ShowSaveDialog(request);

  // The dialog may have moved the current directory to wherever the user browsed.
  if (!keepDialogDirectory.value_or(false)) Plat_SetCurrentDirectory(savedDirectory);

  if (!chosen) return {};
  // The path up to its first NUL, at most the name field's length.
  std::string path = chosen->substr(0, chosen->find('\0'));
  return CutOnCharacter(std::move(path), kSaveDialogMaxPath);
}
