// Plat_ReplaceFile for the native tests. On the native file system the bytes go to a temporary
// file beside the target, which then takes the target's name with rename(), so the target is
// either the old file or the complete new one.

#include "platform/fake/fake_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/platform.h"

namespace fake {

Files& FakeFiles() {
  static Files files;
  return files;
}

void ResetFiles() { FakeFiles() = {}; }

}  // namespace fake

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  std::size_t limit = size;
  if (fake::FakeFiles().failWriteAfter) limit = std::min(size, *fake::FakeFiles().failWriteAfter);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::write(fd, data + done, limit - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return done == size;
}

}  // namespace

bool Plat_ReplaceFile(const std::string& path, const ByteBlock& bytes) {
  fake::Files& files = fake::FakeFiles();
  files.replaceCalls.push_back(path);
  if (path.empty()) return false;
  if (path.front() != '/') {
    if (files.failWriteAfter && *files.failWriteAfter < bytes.size()) return false;
    files.memoryFiles[path] = bytes;
    return true;
  }
  if (path.back() == '/') return false;
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string temp = folder + (slash == std::string::npos ? "/" : "") + ".mozhou-save-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}
