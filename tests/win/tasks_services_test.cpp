// The task and service inventories on the prefix's real Task Scheduler and
// service manager, with tasks and a service of our own.
#include <gtest/gtest.h>

#include "base/task_service_text.h"
#include "base/text.h"
#include "inventory/history.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/service_control.h"
#include "inventory/services.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"
#include "sys/task_scheduler.h"

using namespace tavrin;

namespace {

int indexOf(const EntryList& list, const std::string& name) {
  for (int i = 0; i < list.count(); ++i)
    if (list.name(i) == name) return i;
  return -1;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string historyAdded(const std::string& before) { return testutil::readFile(historyPath()).substr(before.size()); }

}  // namespace

TEST(Tasks, ListedWithRunTimesStatusAndCommentAndRemovedByName) {
  CoInitialize(nullptr);
  ASSERT_TRUE(fixtures::startScheduler());
  const SYSTEMTIME at{2030, 3, 0, 3, 13, 7, 0, 0};
  ASSERT_TRUE(fixtures::createTask("Probe Task", "notepad.exe", "A probe comment", &at));
  ASSERT_TRUE(fixtures::createTask("Probe Bare", "notepad.exe", "", nullptr));
  EntryList list("Tavrin", 315);
  enumerateTasks(list);
  const int task = indexOf(list, "Probe Task.job");
  ASSERT_GE(task, 0);
  ASSERT_GE(indexOf(list, "Probe Bare.job"), 0);
  EXPECT_NE(list.programPath(task).find("notepad.exe"), std::string::npos) << list.programPath(task);
  EXPECT_EQ(list.key(task) + "|" + list.detail(task), "03/03/2030  1:07 PM|Never");
  EXPECT_EQ(list.key(indexOf(list, "Probe Bare.job")), "Never");
  EXPECT_EQ(taskDetailText("Probe Task.job"), "Status: Ready\r\nA probe comment");
  EXPECT_EQ(taskNextRunText("Probe Task"), "03/03/2030  1:07 PM") << "found without its ending too";

  // A name the code page cannot hold is read and deleted by the scheduler's own wide name.
  ASSERT_TRUE(fixtures::createTask(L"Probe \u0416", "notepad.exe", "", nullptr));
  const std::string lossy = tasks::narrow(L"Probe \u0416.job");
  enumerateTasks(list);
  ASSERT_GE(indexOf(list, lossy), 0);
  EXPECT_EQ(deleteTask(lossy), S_OK);
  EXPECT_FALSE(taskExists(lossy));

  EXPECT_EQ(deleteTask("No Such Task"), S_OK);
  EXPECT_TRUE(fileExists(fixtures::taskFile("Probe Bare")));
  EXPECT_EQ(deleteTask("Probe Bare.job"), S_OK);
  EXPECT_FALSE(fileExists(fixtures::taskFile("Probe Bare")));
  approveTask("Probe Task.job");
  SetFileAttributesA(fixtures::taskFile("Probe Task").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(removeScheduledTask("Probe Task.job"), S_OK);
  EXPECT_TRUE(isTaskApproved("Probe Task.job")) << "the task is still there";
  SetFileAttributesA(fixtures::taskFile("Probe Task").c_str(), FILE_ATTRIBUTE_NORMAL);
  // The page's Remove, its question and the approval going with the task: the inventory pages' end-to-end test.
  EXPECT_EQ(deleteTask("Probe Task.job"), S_OK);
  CoUninitialize();
}

class Services : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(probe_.start()); }
  const std::string display_ = "Probe Sentinel Service";
  const std::string program_ = testutil::testDir() + "\\probe_service.exe";
  fixtures::TestService probe_{"probesvc", display_, "\"" + program_ + "\""};
};

TEST_F(Services, ListedWithProgramsStartTextsAndStateAndFailedActionsRecordNothing) {
  fixtures::registryService("probehost", "%SystemRoot%\\system32\\svchost.exe -k probe", 3,
                            "%SystemRoot%\\system32\\kernel32.dll");
  fixtures::registryService("probebare", "C:\\windows\\system32\\svchost.exe -k probe", 1, "");
  EntryList list("Tavrin", 315);
  enumerateServices(list, false);
  const int probe = indexOf(list, display_), host = indexOf(list, "Display of probehost");
  const int bare = indexOf(list, "Display of probebare");
  ASSERT_TRUE(probe >= 0 && host >= 0 && bare >= 0);
  EXPECT_TRUE(equalsNoCase(list.programPath(probe), program_)) << list.programPath(probe);
  EXPECT_EQ(list.key(probe) + "|" + std::to_string(list.typeCode(probe)), "Manual|700");
  EXPECT_TRUE(equalsNoCase(list.programPath(host), "C:\\windows\\system32\\kernel32.dll")) << list.programPath(host);
  EXPECT_EQ(list.detail(host) + "|" + std::to_string(list.typeCode(host)), "About probehost|701");
  EXPECT_EQ(list.programPath(bare) + "|" + list.key(bare), "C:\\windows\\system32\\svchost.exe -k probe|0");
  EXPECT_LT(indexOf(list, "Mount Manager"), 0) << "Wine's own driver";

  // Hiding Microsoft's services: the signer test and the Services page's end-to-end test.
  std::string text;
  EXPECT_GT(serviceDescriptionForProgram("C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL", text), 0);
  EXPECT_EQ(text, "About probehost");
  EXPECT_EQ(stateOfPacked(serviceRunStateText(display_, text)), static_cast<unsigned>(SERVICE_RUNNING));
  EXPECT_EQ(text, "Running");
  EXPECT_NE(serviceAcceptedControls(display_), 0u);
  for (const char* key : {"probehost", "probebare"})
    testutil::deleteTree(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Services\\") + key);
  // What succeeds is the information dialog's test; what fails records nothing.
  const std::string before = testutil::readFile(historyPath());
  EXPECT_EQ(applyServiceStartChoice("No Such Service", "", 700, 0), 0);
  ASSERT_EQ(stopServiceRecorded(display_, program_, 700), 1);
  EXPECT_EQ(probe_.waitForState(SERVICE_STOPPED, 5000), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_EQ(serviceAcceptedControls(display_), 0u);
  EXPECT_EQ(stopServiceRecorded(display_, program_, 700), 0) << "a stopped service refuses the stop";
  EXPECT_EQ(testutil::lines(historyAdded(before)).size(), 1u);

  // A service that takes its time to stop reads as pending, not as stopped.
  ASSERT_TRUE(probe_.start("slow"));
  EXPECT_EQ(controlService(display_, SERVICE_CONTROL_STOP), 1);
  std::string state;
  serviceRunStateText(display_, state);
  EXPECT_EQ(state, "Pending Stop");
}
