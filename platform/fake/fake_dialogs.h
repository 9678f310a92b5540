// The in-memory save-file dialog: tests script its answer and read the requests it received.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace fake {

struct SaveDialogAnswer {
  std::optional<std::string> path;  // none: the user cancels
  std::optional<std::string>
      browseTo;  // the folder the user browsed to (the current directory after)
};

struct Dialogs {
  std::deque<SaveDialogAnswer> answers;  // one per dialog; the dialog cancels when none is left
  std::vector<SaveDialogRequest> requests;
};

Dialogs& FakeDialogs();
void ResetDialogs();

// The next save dialog confirms `path`, or cancels.
void AnswerSaveDialog(const std::string& path);
void CancelSaveDialog();

}  // namespace fake
