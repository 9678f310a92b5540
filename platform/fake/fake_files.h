// Files in the native tests: real files in a test's temporary folder, with a failure switch.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Files {
  // Every Plat_ReplaceFile call's path, in order, whether it succeeded or not.
  std::vector<std::string> replaceCalls;
  // When set, writing fails (as on a full disk) after this many bytes have reached the temporary file.
  std::optional<std::size_t> failWriteAfter;
};

Files& FakeFiles();
void ResetFiles();

}  // namespace fake
