// The information dialog as a service's control panel and with a task's
// status, on the real service manager and Task Scheduler; a second thread
// plays the user.
#include <gtest/gtest.h>

#include "base/history_text.h"
#include "info_dialog.h"
#include "inventory/history.h"
#include "resource.h"
#include "support/driver.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// The item's text once it reads `text`, or what it reads after the time passed.
std::string textOnceItIs(HWND dialog, int id, const std::string& text) {
  driver::waitUntil([&] { return driver::dialogItemText(dialog, id) == text; }, 8000);
  return driver::dialogItemText(dialog, id);
}

}  // namespace

TEST(InfoDialog, ServiceStartTypeAppliedAtTheManagerStopRecordedAndTaskStatusShown) {
  CoInitialize(nullptr);
  ASSERT_TRUE(fixtures::startScheduler());
  ASSERT_TRUE(fixtures::createTask("Probe Info", "notepad.exe", "Checks the probe", nullptr));
  const std::string program = testutil::testDir() + "\\probe_service.exe";
  fixtures::TestService probe("probesvc", "Probe Sentinel Service", "\"" + program + "\"");
  ASSERT_TRUE(probe.start());
  ExplorerState state;
  state.instance = GetModuleHandleA(nullptr);
  state.entries.add("Probe Sentinel Service", program, "Manual", "", 700, 0);
  state.entries.add("Probe Info.job", "notepad.exe", "Never", "Never", 800, 0);
  fixtures::registryService("probehost", "svchost.exe -k probe", 3, "%SystemRoot%\\system32\\kernel32.dll");
  state.entries.add("AppInit_DLLs", "C:\\windows\\system32\\kernel32.dll", "", "", 255, 0);
  const std::string before = testutil::readFile(historyPath());

  // Any other dialog is ended and fails the test instead of hanging it.
  const auto dialogs = driver::dialogsDuring([&] { InfoDialog(state, 0).run(nullptr); }, [&](HWND dialog) {
    EXPECT_EQ(driver::dialogItemText(dialog, IDC_INFO_STATUS), "Running");
    EXPECT_EQ(driver::dialogItemText(dialog, IDC_INFO_SIGNER), "(Not signed)");
    EXPECT_TRUE(enabled(dialog, IDC_INFO_STOP));
    EXPECT_FALSE(enabled(dialog, IDC_INFO_APPLY)) << "nothing chosen yet";
    HWND combo = GetDlgItem(dialog, IDC_INFO_START_TYPE);
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_INFO_START_TYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_TRUE(enabled(dialog, IDC_INFO_APPLY));
    driver::pressButton(dialog, IDC_INFO_APPLY);
    EXPECT_TRUE(driver::waitUntil([&] { return !enabled(dialog, IDC_INFO_APPLY); }, 5000));
    EXPECT_EQ(probe.startType(), static_cast<DWORD>(SERVICE_DISABLED));
    driver::pressButton(dialog, IDC_INFO_STOP);
    EXPECT_EQ(textOnceItIs(dialog, IDC_INFO_STATUS, "Stopped"), "Stopped");
    EXPECT_FALSE(enabled(dialog, IDC_INFO_STOP)) << "a stopped service accepts no stop";
    driver::screenshot("info-service");
    driver::pressButton(dialog, IDC_INFO_NEXT);
    const std::string task = "Status: Not Scheduled\r\nChecks the probe";  // it has no trigger
    EXPECT_EQ(textOnceItIs(dialog, IDC_INFO_NOTE, task), task);
    driver::screenshot("info-task");
    driver::pressButton(dialog, IDC_INFO_NEXT);
    EXPECT_EQ(textOnceItIs(dialog, IDC_INFO_NOTE, "About probehost"), "About probehost") << "its service's";
    driver::pressButton(dialog, IDC_INFO_NEXT);
    EXPECT_EQ(textOnceItIs(dialog, IDC_INFO_STATUS, "Stopped"), "Stopped") << "after the last entry comes the first";
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2) << "the applied start type is the entry's now";
    driver::pressButton(dialog, IDOK);
  });
  EXPECT_EQ(dialogs.size(), 1u);

  std::string actions;
  for (const std::string& line : testutil::lines(testutil::readFile(historyPath()).substr(before.size())))
    actions += parseHistoryLine(line).action + " ";
  EXPECT_EQ(actions, "SERVICE_from_Manual SERVICE_Disabled SERVICE_Stop ");
  DeleteFileA(fixtures::taskFile("Probe Info").c_str());
  testutil::deleteTree(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\probehost");
  CoUninitialize();
}
