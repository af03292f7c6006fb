#pragma once
// Each test starts from no running programs, tracing on and no trace file.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/driver.h"
#include "support/win_test_util.h"

constexpr UINT kTrayIconId = 6036;

// A modify with no flags succeeds only while the Monitor's icon is in the tray.
inline bool trayIconPresent(HWND monitor) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = monitor;
  data.uID = kTrayIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class ProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stopAll();
    setOption("Debug", "1");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "ConfirmExit");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "HideBramble");
    DeleteFileA(tracePath().c_str());
  }
  void TearDown() override {
    // A failure leaves the screen and the programs' trace beside the screenshots.
    if (HasFailure()) {
      const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
      const std::string name = std::string("failed-") + test->test_suite_name() + "-" + test->name();
      driver::screenshot(name);
      if (const char* folder = getenv("TAVRIN_SHOT_DIR"))
        CopyFileA(tracePath().c_str(), (std::string(folder) + "\\" + name + "-trace.txt").c_str(), FALSE);
      const std::string trace = traceText();
      std::printf("--- the last of the trace ---\n%s\n", trace.substr(trace.size() > 6000 ? trace.size() - 6000 : 0).c_str());
    }
    stopAll();
  }

  static void stopAll() {
    driver::killAll("Tavrin.exe");
    driver::killAll("TavrinEx.exe");
    driver::waitUntilGone("Tavrin", 3000);
    driver::waitUntilGone("TavrinEx", 3000);
  }
  static void setOption(const char* name, const char* value) {
    testutil::setString(HKEY_CURRENT_USER, kOptions, name, value);
  }
  // Starts the Monitor; its window once the patrol's timer runs, or null.
  HWND startMonitor() {
    monitor_ = driver::start(monitorPath());
    HWND window = driver::waitForWindow("Tavrin", nullptr, 10000);
    return window && traceHas("Application Start: SetTimer", 30000) ? window : nullptr;  // after the first run
  }
  static std::string monitorPath() { return testutil::programDir() + "\\Tavrin.exe"; }
  static std::string explorerPath() { return testutil::programDir() + "\\TavrinEx.exe"; }
  static std::string tracePath() { return testutil::programDir() + "\\send2qn.txt"; }
  static std::string traceText() { return testutil::readFile(tracePath()); }
  // Waits until the registry value reads `value` ("<missing>": until it is gone).
  static bool becomes(HKEY root, const std::string& key, const std::string& name, const std::string& value,
                      DWORD timeoutMs = 5000) {
    return driver::waitUntil([&] { return testutil::valueOf(root, key, name) == value; }, timeoutMs);
  }
  // The command line of the Notepad a program started, which is then closed.
  static std::string notepadCommandLine() {
    std::vector<DWORD> found;
    driver::waitUntil([&] { return !(found = driver::processesNamed("notepad.exe")).empty(); }, 5000);
    const std::string line = found.empty() ? "<no Notepad>" : driver::commandLineOf(found[0]);
    driver::killAll("notepad.exe");
    return line;
  }
  static bool traceHas(const std::string& text, DWORD timeoutMs) {
    return driver::waitUntil([&] { return traceText().find(text) != std::string::npos; }, timeoutMs);
  }

  static constexpr const char* kOptions = "Software\\Quennet\\Tavrin\\Options";
  driver::Process monitor_;
};
