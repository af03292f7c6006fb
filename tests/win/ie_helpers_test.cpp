// Browser add-ons on a seeded machine: the list, the store, the removal with
// its undo and the report lists, against the prefix's registry with a fixture
// server that notes who registers it. The Monitor's check runs end to end.
#include <gtest/gtest.h>

#include "base/entry_tables.h"
#include "base/ie_helper_rules.h"
#include "inventory/date_text.h"
#include "inventory/detection_store.h"
#include "inventory/history.h"
#include "inventory/ie_helper_logs.h"
#include "inventory/ie_helpers.h"
#include "inventory/program_file.h"
#include "support/driver.h"
#include "support/win_test_util.h"
#include "sys/registry.h"

using namespace tavrin;

namespace {

const char* const kProbeClass = "{5eed0001-7a1e-4b0e-9c11-000000000001}";
const char* const kTwinClass = "{5eed0001-7a1e-4b0e-9c11-000000000002}";
const char* const kDeadClass = "{5eed0001-7a1e-4b0e-9c11-000000000003}";
const char* const kNotes = "Software\\TavrinTest\\AddOnProbe";
const std::string kClasses = "Software\\Classes\\CLSID\\";
const std::string kDomains = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\Domains";

void setMachine(const std::string& key, const std::string& name, const std::string& value) {
  testutil::setString(HKEY_LOCAL_MACHINE, key, name, value);
}

void registerHelper(const char* classId, const std::string& server) {
  setMachine(kClasses + classId, "", std::string("Class ") + classId);
  if (!server.empty()) setMachine(kClasses + classId + "\\InprocServer32", "", server);
  setMachine(std::string(kBrowserHelperObjectsKey) + "\\" + classId, "", "");
}

std::string note(const std::string& server) {
  std::string data;
  DWORD type = 0;
  return testutil::rawValue(HKEY_CURRENT_USER, kNotes, server, data, type) ? std::string(data.c_str()) : "";
}

// The note, then the end of regsvr32, so that none outlives the test.
bool noted(const std::string& server, const char* what) {
  return driver::waitUntil([&] { return note(server) == what; }, 10000) &&
         driver::waitUntil([] { return driver::processesNamed("regsvr32.exe").empty(); }, 10000);
}

std::string row(const EntryList& list, int i) {
  return list.name(i) + "|" + list.programPath(i) + "|" + std::to_string(list.typeCode(i)) + "|" + list.detail(i);
}

int indexOfKey(const EntryList& list, const std::string& key) {
  for (int i = 0; i < list.count(); ++i)
    if (list.key(i) == key) return i;
  return -1;
}

class AddOns : public ::testing::Test {
 protected:
  void SetUp() override {
    clean();
    CreateDirectoryA("C:\\Program Files\\IE Probe", nullptr);
    server_ = "C:\\Program Files\\IE Probe\\probe.dll";
    ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\addon_probe.dll").c_str(), server_.c_str(), FALSE));
  }
  void TearDown() override { clean(); }
  static void clean() {
    for (const char* key : {kBrowserHelperObjectsKey, kToolbarKey, kExtensionsKey})
      testutil::deleteTree(HKEY_LOCAL_MACHINE, key);
    for (const char* id : {kProbeClass, kTwinClass, kDeadClass})
      testutil::deleteTree(HKEY_LOCAL_MACHINE, kClasses + id);
    testutil::deleteTree(HKEY_CURRENT_USER, kNotes);
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      testutil::deleteTree(root, kDomains + "\\probe.test");
      testutil::deleteTree(root, kExtensionsKey);
    }
  }
  static std::string historyText() { return testutil::readFile(testutil::testDir() + "\\history.txt"); }

  std::string server_;
  testutil::RegistrySnapshot approved_{HKEY_CURRENT_USER, {kApprovedIEHelpersKey, "Software\\Quennet\\Tavrin\\Tasks"}};
};

TEST_F(AddOns, ThreeKindsAreListedDatedAndApprovedOnce) {
  registerHelper(kProbeClass, server_);
  registerHelper(kDeadClass, "");  // no server: not an add-on that loads
  setMachine(kToolbarKey, "NoSuchClass", "");
  const std::string button = std::string(kExtensionsKey) + "\\{5eed0001-0000-0000-0000-00000000000b}";
  setMachine(button, "ButtonText", "@C:\\windows\\system32\\shdoclc.dll,-864");
  setMachine(button, "Exec", "C:\\Nowhere\\tool.exe /go");
  setMachine(std::string(kExtensionsKey) + "\\{5eed0001-0000-0000-0000-00000000000c}", "Exec", "C:\\x.exe");

  EntryList list("Tavrin", 315);
  ASSERT_EQ(enumerateIEHelpers(list), 3);
  EXPECT_EQ(row(list, 0), "Probe Toolbar|" + server_ + "|900|1.2.3.4");
  EXPECT_EQ(list.key(0), kProbeClass);
  EXPECT_EQ(row(list, 1), "NoSuchClass||901|") << "a toolbar without a class is listed, named by its value";
  EXPECT_EQ(row(list, 2), "Related|C:\\Nowhere\\tool.exe /go|902|C:\\Nowhere\\tool.exe /go");

  {
    testutil::RegistrySnapshot detected(HKEY_CURRENT_USER, {kDetectedKey, std::string(kDetectedKey) + "\\IEHelper",
                                                            std::string(kDetectedKey) + "\\Startup",
                                                            std::string(kDetectedKey) + "\\ActiveTasks"});
    testutil::deleteValue(HKEY_CURRENT_USER, kDetectedKey, "");
    testutil::deleteValue(HKEY_CURRENT_USER, std::string(kDetectedKey) + "\\IEHelper", programFileOfCommand(server_));
    initialiseDetectionDates(list);
    auto day = [](const std::string& dateTime) { return dateTime.substr(0, dateTime.find(' ')); };
    EXPECT_EQ(day(firstDetectionDate(programFileOfCommand(server_), typecode::kToolbar)), day(currentDateTimeText()));
  }

  // A store written while add-ons could not be listed: an empty list without its marker is filled.
  testutil::deleteTree(HKEY_CURRENT_USER, kApprovedIEHelpersKey);
  reg::createKey(HKEY_CURRENT_USER, kApprovedIEHelpersKey);
  initialiseApprovedTasks(list);
  EXPECT_TRUE(isApproved(kApprovedIEHelpersKey, "Probe Toolbar"));
  EXPECT_TRUE(isApproved(kApprovedIEHelpersKey, "NoSuchClass"));
  EXPECT_TRUE(isApproved(kApprovedIEHelpersKey, "Related"));
  // Once marked, an empty list stays empty: what appears later is asked about.
  testutil::deleteValue(HKEY_CURRENT_USER, kApprovedIEHelpersKey, "Related");
  initialiseApprovedTasks(list);
  EXPECT_FALSE(isApproved(kApprovedIEHelpersKey, "Related"));
}

TEST_F(AddOns, RemovalTouchesOnlyTheChosenAddOnAndIsUndone) {
  ASSERT_TRUE(CopyFileA(server_.c_str(), "C:\\Program.dll", FALSE));  // planted
  registerHelper(kProbeClass, server_);
  registerHelper(kTwinClass, server_);
  EntryList list("Tavrin", 315);
  enumerateIEHelpers(list);
  const int chosen = indexOfKey(list, kProbeClass);
  ASSERT_GE(chosen, 0);
  const std::size_t logged = historyText().size();
  EXPECT_EQ(removeIEHelper(list, "C:\\Other\\probe.dll", chosen), 0);
  EXPECT_EQ(removeIEHelper(list, server_, list.count()), 0);

  ASSERT_EQ(removeIEHelper(list, server_, chosen), 1);
  const std::string helpers = std::string(kBrowserHelperObjectsKey) + "\\";
  EXPECT_FALSE(reg::keyExists(HKEY_LOCAL_MACHINE, helpers + kProbeClass));
  EXPECT_TRUE(reg::keyExists(HKEY_LOCAL_MACHINE, helpers + kTwinClass));
  EXPECT_TRUE(noted(server_, "unregistered"));
  EXPECT_EQ(note("C:\\Program.dll"), "");
  DeleteFileA("C:\\Program.dll");
  const std::string added = historyText().substr(logged);
  EXPECT_NE(added.find("IEHELPER_Remove\tTYPE_BHO\tprobe.dll\t" + server_ + "\t" + helpers + kProbeClass),
            std::string::npos)
      << added;
  // Already gone: nothing counted, nothing logged.
  EXPECT_EQ(removeIEHelper(list, server_, chosen), 0);
  EXPECT_EQ(historyText().size(), logged + added.size());

  EntryList rows("Tavrin", 315);
  readHistory(rows);
  ASSERT_GT(rows.count(), 0);
  ASSERT_EQ(rows.flag(rows.count() - 1), action::kIeHelperRemove);
  EXPECT_EQ(restoreHistoryRow(rows, rows.count() - 1), 1);
  EXPECT_TRUE(reg::keyExists(HKEY_LOCAL_MACHINE, helpers + kProbeClass));
  EXPECT_TRUE(noted(server_, "registered"));

  // The page's Remove asks first, naming the add-on; No keeps it. (Last: no
  // regsvr32 may start after this process had windows, see the Wine notes.)
  enumerateIEHelpers(list);
  const int again = indexOfKey(list, kProbeClass);
  std::string question;
  driver::dialogsDuring([&] { EXPECT_EQ(confirmAndRemoveIEHelper(list, again, nullptr, "Tavrin"), 0); },
                        [&](HWND box) {
                          question = driver::messageBoxText(box);
                          driver::pressButton(box, IDNO);
                        });
  EXPECT_NE(question.find("remove Probe Toolbar from the Windows registry"), std::string::npos) << question;
  EXPECT_TRUE(reg::keyExists(HKEY_LOCAL_MACHINE, helpers + kProbeClass));
}

// Finds the entry of a list by its key and type, as name|path|detail.
std::string logged(const EntryList& list, const std::string& key, int type = 0) {
  for (int i = 0; i < list.count(); ++i)
    if (list.key(i) == key && list.typeCode(i) == type)
      return list.name(i) + "|" + list.programPath(i) + "|" + list.detail(i);
  return "<none>";
}

TEST_F(AddOns, ReportListsOfTheBrowserHooks) {
  EntryList list("Tavrin", 315);
  registerHelper(kProbeClass, server_);
  setMachine(kToolbarKey, kProbeClass, "");
  ASSERT_EQ(logHelperObjects(list), 1);
  EXPECT_EQ(logged(list, kProbeClass, 900), std::string("Class ") + kProbeClass + "|" + server_ + "|");
  ASSERT_EQ(logToolbars(list), 1);
  EXPECT_EQ(logged(list, kProbeClass, 900), std::string("Class ") + kProbeClass + "|" + server_ + "|Acme Tools");

  // A button served by its class, with a Tools-menu item; the user's own button; one without any path.
  const std::string button = std::string(kExtensionsKey) + "\\" + kProbeClass;
  setMachine(button, "MenuText", "Probe menu");
  testutil::setString(HKEY_CURRENT_USER, std::string(kExtensionsKey) + "\\user", "script", "C:\\s.htm");
  setMachine(std::string(kExtensionsKey) + "\\pathless", "ButtonText", "Nothing");
  logExtensions(list);
  EXPECT_EQ(logged(list, kProbeClass, 1), "(no name)|" + server_ + "|");
  EXPECT_EQ(logged(list, kProbeClass, 2), "Probe menu|" + server_ + "|");
  EXPECT_EQ(logged(list, "user", 1), "(no name)|C:\\s.htm (HKCU)|");
  EXPECT_EQ(logged(list, "pathless", 1), "<none>");

  // The system's own shell objects and objects without a server stay out of the delay-load list.
  testutil::RegistrySnapshot delayLoad(HKEY_LOCAL_MACHINE, {kDelayLoadKey});
  delayLoad.clearValues();
  setMachine(kDelayLoadKey, "Probe", kProbeClass);
  setMachine(kDelayLoadKey, "Dead", kDeadClass);
  setMachine(kDelayLoadKey, "System", "{35CEC8A3-2BE6-11d2-8773-92E220524153}");
  logDelayLoadObjects(list);
  EXPECT_EQ(logged(list, kProbeClass), std::string("Class ") + kProbeClass + "|" + server_ + "|Probe");
  EXPECT_EQ(list.count(), 1);

  // Trusted on a sub-key of the domain; zone 4 (restricted) is no trust.
  testutil::setBinary(HKEY_CURRENT_USER, kDomains + "\\probe.test\\www", "https", std::string("\2\0\0\0", 4), REG_DWORD);
  testutil::setBinary(HKEY_LOCAL_MACHINE, kDomains + "\\probe.test", "*", std::string("\4\0\0\0", 4), REG_DWORD);
  ASSERT_EQ(logTrustedDomains(list), 1);
  EXPECT_EQ(list.name(0), "probe.test");
}

}  // namespace
