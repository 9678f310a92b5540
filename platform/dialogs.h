// The platform's modal save-file dialog.
//
// The logic fills in a request; the backend shows the dialog (on Windows GetSaveFileNameW) and
// returns the full path the user confirmed, or nothing when the user cancelled or the dialog
// failed.
#pragma once

#include <optional>
#include <string>

#include "platform/types.h"

struct SaveDialogRequest {
  WindowHandle owner = 0;  // the dialog is modal to this window
  // The folder the dialog opens in; none: the platform's choice.
  std::optional<std::string> initialDirectory;
  std::optional<std::string> title;  // none: the platform's default title
  // The file types: NUL-terminated items that pair up as (description, pattern), the whole list
  // ending in an extra NUL. An empty item ends the list early. None: no file types at all.
  std::optional<std::string> filterList;
  int filterIndex = 1;  // 1-based pair selected when the dialog opens
  // Room for the chosen path, in the platform's own characters, its terminating NUL included.
  int nameLimit = 512;
  // Appended to a name typed without an extension; empty: the dialog's own behaviour.
  std::string defaultExtension;
};

// Shows the dialog with an empty name field and no question about existing files. Returns the
// chosen full path (UTF-8), or nothing on cancel or error. The dialog may change the process's
// current directory.
std::optional<std::string> Plat_ShowSaveDialog(const SaveDialogRequest& request);
