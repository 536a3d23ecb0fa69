// GoogleTest's Notification, built on std::mutex, which the Win32 thread
// model of MinGW's C++ library lacks: here a Win32 manual-reset event. (That
// library defines NOMINMAX for <windows.h> itself.) Only the Windows build
// puts this header ahead of GoogleTest's own.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {
class Notification {
public:
    ~Notification() { CloseHandle(event_); }
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};
}  // namespace testing::internal
