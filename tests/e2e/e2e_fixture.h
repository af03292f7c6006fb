#pragma once
// Each test starts from no running programs, tracing on and no trace file.
#include <gtest/gtest.h>

#include <string>

#include "support/driver.h"
#include "support/win_test_util.h"

class ProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stopAll();
    setOption("Debug", "1");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "ConfirmExit");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "HideBramble");
    DeleteFileA(tracePath().c_str());
  }
  void TearDown() override { stopAll(); }

  static void stopAll() {
    driver::killAll("Tavrin.exe");
    driver::killAll("TavrinEx.exe");
    driver::waitUntilGone("Tavrin", 3000);
    driver::waitUntilGone("TavrinEx", 3000);
  }
  static void setOption(const char* name, const char* value) {
    testutil::setString(HKEY_CURRENT_USER, kOptions, name, value);
  }
  static std::string monitorPath() { return testutil::programDir() + "\\Tavrin.exe"; }
  static std::string explorerPath() { return testutil::programDir() + "\\TavrinEx.exe"; }
  static std::string tracePath() { return testutil::programDir() + "\\send2qn.txt"; }
  static std::string traceText() { return testutil::readFile(tracePath()); }
  static bool traceHas(const std::string& text, DWORD timeoutMs) {
    return driver::waitUntil([&] { return traceText().find(text) != std::string::npos; }, timeoutMs);
  }

  static constexpr const char* kOptions = "Software\\Quennet\\Tavrin\\Options";
};
