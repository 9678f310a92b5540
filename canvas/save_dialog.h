// Asking the user for the name of a file to write.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

inline constexpr const char* kSaveDialogDefaultTitle = "保存文件";
inline constexpr const char* kSaveDialogDefaultFilter = "TXT文档(*.txt)|*.txt|所有文件(*.*)|*.*";
// Longest path handed back, in bytes (the 512-byte name field less its NUL).
inline constexpr std::size_t kSaveDialogMaxPath = 511;

// Turns "description|pattern|..." into the platform's filter list: every item followed by a NUL,
// then one more NUL. An empty item between two separators is kept (the dialog's list ends there);
// an empty item after a final separator is dropped. No items at all: no list.
std::optional<std::string> Dialog_BuildFilterList(std::string_view filter);

// Shows the modal save-file dialog and returns the chosen full path, or "" on cancel or error.
// Every optional parameter is used as given when present, an empty text or 0 included:
//   initialDirectory  absent: the process's current directory at the start of the call
//   caption           absent: "保存文件"
//   filter            absent: the text-file filter above
//   filterIndex       absent (or 0): 1
//   keepDialogDirectory  absent: false, so the current directory is restored after the dialog
std::string Dialog_SaveFile(WindowHandle owner,
                            const std::optional<std::string>& initialDirectory = std::nullopt,
                            const std::optional<std::string>& caption = std::nullopt,
                            const std::optional<std::string>& filter = std::nullopt,
                            std::optional<int> filterIndex = std::nullopt,
                            std::optional<bool> keepDialogDirectory = std::nullopt);
