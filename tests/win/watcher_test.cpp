// The registry watcher library as the Monitor binds it: by ordinal, with a
// window that receives its check-now requests.
#include <gtest/gtest.h>

#include <string>

#include "support/win_test_util.h"
#include "sys/handles.h"

using tavrin::UniqueModule;

namespace {

constexpr UINT kCheckNow = 9024;
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kWinlogonKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

using Start = void(WINAPI*)(HWND);
using Stop = void(WINAPI*)();

class Watcher : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.reset(LoadLibraryA((testutil::programDir() + "\\ostrum.dll").c_str()));
    ASSERT_TRUE(library_);
    start_ = reinterpret_cast<Start>(reinterpret_cast<void*>(GetProcAddress(library_.get(), MAKEINTRESOURCEA(2))));
    stop_ = reinterpret_cast<Stop>(reinterpret_cast<void*>(GetProcAddress(library_.get(), MAKEINTRESOURCEA(3))));
    ASSERT_NE(start_, nullptr);
    ASSERT_NE(stop_, nullptr);
    window_ = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (stop_) stop_();
    if (window_) DestroyWindow(window_);
    testutil::deleteValue(HKEY_CURRENT_USER, kRunKey, "TavrinWatcherTest");
  }

  // Check-now requests that reach the window within `ms`.
  int requestsWithin(DWORD ms) {
    int count = 0;
    const DWORD until = GetTickCount() + ms;
    for (;;) {
      const DWORD now = GetTickCount();
      if (static_cast<int>(until - now) <= 0) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_POSTMESSAGE);
      MSG message;
      while (PeekMessageA(&message, window_, kCheckNow, kCheckNow, PM_REMOVE)) ++count;
    }
    return count;
  }

  UniqueModule library_;
  Start start_ = nullptr;
  Stop stop_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace

TEST_F(Watcher, AChangeRightAfterTheStartIsSeenAndRequestsAreSpacedTwoSecondsApart) {
  start_(window_);
  // No settling time: the start returns with the keys already watched.
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "TavrinWatcherTest", "c:\\first.exe");
  EXPECT_EQ(requestsWithin(1000), 1);
  // A burst of changes inside the two seconds makes one more request, not many.
  for (int i = 0; i < 5; ++i)
    testutil::setString(HKEY_CURRENT_USER, kRunKey, "TavrinWatcherTest", "c:\\burst" + std::to_string(i) + ".exe");
  EXPECT_EQ(requestsWithin(500), 0);
  EXPECT_EQ(requestsWithin(3000), 1);
  // Nothing changes, nothing is asked.
  EXPECT_EQ(requestsWithin(2500), 0);
}

TEST_F(Watcher, StopEndsTheWatchAndAStartAfterItWatchesAgain) {
  start_(window_);
  stop_();
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "TavrinWatcherTest", "c:\\stopped.exe");
  EXPECT_EQ(requestsWithin(2500), 0);
  start_(window_);
  // Another of the watched keys, in the machine hive this time.
  testutil::setString(HKEY_LOCAL_MACHINE, kWinlogonKey, "TavrinWatcherTest", "x");
  EXPECT_EQ(requestsWithin(1500), 1);
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kWinlogonKey, "TavrinWatcherTest");
}

TEST_F(Watcher, ARunKeyCreatedAfterTheStartIsWatchedFromThenOn) {
  const std::string runServicesOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce";
  testutil::deleteTree(HKEY_CURRENT_USER, runServicesOnce);
  start_(window_);
  // Creating the key with a value in it is a change of its own ...
  testutil::setString(HKEY_CURRENT_USER, runServicesOnce, "TavrinWatcherTest", "c:\\created.exe");
  // (the value may land before or after the key is watched anew: one request or two)
  const int requests = requestsWithin(4500);
  EXPECT_GE(requests, 1);
  EXPECT_LE(requests, 2);
  // ... and a later value in it is seen as in any watched key.
  testutil::setString(HKEY_CURRENT_USER, runServicesOnce, "TavrinWatcherTest", "c:\\changed.exe");
  EXPECT_EQ(requestsWithin(2500), 1);
  testutil::deleteTree(HKEY_CURRENT_USER, runServicesOnce);
}
