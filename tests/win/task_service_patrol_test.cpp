// The patrol's Scheduled Tasks and Services categories with their alerts,
// run in-process with the Monitor's resources; a second thread plays the user.
#include <gtest/gtest.h>

#include <functional>

#include "base/history_text.h"
#include "inventory/detection_store.h"
#include "inventory/history.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/services.h"
#include "monitor_state.h"
#include "patrol.h"
#include "resource.h"
#include "support/driver.h"
#include "support/monitor_test.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

class TaskServicePatrol : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareMonitorState(state_);
    state_.options.sound = 0;
    CoInitialize(nullptr);
    ASSERT_TRUE(fixtures::startScheduler());
  }
  void TearDown() override { CoUninitialize(); }

  // Runs the check; `user` answers the one alert it shows (none expected when null).
  void patrol(void (*check)(MonitorState&), const std::function<void(HWND)>& user) {
    EXPECT_EQ(driver::dialogsDuring([&] { check(state_); }, user).size(), user ? 1u : 0u);
  }

  MonitorState state_;
  testutil::RegistrySnapshot tasks_{
      HKEY_CURRENT_USER, {kApprovedTasksKey, kApprovedIEHelpersKey, std::string(kDetectedKey) + "\\Tasks"}};
  testutil::RegistrySnapshot services_{HKEY_CURRENT_USER, {kApprovedServicesKey}};
};

}  // namespace

TEST_F(TaskServicePatrol, NewTaskIsApprovedOrDeletedByTheAnswer) {
  // A store without its Tasks marker approves what is there once and is marked.
  ASSERT_TRUE(fixtures::createTask("Probe Kept", "notepad.exe", "", nullptr));
  testutil::deleteTree(HKEY_CURRENT_USER, kApprovedTasksKey);
  initialiseApprovedTasks(state_.entries);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kApprovedTasksKey, ""), "P");
  const std::string notepad = programFileOfCommand("C:\\windows\\system32\\notepad.exe");
  testutil::deleteValue(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\Tasks", notepad);
  ASSERT_TRUE(fixtures::createTask("Probe Asked", "notepad.exe", "", nullptr));
  patrol(checkScheduledTasks, [](HWND alert) {
    EXPECT_EQ(driver::dialogItemText(alert, IDC_NAME_LINE), "Probe Asked");
    Sleep(300);  // let every control paint
    driver::screenshot("alert-new-task");
    driver::pressButton(alert, IDYES);
  });
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kApprovedTasksKey, "Probe Asked.job"), "800");
  EXPECT_NE(firstDetectionDate(notepad, 800), "") << "dated before it was asked about";

  ASSERT_TRUE(fixtures::createTask("Probe Refused", "notepad.exe", "", nullptr));
  patrol(checkScheduledTasks, [](HWND alert) { driver::pressButton(alert, IDNO); });
  EXPECT_EQ(GetFileAttributesA(fixtures::taskFile("Probe Refused").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(isTaskApproved("Probe Refused.job"));

  state_.options.hideAlerts = 2;
  ASSERT_TRUE(fixtures::createTask("Probe Hidden", "notepad.exe", "", nullptr));
  patrol(checkScheduledTasks, nullptr);
  EXPECT_EQ(GetFileAttributesA(fixtures::taskFile("Probe Hidden").c_str()), INVALID_FILE_ATTRIBUTES);
  for (const char* name : {"Probe Kept", "Probe Asked"}) deleteTask(name);
}

TEST_F(TaskServicePatrol, FirstRunApprovesEveryServiceAndARefusedOneEndsDisabled) {
  // A marker written while the list could not be filled yet does not count.
  testutil::deleteTree(HKEY_CURRENT_USER, kApprovedServicesKey);
  testutil::setString(HKEY_CURRENT_USER, kApprovedServicesKey, "", "P");
  initialiseApprovedServices(state_.entries);
  patrol(checkServices, nullptr);

  const std::string program = testutil::testDir() + "\\probe_service.exe";
  fixtures::TestService probe("probesvc", "Probe Sentinel Service", "\"" + program + "\"");
  ASSERT_TRUE(probe.start());
  const std::string before = testutil::readFile(historyPath());
  patrol(checkServices, [](HWND alert) {
    const std::string status = driver::dialogItemText(alert, IDC_SERVICE_STATUS);
    EXPECT_NE(status.find("Startup Status: Manual\nActive Status: Running."), std::string::npos) << status;
    Sleep(300);
    driver::screenshot("alert-new-service");
    driver::pressButton(alert, IDNO);
  });
  EXPECT_EQ(probe.waitForState(SERVICE_STOPPED, 5000), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_EQ(probe.startType(), static_cast<DWORD>(SERVICE_DISABLED));
  EXPECT_TRUE(isServiceApproved("Probe Sentinel Service"));
  std::string actions;
  for (const std::string& line : testutil::lines(testutil::readFile(historyPath()).substr(before.size())))
    actions += parseHistoryLine(line).action + " ";
  EXPECT_EQ(actions, "SERVICE_from_Manual SERVICE_Stop SERVICE_Disabled ");
  patrol(checkServices, nullptr);
}
