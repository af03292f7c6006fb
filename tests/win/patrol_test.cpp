// The patrol's task-change check, the real-time forcing of categories and the
// programs that come back from Delayed Start, run in-process against the
// prefix's registry with the Monitor's own resources; a second thread plays
// the user.
#include <gtest/gtest.h>

#include <thread>

#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "checks.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/startup_actions.h"
#include "inventory/startup_enum.h"
#include "monitor_state.h"
#include "patrol.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

const char* const kUserRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kDelayTime = "Software\\Quennet\\Tavrin\\Delay\\Time";
const char* const kDelayTitle = "Software\\Quennet\\Tavrin\\Delay\\Title";
const char* const kDelayShortcuts = "Software\\Quennet\\Tavrin\\Delay\\Shortcuts";
const char* const kDelayParameters = "Software\\Quennet\\Tavrin\\Delay\\Parameters";

std::string readText(HKEY root, const std::string& key, const std::string& name) {
  std::string data;
  DWORD type = 0;
  return testutil::rawValue(root, key, name, data, type) ? std::string(data.c_str()) : "<none>";
}

void setOption(const char* name, int value) {
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
}

// Everything the machine already starts is approved, so that only the
// entries a test adds are alerted.
void approveCurrentStartup() {
  EntryList list("Tavrin", 315);
  enumerateStartup(list, false, 0);
  for (int i = 0; i < list.count(); ++i)
    testutil::setString(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(list.programPath(i)),
                        std::to_string(list.typeCode(i)));
}

class Patrol : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.clearValues();
    setOption("HideBramble", 1);  // no tray icon in a test
    // Only the startup category may run in a group-A pass here.
    for (const char* name : {"IEHelpers", "Hidden", "HostFile", "StartPage", "FileType"}) setOption(name, 0);
    state_.caption = "Tavrin";
    state_.instance = GetModuleHandleA(nullptr);
    state_.fonts.create();
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }

  // Shows whatever the patrol asks; `user` gets the dialog and must end it.
  template <typename Run, typename User>
  std::string playing(Run run, User user) {
    std::string caption;
    std::thread player([&] {
      HWND dialog = driver::waitForProcessWindow(GetCurrentProcessId(), "#32770", 10000);
      if (!dialog) return;
      caption = driver::windowText(dialog);
      user(dialog);
    });
    run();
    player.join();
    return caption;
  }

  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptionsKey}};
  testutil::RegistrySnapshot approved_{HKEY_CURRENT_USER, {kApprovedStartupKey}};
  testutil::RegistrySnapshot run_{HKEY_CURRENT_USER, {kUserRun}};
  testutil::RegistrySnapshot delay_{HKEY_CURRENT_USER,
                                    {kDelayKey, kDelayTime, kDelayTitle, kDelayShortcuts, kDelayParameters}};
  testutil::RegistrySnapshot detected_{HKEY_CURRENT_USER, {std::string(kDetectedKey) + "\\Startup"}};
  testutil::RegistrySnapshot disabled_{HKEY_LOCAL_MACHINE, {kDisabledMarkerKey, disabledCopyKeyOf(11)}};
  MonitorState state_;
};

TEST_F(Patrol, UpdateMarkReloadsTheOptionsOnlyWhenTheTaskCountChanged) {
  setOption("Start", 2);
  loadMonitorOptions(state_);
  ASSERT_EQ(state_.patrol.reloadValue(PatrolCategory::Startup), 2);
  checkTaskChanges(state_);  // the count to compare with

  // The Explorer saved new patrol times and marked them.
  setOption("Start", 5);
  setOption("Tasks", 4);
  setOption("Update", 1);
  const int running = checkTaskChanges(state_);
  ASSERT_GT(running, 0);
  EXPECT_EQ(state_.lastRunningCount, running);
  // Unchanged count: the mark waits for the next change.
  EXPECT_EQ(state_.options.patrol.start, 2);
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kOptionsKey, "Update"), "1");

  state_.lastRunningCount = running + 1;  // a program came or went
  checkTaskChanges(state_);
  EXPECT_EQ(state_.options.patrol.start, 5);
  EXPECT_EQ(state_.patrol.reloadValue(PatrolCategory::Startup), 5);
  EXPECT_EQ(state_.patrol.reloadValue(PatrolCategory::Tasks), 4);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Tasks), 4);
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kOptionsKey, "Update"), "0");

  // Without the mark a change leaves the loaded options alone.
  setOption("Start", 7);
  state_.lastRunningCount = -1;
  checkTaskChanges(state_);
  EXPECT_EQ(state_.options.patrol.start, 5);
  EXPECT_EQ(state_.patrol.reloadValue(PatrolCategory::Startup), 5);
}

TEST_F(Patrol, ChangedTaskCountForcesTheRealtimeCategoriesIntoTheNextTick) {
  setOption("Start", 9);
  setOption("IEHelpers", 9);
  setOption("StartPage", 9);
  setOption("FileType", 9);
  setOption("RealtimeStartup", 1);
  setOption("RealtimeIEHelper", 0);
  setOption("RealtimeStartPage", 1);
  setOption("RealtimeFileType", 0);
  checkTaskChanges(state_);  // the count to compare with
  loadMonitorOptions(state_);
  state_.schedule = TickSchedule{};
  state_.patrol.flipGroup();  // group B would run next

  checkTaskChanges(state_);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Startup), 9) << "no change, no forcing";
  EXPECT_EQ(state_.patrol.nextGroup(), PatrolGroup::B);
  EXPECT_FALSE(state_.schedule.passStep());
  state_.schedule.passFinished();

  state_.lastRunningCount = -1;
  checkTaskChanges(state_);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Startup), 1);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::StartPage), 1);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::IEHelpers), 9);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::FileTypes), 9);
  EXPECT_EQ(state_.patrol.nextGroup(), PatrolGroup::A);
  EXPECT_TRUE(state_.schedule.passStep()) << "the next tick runs a pass";
}

TEST_F(Patrol, ForcedStartupCategoryRunsInTheNextPass) {
  setOption("Start", 9);
  setOption("RealtimeStartup", 1);
  for (const char* name : {"RealtimeIEHelper", "RealtimeStartPage", "RealtimeSysFiles"}) setOption(name, 0);
  loadMonitorOptions(state_);
  approveCurrentStartup();
  const std::string program = testutil::testDir() + "\\ver_plain.dll";
  testutil::setString(HKEY_CURRENT_USER, kUserRun, "ForcedWidget", program);

  // Not due yet: the pass leaves the new entry alone.
  ASSERT_EQ(runPatrolPass(state_), 1);
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(program)), "<none>");
  ASSERT_EQ(state_.patrol.nextGroup(), PatrolGroup::B);
  Sleep(1100);                // passes are at least a second apart

  state_.lastRunningCount = -1;
  checkTaskChanges(state_);
  const std::string caption =
      playing([&] { EXPECT_EQ(runPatrolPass(state_), 1); }, [](HWND dialog) { driver::pressButton(dialog, IDYES); });
  EXPECT_EQ(caption, "Tavrin New Program Alert");
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(program)), "11");
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Startup), 9) << "reloaded after it ran";
}

// A Run entry of the current user moved to Delayed Start, which its program
// then writes back into the Run key.
class ReturningProgram : public Patrol {
 protected:
  void SetUp() override {
    Patrol::SetUp();
    approveCurrentStartup();
    program_ = testutil::testDir() + "\\ver_plain.dll";
    command_ = "\"" + program_ + "\" /tray";
    testutil::setString(HKEY_CURRENT_USER, kUserRun, "Widget", command_);
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    int index = -1;
    for (int i = 0; i < list.count(); ++i)
      if (list.name(i) == "Widget") index = i;
    ASSERT_GE(index, 0);
    ASSERT_EQ(moveToDelayed("Widget", list.programPath(index), list.key(index), list.typeCode(index),
                            list.flag(index), DelayQuestions{}),
              1);
    ASSERT_EQ(readText(HKEY_CURRENT_USER, kUserRun, "Widget"), "<none>");
    approvalKey_ = startupKeyOf(list.programPath(index));
    ASSERT_EQ(readText(HKEY_CURRENT_USER, kApprovedStartupKey, approvalKey_), "1103");
    ASSERT_NE(readText(HKEY_CURRENT_USER, kDelayKey, program_), "<none>") << "listed by its program file";
    testutil::setString(HKEY_CURRENT_USER, kUserRun, "Widget", command_);  // back it comes
  }

  std::string returned(int button) {
    return playing([&] { checkStartupPrograms(state_); }, [button](HWND dialog) { driver::pressButton(dialog, button); });
  }

  std::string program_, command_, approvalKey_;
};

TEST_F(ReturningProgram, MovingItBackApprovesItAndTakesItOffTheDelayedList) {
  EXPECT_EQ(returned(IDYES), "This Program doesn't want to be Delayed");
  EXPECT_FALSE(state_.alertShowing);
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kApprovedStartupKey, approvalKey_), "11");
  for (const char* key : {kDelayKey, kDelayTime, kDelayTitle, kDelayParameters, kDelayShortcuts})
    EXPECT_EQ(readText(HKEY_CURRENT_USER, key, program_), "<none>") << key;
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kUserRun, "Widget"), command_);
  // Approved now: the next check asks nothing (a question would block here).
  checkStartupPrograms(state_);
}

TEST_F(ReturningProgram, DisablingItKeepsItDelayedAndOutOfStartup) {
  EXPECT_EQ(returned(IDNO), "This Program doesn't want to be Delayed");
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kApprovedStartupKey, approvalKey_), "11");
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kUserRun, "Widget"), "<none>");
  EXPECT_EQ(readText(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Widget"), "11");
  const std::string copy = readText(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(11), "Widget");
  EXPECT_NE(copy.find(program_), std::string::npos) << copy;
  EXPECT_NE(copy.find("/tray"), std::string::npos) << copy;
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kDelayKey, program_), "11");
  EXPECT_EQ(readText(HKEY_CURRENT_USER, kDelayTitle, program_), "Widget");
  // The disabled copy is listed but approved: no question on the next check.
  checkStartupPrograms(state_);
}

}  // namespace
