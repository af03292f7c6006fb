// The Explorer's entry point driven from outside.
#include "e2e_fixture.h"

namespace {
class Explorer : public ProgramsTest {};
}  // namespace

TEST_F(Explorer, SingleInstanceAndQuitInLowerCase) {
  driver::Process first = driver::start(explorerPath(), "-TASK");
  HWND window = driver::waitForWindow("TavrinEx", nullptr, 10000);
  ASSERT_NE(window, nullptr);
  // Only a taskbar button: the window sits above the screen with no size.
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.top, -200);
  driver::Process second = driver::start(explorerPath(), "-DELAY");
  ASSERT_TRUE(second.waitExit(10000));
  EXPECT_EQ(driver::processesNamed("TavrinEx.exe").size(), 1u);
  driver::Process quit = driver::start(explorerPath(), "-q");
  ASSERT_TRUE(quit.waitExit(10000));
  DWORD code = 99;
  EXPECT_TRUE(first.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(Explorer, StartSwitchStartsTheMonitorWhenNoneRuns) {
  driver::Process explorer = driver::start(explorerPath(), "-START");
  EXPECT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_NE(driver::waitForWindow("Tavrin", nullptr, 10000), nullptr);
  // With one running, another -START starts no second Monitor.
  driver::Process again = driver::start(explorerPath(), "-START");
  ASSERT_TRUE(again.waitExit(10000));
  Sleep(1000);
  EXPECT_EQ(driver::processesNamed("Tavrin.exe").size(), 1u);
}

TEST_F(Explorer, QuitWithNoneRunningOpensNothing) {
  driver::Process quit = driver::start(explorerPath(), "-Q");
  DWORD code = 99;
  ASSERT_TRUE(quit.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FindWindowA("TavrinEx", nullptr), nullptr);
}

TEST_F(Explorer, OtherSwitchesLeaveTheMonitorAlone) {
  driver::Process explorer = driver::start(explorerPath(), "-OPTIONS");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_FALSE(driver::appears("Tavrin", 2000));
}

TEST_F(Explorer, TracesIntoItsOwnFile) {
  const std::string trace = testutil::programDir() + "\\sendex2qn.txt";
  DeleteFileA(trace.c_str());
  driver::Process explorer = driver::start(explorerPath(), "-TASK");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_TRUE(driver::waitUntil(
      [&] {
        return testutil::readFile(trace).find("-------------------------------------Begin TavrinEx: 12.0.2007.5:12.0.2007.5") !=
               std::string::npos;
      },
      5000));
  // With Debug off nothing is written.
  stopAll();
  DeleteFileA(trace.c_str());
  setOption("Debug", "0");
  driver::Process quiet = driver::start(explorerPath(), "-TASK");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  Sleep(1000);
  EXPECT_EQ(GetFileAttributesA(trace.c_str()), INVALID_FILE_ATTRIBUTES);
}
