#include "platform/fake/fake_dialogs.h"

#include "platform/platform.h"

namespace fake {

Dialogs& FakeDialogs() {
  static Dialogs dialogs;
  return dialogs;
}

void ResetDialogs() { FakeDialogs() = {}; }

void AnswerSaveDialog(const std::string& path) { FakeDialogs().answers.push_back({path, {}}); }

void CancelSaveDialog() { FakeDialogs().answers.push_back({std::nullopt, {}}); }

}  // namespace fake

std::optional<std::string> Plat_ShowSaveDialog(const SaveDialogRequest& request) {
  auto& d = fake::FakeDialogs();
  d.requests.push_back(request);
  if (d.answers.empty()) return std::nullopt;
  fake::SaveDialogAnswer answer = d.answers.front();
  d.answers.pop_front();
  // Like the real dialog without "no change dir", browsing moves the process's current directory.
  if (answer.browseTo) Plat_SetCurrentDirectory(*answer.browseTo);
  return answer.path;
}
