// The road of one event through the real Monitor: a program writes itself into
// the current user's Run key, the patrol alerts, the answer takes effect.
#include "support/programs_test.h"

#include <algorithm>

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kApproved = "Software\\Quennet\\Tavrin\\Run";
constexpr const char* kValueName = "ProbeUpdater";
constexpr const char* kAlertCaption = "Tavrin New Program Alert";

class Patrol : public ProgramsTest {
 protected:
  void SetUp() override {
    ProgramsTest::SetUp();
    // One pass of group A runs the startup check; the watcher forces that pass
    // as soon as the Run key changes, so no test waits for the timer's 34 s.
    setOption("Start", "1");
    setOption("RealtimeStartup", "1");
    // Outside the temp folder the fixtures use: a path holding the product's
    // name is never written to the history, and this one must be.
    folder_ = "C:\\ProbeE2E";
    CreateDirectoryA(folder_.c_str(), nullptr);
    probe_ = folder_ + "\\probe_updater.exe";
    // An approval left by an interrupted run would hide the alert.
    testutil::deleteValue(HKEY_CURRENT_USER, kApproved, probe_);
    testutil::deleteValue(HKEY_CURRENT_USER, kApproved, kValueName);
    ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\startup_probe.exe").c_str(), probe_.c_str(), FALSE));
  }
  void TearDown() override {
    testutil::deleteValue(HKEY_CURRENT_USER, kRunKey, kValueName);
    if (!shownPath_.empty()) testutil::deleteValue(HKEY_CURRENT_USER, kApproved, shownPath_);
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "Start");
    driver::killAll("probe_updater.exe");
    ProgramsTest::TearDown();
  }

  // Starts the Monitor, then installs the probe in the Run key and waits for
  // its alert. Alerts for anything else left unapproved are approved on the way.
  HWND raiseAlert() {
    if (!startMonitor()) return nullptr;
    testutil::setString(HKEY_CURRENT_USER, kRunKey, kValueName, "\"" + probe_ + "\"");
    // Usually the watcher's check-now forces the pass within seconds; without
    // it the next group-A pass comes at the latest three passes later.
    const DWORD kLongestWait = 110000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kLongestWait) {
      HWND alert = driver::waitForShownWindow("#32770", kAlertCaption, kLongestWait - (GetTickCount() - start));
      if (!alert) return nullptr;
      const std::string path = driver::dialogItemText(alert, 1026);
      // Never answer an alert whose program could not be read: it may be the probe's.
      if (path.empty()) {
        Sleep(100);
        continue;
      }
      if (path.find("PROBE_UPDATER") != std::string::npos || path.find("probe_updater") != std::string::npos) {
        shownPath_ = path;
        return alert;
      }
      driver::pressAndClose(alert, IDYES, 5000);
    }
    return nullptr;
  }

  bool approvedAs(const std::string& data) { return testutil::valueOf(HKEY_CURRENT_USER, kApproved, shownPath_) == data; }

  std::string folder_, probe_, shownPath_;
};

std::string historyText() { return testutil::readFile(testutil::programDir() + "\\history.txt"); }

}  // namespace

TEST_F(Patrol, NewRunValueIsAlertedAndYesApprovesIt) {
  HWND alert = raiseAlert();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(driver::windowText(alert), kAlertCaption);
  EXPECT_EQ(driver::dialogItemText(alert, 100), "Probe Updater");
  EXPECT_EQ(driver::dialogItemText(alert, 1029), "3.1.4.1");
  EXPECT_EQ(driver::dialogItemText(alert, 1030), "Acme Tools");
  EXPECT_EQ(driver::dialogItemText(alert, 1031), "Probe update helper");
  EXPECT_EQ(driver::dialogItemText(alert, 1097), "Version");
  EXPECT_NE(driver::dialogItemText(alert, 1036).find("This program will run each time you login or restart"),
            std::string::npos);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(alert, 1014)));
  driver::screenshot("alert-new-startup-program");
  // The alert is recorded in the history as it opens.
  EXPECT_NE(historyText().find("START_Alert"), std::string::npos);
  driver::pressButton(alert, IDYES);
  ASSERT_TRUE(driver::waitUntil([&] { return approvedAs("11"); }, 5000));
  EXPECT_NE(testutil::valueOf(HKEY_CURRENT_USER, kRunKey, kValueName), "<missing>");
  // Its first detection was dated under the startup category.
  const auto dated = testutil::valueNames(HKEY_CURRENT_USER, "Software\\Quennet\\Detected\\Startup");
  EXPECT_TRUE(std::any_of(dated.begin(), dated.end(), [](std::string name) {
    return CharUpperA(&name[0]) && name.find("PROBE_UPDATER.EXE") != std::string::npos;
  }));
}

TEST_F(Patrol, NoStopsTheProgramRemovesItsValueAndLogsTheRemoval) {
  driver::Process running = driver::start(probe_);
  ASSERT_TRUE(running);
  HWND alert = raiseAlert();
  ASSERT_NE(alert, nullptr);
  const std::size_t historyBefore = historyText().size();
  driver::pressButton(alert, IDNO);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kRunKey, kValueName, "<missing>"));
  EXPECT_TRUE(running.waitExit(5000));
  EXPECT_FALSE(approvedAs("11"));
  // The record follows the removal.
  EXPECT_TRUE(driver::waitUntil(
      [&] { return historyText().find("\t*START_Remove\tCURRENT_RUN\t", historyBefore) != std::string::npos; }, 5000))
      << historyText().substr(historyBefore);
}

// Browser add-ons, served by a fixture library and seeded once the Monitor
// runs (so that its first run does not approve them). A changed number of
// running programs with a check-now request makes the next tick patrol.
class AddOnPatrol : public Patrol {
 protected:
  void TearDown() override {
    for (const char* id : {"e1", "e2"}) {
      testutil::deleteTree(HKEY_LOCAL_MACHINE, helperKey(id));
      testutil::deleteTree(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\CLSID\\") + classId(id));
    }
    testutil::deleteValue(HKEY_CURRENT_USER, kApprovedAddOns, "Probe Toolbar");
    for (const char* name : {"IEHelpers", "RealtimeIEHelper", "HideAlerts"})
      testutil::deleteValue(HKEY_CURRENT_USER, kOptions, name);
    Patrol::TearDown();
  }
  static std::string classId(const char* id) { return std::string("{5eed0001-7a1e-4b0e-9c11-0000000000") + id + "}"; }
  static std::string helperKey(const char* id) {
    return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\" + classId(id);
  }
  std::string seed(const char* id, const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string server = folder + "\\addon.dll";
    CopyFileA((testutil::testDir() + "\\..\\win\\addon_probe.dll").c_str(), server.c_str(), FALSE);
    testutil::setString(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\" + classId(id) + "\\InprocServer32", "", server);
    testutil::setString(HKEY_LOCAL_MACHINE, helperKey(id), "", "");
    return server;
  }
  bool registered(const char* id) { return testutil::valueOf(HKEY_LOCAL_MACHINE, helperKey(id), "") != "<missing>"; }
  template <typename Change>
  bool forcedPass(HWND window, Change changeRunningPrograms) {
    const std::size_t before = traceText().size();
    changeRunningPrograms();
    PostMessageA(window, 9024, 0, 0);
    return driver::waitUntil([&] { return traceText().find("VERIFY: IE Helpers", before) != std::string::npos; }, 15000);
  }
  static constexpr const char* kApprovedAddOns = "Software\\Quennet\\Tavrin\\IEHelpers";
};

TEST_F(AddOnPatrol, HiddenAlertsRemoveByTheRealPathThenYesApprovesByName) {
  setOption("Start", "0");
  setOption("RealtimeStartup", "0");
  setOption("IEHelpers", "1");
  setOption("RealtimeIEHelper", "1");
  setOption("HideAlerts", "2");
  HWND window = startMonitor();
  ASSERT_NE(window, nullptr);
  const std::string equals = seed("e1", folder_ + "\\a=b");
  PostMessageA(window, 9024, 0, 0);
  ASSERT_TRUE(driver::waitUntil([&] { return !registered("e1"); }, 15000)) << "removed within one pass";
  EXPECT_TRUE(driver::waitUntil(
      [&] { return historyText().find("IEHELPER_Remove\tTYPE_BHO\taddon.dll\t" + equals) != std::string::npos; }, 5000));

  // Alerts are on again for the next pass, which asks about the new one only.
  seed("e2", folder_ + "\\addon");
  driver::Process extra;
  ASSERT_TRUE(forcedPass(window, [&] { extra = driver::start(probe_); }));
  HWND alert = driver::waitForShownWindow("#32770", kAlertCaption, 10000);
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(driver::dialogItemText(alert, 100), "Probe Toolbar");
  EXPECT_NE(driver::dialogItemText(alert, 1036).find("new Internet Explorer Add-On"), std::string::npos);
  driver::screenshot("alert-new-ie-helper");
  driver::pressButton(alert, IDYES);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kApprovedAddOns, "Probe Toolbar", "900"));
  // Approved under the name the check looks up: the next pass asks nothing.
  ASSERT_TRUE(forcedPass(window, [&] { driver::killAll("probe_updater.exe"); }));
  EXPECT_EQ(driver::waitForShownWindow("#32770", kAlertCaption, 3000), nullptr);
  EXPECT_TRUE(registered("e2"));
}
