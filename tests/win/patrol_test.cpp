// The patrol in-process with the Monitor's own resources, against the prefix's
// registry: the task-change check and its forcing, the answers of the startup
// category, and the user's own changes it must leave alone. A second thread
// answers the dialogs; one that nobody expected fails the test.
#include <gtest/gtest.h>

#include "base/entry_tables.h"
#include "checks.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/startup_actions.h"
#include "inventory/startup_enum.h"
#include "monitor_state.h"
#include "monitor_window.h"
#include "support/monitor_test.h"
#include "patrol.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;
using testutil::valueOf;

namespace {

const char* const kUserRun = kRunKeyPaths[0];
const char* const kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char* const kUserShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kAlert = "Tavrin New Program Alert";
using Captions = std::vector<std::string>;

std::vector<std::string> delayKeys() {
  std::vector<std::string> keys{kDelayKey};
  for (const char* sub : {"Time", "Title", "Shortcuts", "Parameters", "Applet"})
    keys.push_back(std::string(kDelayKey) + "\\" + sub);
  return keys;
}

void setOption(const char* name, int value) {
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
}

void press(HWND dialog, int button) { driver::pressButton(dialog, button); }
void yes(HWND dialog) { press(dialog, IDYES); }

// The index of the entry listed under that name; -1 when there is none.
int indexOf(const EntryList& list, const std::string& name) {
  for (int i = 0; i < list.count(); ++i)
    if (list.name(i) == name) return i;
  return -1;
}

class Patrol : public ::testing::Test {
 protected:
  void SetUp() override {
    options_.clearValues();
    setOption("HideBramble", 1);  // no tray icon in a test
    // Only the startup category may run in a group-A pass here.
    for (const char* name : {"IEHelpers", "Hidden", "HostFile", "StartPage", "FileType"}) setOption(name, 0);
    prepareMonitorState(state_);
    CoInitialize(nullptr);
    // Everything the machine already starts is approved: only what a test adds is new.
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    for (int i = 0; i < list.count(); ++i) approveStartup(list.programPath(i), list.typeCode(i));
  }
  void TearDown() override { CoUninitialize(); }

  // One run of the startup category; the captions of the dialogs it showed.
  Captions startupCheck(const std::function<void(HWND)>& answer = nullptr) {
    return driver::dialogsDuring([&] { checkStartupPrograms(state_); }, answer);
  }

  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptionsKey}};
  testutil::RegistrySnapshot approved_{HKEY_CURRENT_USER, {kApprovedStartupKey}};
  testutil::RegistrySnapshot run_{HKEY_CURRENT_USER, {kUserRun, kShellFoldersKey, kUserShellFoldersKey}};
  testutil::RegistrySnapshot delay_{HKEY_CURRENT_USER, delayKeys()};
  testutil::RegistrySnapshot detected_{HKEY_CURRENT_USER, {std::string(kDetectedKey) + "\\Startup"}};
  testutil::RegistrySnapshot machine_{HKEY_LOCAL_MACHINE,
                                      {kDisabledMarkerKey, disabledCopyKeyOf(11), kWinlogon, kShellExecuteHooksKey}};
  MonitorState state_;
};

TEST_F(Patrol, UpdateMarkReloadsTheOptionsOnlyWhenTheTaskCountChanged) {
  setOption("Start", 2);
  loadMonitorOptions(state_);
  const int running = checkTaskChanges(state_);  // the count to compare with
  ASSERT_GT(running, 0);
  // The Explorer saved new patrol times and marked them.
  setOption("Start", 5);
  setOption("Tasks", 4);
  setOption("Update", 1);
  checkTaskChanges(state_);
  EXPECT_EQ(state_.options.patrol.start, 2) << "an unchanged count leaves the mark for later";
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kOptionsKey, "Update"), "1");

  state_.lastRunningCount = running + 1;  // a program came or went
  checkTaskChanges(state_);
  EXPECT_EQ(state_.patrol.reloadValue(PatrolCategory::Startup), 5);
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Tasks), 4);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kOptionsKey, "Update"), "0");

  // Without the mark a change leaves the loaded options alone.
  setOption("Start", 7);
  state_.lastRunningCount = -1;
  checkTaskChanges(state_);
  EXPECT_EQ(state_.patrol.reloadValue(PatrolCategory::Startup), 5);
}

TEST_F(Patrol, AChangedTaskCountRunsTheRealtimeStartupCheckOnTheNextTick) {
  setOption("Start", 9);
  setOption("FileType", 9);
  setOption("RealtimeStartup", 1);
  setOption("RealtimeFileType", 0);
  for (const char* name : {"RealtimeIEHelper", "RealtimeStartPage", "RealtimeSysFiles"}) setOption(name, 0);
  checkTaskChanges(state_);  // the count to compare with
  loadMonitorOptions(state_);
  const std::string program = testutil::testDir() + "\\ver_plain.dll";
  testutil::setString(HKEY_CURRENT_USER, kUserRun, "ForcedWidget", program);
  // Not due yet: the pass leaves the new entry alone.
  EXPECT_EQ(driver::dialogsDuring([&] { EXPECT_EQ(runPatrolPass(state_), 1); }), Captions{});
  ASSERT_EQ(state_.patrol.nextGroup(), PatrolGroup::B);
  Sleep(1100);  // passes are at least a second apart

  state_.schedule = TickSchedule{};
  state_.lastRunningCount = -1;
  checkTaskChanges(state_);
  EXPECT_GT(state_.patrol.countdown(PatrolCategory::FileTypes), 1) << "not a real-time category";
  EXPECT_TRUE(state_.schedule.passStep()) << "the next tick runs a pass";
  EXPECT_EQ(driver::dialogsDuring([&] { EXPECT_EQ(runPatrolPass(state_), 1); }, yes), Captions{kAlert});
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, program), "11");
  EXPECT_EQ(state_.patrol.countdown(PatrolCategory::Startup), 9) << "reloaded after it ran";
}

TEST_F(Patrol, ProgramsTheUserAddedDisabledOrBroughtBackFromDelayedStartRaiseNoAlert) {
  const std::string fixture = testutil::testDir() + "\\ver_plain.dll";
  const std::string startup = testutil::freshFolder("patrol-startup");
  for (const char* key : {kShellFoldersKey, kUserShellFoldersKey})
    testutil::setString(HKEY_CURRENT_USER, key, "Startup", startup);
  const std::string added = testutil::freshFolder("patrol-added") + "\\Added Program.exe";
  ASSERT_TRUE(CopyFileA(fixture.c_str(), added.c_str(), FALSE));
  const std::string inFolder = startup + "\\helper.exe";  // the program itself, not a shortcut
  const struct {
    const char* kind;
    std::function<void()> add, drop;
  } kinds[] = {
      {"Add", [&] { ASSERT_EQ(addStartupProgram(added), 1); },
       [&] { testutil::deleteValue(HKEY_CURRENT_USER, kUserRun, "Widget helper"); }},
      {"Startup folder",
       [&] {
         ASSERT_TRUE(CopyFileA(fixture.c_str(), inFolder.c_str(), FALSE));
         approveStartup(inFolder, typecode::kStartupFolder);  // as the user's Yes would
       },
       [&] { DeleteFileA(inFolder.c_str()); }},
  };
  const struct {
    const char* way;
    std::function<int(const EntryList&, int)> back;
  } ways[] = {
      {"restore", restoreDelayed},
      {"remove, put back", [](const EntryList& list, int i) { return removeFromDelayed(list, i, true); }},
      {"restore all", [](const EntryList&, int) { return restoreAllDelayed(); }},
  };
  auto act = [](const char* what, const std::function<int(const EntryList&, int)>& action) {
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    const int entry = indexOf(list, "Widget helper");
    ASSERT_GE(entry, 0) << what;
    EXPECT_EQ(action(list, entry), 1) << what;
  };
  auto toggle = [](const EntryList& l, int i) { return toggleStartupEntry(l.entry(i)); };
  auto delay = [](const EntryList& l, int i) {
    return moveToDelayed(l.name(i), l.programPath(i), l.key(i), l.typeCode(i), l.flag(i), DelayQuestions{});
  };
  for (const auto& kind : kinds) {
    kind.add();
    EXPECT_EQ(startupCheck(), Captions{}) << kind.kind;
    act("disable", toggle);
    EXPECT_EQ(startupCheck(), Captions{}) << kind.kind << ": disabled";
    act("enable", toggle);
    for (const auto& way : ways) {
      act(way.way, delay);
      EXPECT_EQ(startupCheck(), Captions{}) << kind.kind << ", " << way.way << ": delayed";
      EntryList list("Tavrin", 315);
      enumerateDelayed(list);
      ASSERT_EQ(list.count(), 1);
      EXPECT_EQ(way.back(list, 0), 1) << way.way;
      EXPECT_EQ(startupCheck(), Captions{}) << kind.kind << ", " << way.way << ": back";
    }
    EXPECT_EQ(testutil::readFile(inFolder), kind.kind == kinds[1].kind ? testutil::readFile(fixture) : "")
        << "the same file back, not a shortcut";
    kind.drop();
  }
}

TEST_F(Patrol, AboveOneHideAlertsRefusesForOnePassAndOnlyAKeyLocationIsAskedFor) {
  testutil::setString(HKEY_CURRENT_USER, kUserRun, "Refused", "c:\\refused\\refused.exe");
  const char* const hook = "{1B5D4C2A-0000-4000-8000-00000000B254}";
  testutil::setString(HKEY_LOCAL_MACHINE, kShellExecuteHooksKey, hook, "Hook");
  state_.className = "TavrinPatrolTest";
  ASSERT_TRUE(registerMonitorClass(state_));
  ASSERT_NE(createMonitorWindow(state_), nullptr);
  setOption("Start", 1);
  loadMonitorOptions(state_);
  state_.options.hideAlerts = 2;  // as after a third alert answered No
  HWND focus = nullptr, no = nullptr, owner = nullptr;
  HICON icon = nullptr;
  const Captions shown = driver::dialogsDuring(
      [&] {
        for (int tick = 0; tick < 17; ++tick) SendMessageA(state_.window, WM_TIMER, 1, 0);
      },
      [&](HWND box) {
        focus = driver::focusOf(box);  // Enter answers what has the focus
        no = GetDlgItem(box, IDNO);
        owner = GetWindow(box, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));  // the box's icon
        press(box, IDNO);
      });
  EXPECT_EQ(shown, Captions{"Tavrin"}) << "only the question before the hook goes";
  EXPECT_EQ(focus, no);
  EXPECT_EQ(owner, state_.window);
  EXPECT_EQ(icon, LoadIcon(nullptr, IDI_HAND)) << "the stop icon";
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kUserRun, "Refused"), "<missing>");
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kShellExecuteHooksKey, hook), "Hook");
  EXPECT_EQ(state_.options.hideAlerts, 0) << "the refusal lasts one pass";
  SetWindowLongPtrA(state_.window, GWLP_USERDATA, 0);  // the state goes with the test
  DestroyWindow(state_.window);
}

TEST_F(Patrol, TheInstallerCleanupEntryEndsTheWalkOfThatPass) {
  for (const char* name : {"Alpha", "McAfee Application Installer Cleanup", "Zulu"})
    testutil::setString(HKEY_CURRENT_USER, kUserRun, name, std::string("c:\\walk\\") + name[0] + ".exe");
  EXPECT_EQ(startupCheck(yes), Captions{kAlert});
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, "c:\\walk\\Z.exe"), "<missing>");
  testutil::deleteValue(HKEY_CURRENT_USER, kUserRun, "McAfee Application Installer Cleanup");
  EXPECT_EQ(startupCheck(yes), Captions{kAlert});
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, "c:\\walk\\Z.exe"), "11");
}

TEST_F(Patrol, AThirdAlertForOneProgramStopsItAndDisablesIt) {
  const std::string program = testutil::freshFolder("patrol-repeat") + "\\resident.exe";
  ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\startup_worker.exe").c_str(), program.c_str(), FALSE));
  driver::Process resident = driver::start(program, "wait 60");
  testutil::setString(HKEY_CURRENT_USER, kUserRun, "Resident", program);
  for (int alert = 0; alert < 2; ++alert) state_.repeats.noteAlert(program);
  EXPECT_EQ(startupCheck(yes), Captions{kAlert});
  EXPECT_TRUE(resident.waitExit(5000));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kUserRun, "Resident"), "<missing>");
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Resident"), "11");
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, program), "<missing>");
}

TEST_F(Patrol, AShellOfAnyLengthIsAlerted) {
  testutil::setString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", "Explorer.exe c:\\" + std::string(5000, 's') + ".exe");
  EXPECT_EQ(startupCheck(yes), Captions{kAlert});
}

// A Run entry of the current user moved to Delayed Start, which its program
// then writes back into the Run key: Yes moves it back, No keeps it delayed and disabled.
TEST_F(Patrol, AProgramBackFromDelayedStartIsMovedBackOrDisabledByTheAnswer) {
  const std::string program = testutil::testDir() + "\\ver_plain.dll", command = "\"" + program + "\" /tray";
  for (int answer : {IDYES, IDNO}) {
    testutil::setString(HKEY_CURRENT_USER, kUserRun, "Widget", command);
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    const int index = indexOf(list, "Widget");
    ASSERT_GE(index, 0);
    ASSERT_EQ(moveToDelayed("Widget", list.programPath(index), list.key(index), list.typeCode(index),
                            list.flag(index), DelayQuestions{}),
              1);
    const std::string approvalKey = list.programPath(index);
    ASSERT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, approvalKey), "1103");
    testutil::setString(HKEY_CURRENT_USER, kUserRun, "Widget", command);  // back it comes
    EXPECT_EQ(startupCheck([&](HWND dialog) { press(dialog, answer); }),
              Captions{"This Program doesn't want to be Delayed"});
    EXPECT_FALSE(state_.alertShowing);
    EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedStartupKey, approvalKey), "11");
    if (answer == IDYES) {
      for (const std::string& key : delayKeys()) EXPECT_EQ(valueOf(HKEY_CURRENT_USER, key, program), "<missing>") << key;
      EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kUserRun, "Widget"), command);
    } else {
      EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kUserRun, "Widget"), "<missing>");
      EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(11), "Widget"), command);
      EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kDelayKey, program), "11") << "listed by its program file";
    }
    EXPECT_EQ(startupCheck(), Captions{}) << "answered once: " << answer;
  }
}

}  // namespace
