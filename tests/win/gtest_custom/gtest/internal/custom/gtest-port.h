// GoogleTest customisation for the Windows suites. mingw-w64's win32 thread model (GCC 12) has no
// std::mutex or std::condition_variable, which GoogleTest's Notification uses; this one waits on a
// Win32 event instead. Everything else of GoogleTest already uses its own Win32 primitives.
#ifndef MOZHOU_GTEST_CUSTOM_PORT_H_
#define MOZHOU_GTEST_CUSTOM_PORT_H_

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() {
    if (event_ != nullptr) CloseHandle(event_);
  }
  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#endif  // MOZHOU_GTEST_CUSTOM_PORT_H_
