// The Delayed Start lists: moving programs there and back, their options, and
// the Monitor's launcher starting them.
#include "inventory/delayed_start.h"

#include <gtest/gtest.h>

#include "inventory/detection_store.h"
#include "inventory/startup_enum.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

const char* const kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string value(HKEY root, const std::string& key, const std::string& name) { return testutil::valueOf(root, key, name); }

std::string delaySub(const char* key) { return std::string(kDelayKey) + "\\" + key; }

class DelayedStart : public ::testing::Test {
 protected:
  DelayedStart() : machineRun_(HKEY_LOCAL_MACHINE, {kRunPath}), userRun_(HKEY_CURRENT_USER, {kRunPath}) {}
  void SetUp() override {
    forget();
    machineRun_.clearValues();
    userRun_.clearValues();
  }
  void TearDown() override { forget(); }
  static void forget() {
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kDelayKey);
    testutil::deleteTree(HKEY_CURRENT_USER, kDelayKey);
    testutil::deleteTree(HKEY_LOCAL_MACHINE, "Software\\Quennet\\Tavrin\\Disabled");
  }
  testutil::RegistrySnapshot machineRun_, userRun_;
};

DelayQuestions answering(bool allowAllUsers, int* refused = nullptr) {
  DelayQuestions ask;
  ask.cannotDelay = [refused](const std::string&) {
    if (refused) ++*refused;
  };
  ask.allowAllUsers = [allowAllUsers](const std::string&) { return allowAllUsers; };
  return ask;
}

}  // namespace

TEST_F(DelayedStart, RunEntriesMoveAndComeBackRundllOnesJoinedAndSomeCannotMove) {
  int refused = 0;
  EXPECT_EQ(moveToDelayed("Winlogon Shell", "c:\\shell.exe", "", 251, 0, answering(true, &refused)), 0);
  EXPECT_EQ(moveToDelayed("Tavrin", "c:\\tavrin\\tavrin.exe", "", 1, 0, answering(true, &refused)), -1);
  EXPECT_EQ(refused, 2);
  testutil::setString(HKEY_LOCAL_MACHINE, kRunPath, "Shared", "c:\\shared.exe");
  EXPECT_EQ(moveToDelayed("Shared", "c:\\shared.exe", "", 1, 0, answering(false)), 0);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRunPath, "Shared"), "c:\\shared.exe");
  EXPECT_EQ(countDelayedPrograms(), 0);

  testutil::setString(HKEY_CURRENT_USER, kRunPath, "Tool", "c:\\tools\\tool.exe /min");
  EXPECT_EQ(moveToDelayed("Tool", "c:\\tools\\tool.exe /min", "", 11, 0, answering(true)), 1);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kRunPath, "Tool"), "<missing>");
  const std::string program = "C:\\TOOLS\\TOOL.EXE";
  EXPECT_EQ(value(HKEY_CURRENT_USER, kDelayKey, program), "11");
  EXPECT_EQ(value(HKEY_CURRENT_USER, delaySub("Time"), program), "30");
  EXPECT_EQ(value(HKEY_CURRENT_USER, delaySub("Parameters"), program), " /min");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kApprovedStartupKey, "c:\\tools\\tool.exe /min"), "1103");
  EXPECT_EQ(countDelayedPrograms(), 1);

  EntryList list("Tavrin", 4096);
  ASSERT_EQ(enumerateDelayed(list), 1);
  EXPECT_EQ(list.name(0), "Tool");
  EXPECT_EQ(list.flag(0), 1);
  EXPECT_EQ(list.typeCode(0), 11);
  EXPECT_EQ(restoreDelayed(list, 0), 1);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kRunPath, "Tool"), "\"C:\\TOOLS\\TOOL.EXE\" /min");
  EXPECT_EQ(countDelayedPrograms(), 0);

  // A RUNDLL32 entry of the machine keeps its entry point joined to the library.
  testutil::setString(HKEY_LOCAL_MACHINE, kRunPath, "Applet", "RUNDLL32.EXE c:\\x\\helper.dll,Start now");
  auto applet = [&] {
    enumerateStartup(list, false, 0);
    for (int i = 0; i < list.count(); ++i)
      if (list.name(i) == "Applet") return i;
    return -1;
  };
  int at = applet();
  ASSERT_GE(at, 0);
  ASSERT_EQ(list.flag(at), 1);
  EXPECT_EQ(moveToDelayed("Applet", list.programPath(at), "", 1, 1, answering(true)), 1);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, delaySub("Applet"), "C:\\X\\HELPER.DLL"), "RunDLL32.exe");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, delaySub("Parameters"), "C:\\X\\HELPER.DLL"), ",Start now");
  EXPECT_EQ(restoreAllDelayed(), 1);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRunPath, "Applet"), "RunDLL32.exe \"C:\\X\\HELPER.DLL\",Start now");
  ASSERT_GE(at = applet(), 0);
  EXPECT_EQ(list.programPath(at), "C:\\X\\HELPER.DLL,Start now");
}

// The options dialog's round trip is the Explorer's end-to-end test; here a stored state out of range.
TEST_F(DelayedStart, AWindowStateOutOfRangeReadsAsNormal) {
  addToDelayed("c:\\app.exe", DelayHive::CurrentUser);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kDelayKey, "c:\\app.exe"), "11");
  testutil::setString(HKEY_CURRENT_USER, delaySub("OpenAs"), "c:\\app.exe", "2");
  EXPECT_EQ(readDelayedOptions(DelayHive::CurrentUser, "c:\\app.exe").windowState, 2);
  testutil::setString(HKEY_CURRENT_USER, delaySub("OpenAs"), "c:\\app.exe", "7");
  EXPECT_EQ(readDelayedOptions(DelayHive::CurrentUser, "c:\\app.exe").windowState, 0);
}

TEST_F(DelayedStart, LauncherStartsEachProgramOnceWhenItsTimeHasCome) {
  // Three copies of a program that leaves a mark when started.
  const std::string folder = testutil::freshFolder("delayed-launch");
  const std::string worker = testutil::testDir() + "\\startup_worker.exe";
  const int delays[] = {0, 35, 10};
  std::string programs[3], marks[3];
  for (int i = 0; i < 3; ++i) {
    programs[i] = folder + "\\late" + std::to_string(i) + ".exe";
    marks[i] = folder + "\\mark" + std::to_string(i) + ".txt";
    ASSERT_TRUE(CopyFileA(worker.c_str(), programs[i].c_str(), FALSE));
    addToDelayed(programs[i], i == 1 ? DelayHive::AllUsers : DelayHive::CurrentUser);
    DelayedOptions options = readDelayedOptions(DelayHive::CurrentUser, programs[i]);
    options.seconds = delays[i];
    options.parameters = "touch \"" + marks[i] + "\"";
    writeDelayedOptions(i == 1 ? DelayHive::AllUsers : DelayHive::CurrentUser, programs[i], options);
  }
  auto started = [&](int i) { return GetFileAttributesA(marks[i].c_str()) != INVALID_FILE_ATTRIBUTES; };
  DelayedLauncher launcher;
  EXPECT_EQ(launcher.launchDue(10), 2);  // the delays of 0 and 10
  EXPECT_TRUE(driver::waitUntil([&] { return started(0) && started(2); }, 10000));
  EXPECT_FALSE(started(1));
  EXPECT_EQ(launcher.launchDue(20), 2);
  EXPECT_EQ(launcher.launchDue(30), 2);
  EXPECT_EQ(launcher.launchDue(40), 3);  // 35 is not a multiple of ten, and still starts
  EXPECT_TRUE(driver::waitUntil([&] { return started(1); }, 10000));
  EXPECT_EQ(launcher.launchDue(50), 3);
  Sleep(500);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(testutil::readFile(marks[i]), "started\n") << "started twice: " << i;
}
