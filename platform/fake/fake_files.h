// Files in the native tests. Absolute POSIX paths are real files (tests use a temporary folder);
// any other path, such as "C:\\x.bmp", is kept in memory so that no test litters its working
// directory. A switch makes writes fail.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace fake {

struct Files {
  // Every Plat_ReplaceFile call's path, in order, whether it succeeded or not.
  std::vector<std::string> replaceCalls;
  // When set, writing fails (as on a full disk) after this many bytes have reached the temporary
  // file.
  std::optional<std::size_t> failWriteAfter;
  // The in-memory files by path, as last replaced.
  std::map<std::string, ByteBlock> memoryFiles;
};

Files& FakeFiles();
void ResetFiles();

}  // namespace fake
