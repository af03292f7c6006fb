// Setup and uninstall, silent and interactive, in a fresh prefix of their own.
// check-setup.sh runs the first test alone, reads the shortcuts it made with
// lnkinfo, then runs the others in order; each starts from an installed copy.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "base/history_text.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/history.h"
#include "inventory/startup_actions.h"
#include "support/driver.h"
#include "support/win_test_util.h"
#include "sys/registry.h"
#include "sys/version.h"

using namespace tavrin;

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavrin";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSystemKey[] = "Software\\Quennet\\Tavrin";
constexpr char kOptionsKey[] = "Software\\Quennet\\Tavrin\\Options";
const char* const kInstalledFiles[] = {"Tavrin.exe", "TavrinEx.exe", "ostrum.dll", "README.txt", "Uninstall.exe"};

std::string installed(const std::string& file) { return testutil::programDir() + "\\" + file; }
bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::string setupPath() { return getenv("TAVRIN_SETUP") ? getenv("TAVRIN_SETUP") : ""; }
size_t monitorsRunning() { return driver::processesNamed("Tavrin.exe").size(); }

std::string value(HKEY root, const std::string& key, const std::string& name) { return testutil::valueOf(root, key, name); }
std::vector<reg::Value> values(HKEY root, const std::string& key) {
  std::vector<reg::Value> found;
  reg::readValues(root, key, found);
  return found;
}
// Every value the key held before holds the same data now.
void expectKept(HKEY root, const std::string& key, const std::vector<reg::Value>& before) {
  EXPECT_FALSE(before.empty()) << key;
  for (const reg::Value& v : before) EXPECT_EQ(value(root, key, v.name), v.data) << key << " " << v.name;
}

VersionRecord versionOf(const std::string& path) {
  VersionRecord record;
  readVersionRecord(path, record);
  return record;
}

void runSetup() {
  driver::Process setup = driver::start(setupPath(), "/S");
  ASSERT_TRUE(setup) << setupPath();
  DWORD code = 1;
  ASSERT_TRUE(setup.waitExit(90000, &code));
  EXPECT_EQ(code, 0u);
}

// The uninstaller runs on as a copy of itself in the temporary folder and
// removes its entry last: the entry's absence and the copy's end mark the finish.
bool uninstallFinished(DWORD timeoutMs) {
  return driver::waitUntil([] { return !reg::keyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, timeoutMs) &&
         driver::waitUntil([] { return driver::processesNamed("Un.exe").empty(); }, 10000);
}

bool startExplorer(driver::Process& explorer) {
  explorer = driver::start(installed("TavrinEx.exe"), "-START");
  return explorer && driver::waitForProcessWindow(explorer.pid(), "#32770", 15000);
}

std::string dataFolder() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE);
  return std::string(path) + "\\Tavrin";
}

}  // namespace

TEST(Setup, InstallsSilentlyIntoAFreshPrefix) {
  ASSERT_FALSE(exists(installed("Tavrin.exe")));
  runSetup();
  for (const char* file : kInstalledFiles) EXPECT_TRUE(exists(installed(file))) << file;

  // One version and one maker everywhere: the programs, the setup and its entry.
  const VersionRecord monitor = versionOf(installed("Tavrin.exe"));
  const std::string version = monitor.productVersion;
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(versionOf(installed("TavrinEx.exe")).productVersion, version);
  EXPECT_EQ(versionOf(setupPath()).productVersion, version);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Tavrin");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), version);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), monitor.companyName);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + installed("Uninstall.exe") + "\"");
  std::string size;
  DWORD type = 0;
  ASSERT_TRUE(testutil::rawValue(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", size, type));
  WIN32_FILE_ATTRIBUTE_DATA explorer{};
  GetFileAttributesExA(installed("TavrinEx.exe").c_str(), GetFileExInfoStandard, &explorer);
  EXPECT_GT(*reinterpret_cast<const DWORD*>(size.data()), explorer.nFileSizeLow / 1024);

  // The Monitor runs, and its first start registered it at logon.
  EXPECT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
  EXPECT_EQ(monitorsRunning(), 1u);
  EXPECT_TRUE(driver::waitUntil(
      [] { return value(HKEY_LOCAL_MACHINE, kRunKey, "Tavrin") == "\"" + installed("tavrin.exe") + "\""; }, 15000));
  driver::screenshot("setup-installed");
}

TEST(Setup, RunTwiceOverItselfKeepsOneMonitorAndTheSettings) {
  ASSERT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
  // The Monitor the first setup starts asks before it exits: the second setup
  // must not wait for an answer that nobody gives.
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "ConfirmExit", "1");
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "Sound", "0");
  const DWORD oldMonitor = driver::processesNamed("Tavrin.exe").at(0);
  driver::Process explorer;
  ASSERT_TRUE(startExplorer(explorer));
  const auto options = values(HKEY_CURRENT_USER, kOptionsKey);
  const auto approved = values(HKEY_CURRENT_USER, kApprovedStartupKey);
  const auto run = values(HKEY_LOCAL_MACHINE, kRunKey);

  runSetup();
  runSetup();
  expectKept(HKEY_CURRENT_USER, kOptionsKey, options);
  expectKept(HKEY_CURRENT_USER, kApprovedStartupKey, approved);
  expectKept(HKEY_LOCAL_MACHINE, kRunKey, run);
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "ConfirmExit", "0");
  EXPECT_TRUE(explorer.waitExit(5000));
  EXPECT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
  ASSERT_EQ(monitorsRunning(), 1u);
  EXPECT_NE(driver::processesNamed("Tavrin.exe").at(0), oldMonitor);
}

TEST(Setup, SilentUninstallPutsDelayedProgramsBackAndKeepsSettings) {
  ASSERT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
  driver::Process explorer;
  ASSERT_TRUE(startExplorer(explorer));
  // A user's startup program moved to Delayed Start, as the Explorer moves it.
  const std::string command = "c:\\tools\\setup-probe.exe /min";
  approveStartup(command, 1);
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Setup Probe", command);
  ASSERT_EQ(moveToDelayed("Setup Probe", command, "", 11, 0, DelayQuestions{}), 1);
  DeleteFileA(historyPath().c_str());  // the move's record, in the test's own folder
  const std::string history =
      historyLine("12/07/2026  4:05 AM", "*START_Remove", "CURRENT_RUN", "Old Tool", "c:\\old\\tool.exe", "");
  ASSERT_TRUE(testutil::writeFile(installed("history.txt"), history));

  driver::Process uninstall = driver::start(installed("Uninstall.exe"), "/S");
  ASSERT_TRUE(uninstallFinished(90000));
  EXPECT_NE(value(HKEY_CURRENT_USER, kRunKey, "Setup Probe").find("SETUP-PROBE.EXE\" /min"), std::string::npos);
  EXPECT_EQ(countDelayedPrograms(), 0);
  EXPECT_EQ(monitorsRunning(), 0u);
  EXPECT_TRUE(driver::processesNamed("TavrinEx.exe").empty());
  for (const char* file : kInstalledFiles) EXPECT_FALSE(exists(installed(file))) << file;
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRunKey, "Tavrin"), "<missing>");
  testutil::deleteValue(HKEY_CURRENT_USER, kRunKey, "Setup Probe");

  // Settings and history wait for the next installation.
  runSetup();
  EXPECT_EQ(testutil::readFile(installed("history.txt")), history);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptionsKey, "Sound"), "0");
  EXPECT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
}

TEST(Setup, RemovingSettingsKeepsDisabledEntriesUnlessConfirmed) {
  ASSERT_TRUE(driver::waitForWindow("Tavrin", nullptr, 15000));
  // Two disabled entries: a Run entry and a Startup-folder file.
  const std::string command = "c:\\tools\\kept-probe.exe";
  approveStartup(command, 1);
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Kept Probe", command);
  ASSERT_EQ(toggleStartupEntry({"Kept Probe", command, "", 11}), 1);
  CreateDirectoryA(installed("Disabled").c_str(), nullptr);
  ASSERT_TRUE(testutil::writeFile(installed("Disabled\\kept-probe.pif"), "probe"));
  ASSERT_TRUE(testutil::writeFile(installed("history.txt"), "record\r\n"));
  // A kept copy of a watched file goes with the settings; a quarantined file stays.
  reg::writeString(HKEY_LOCAL_MACHINE, std::string(kSystemKey) + "\\Sysfiles\\HOSTS", "Type", "0");
  reg::writeString(HKEY_LOCAL_MACHINE, std::string(kSystemKey) + "\\Sysfiles\\*", "Type", "0");
  ASSERT_TRUE(testutil::writeFile(installed("note_probe.txt"), "a note of the user's"));
  CreateDirectoryA(dataFolder().c_str(), nullptr);
  CreateDirectoryA((dataFolder() + "\\vault").c_str(), nullptr);
  ASSERT_TRUE(testutil::writeFile(dataFolder() + "\\HOSTS", "127.0.0.1 localhost"));
  ASSERT_TRUE(testutil::writeFile(dataFolder() + "\\vault\\quarantined.exe", "MZ"));

  driver::Process starter = driver::start(installed("Uninstall.exe"));
  HWND wizard = driver::waitForDialogWith("Tavrin " + versionOf(installed("Tavrin.exe")).productVersion + " Uninstall", 15000);
  ASSERT_NE(wizard, nullptr);
  driver::pressButton(wizard, IDOK);
  HWND box = driver::waitForDialogWith("settings and history", 30000);
  ASSERT_NE(box, nullptr);
  driver::pressButton(box, IDYES);
  box = driver::waitForDialogWith("2 startup program(s) are disabled", 10000);
  ASSERT_NE(box, nullptr);
  driver::screenshot("uninstall-asks-about-disabled-entries");
  driver::pressButton(box, IDNO);
  ASSERT_TRUE(driver::waitUntil([] { return !reg::keyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 30000));
  driver::pressButton(wizard, IDOK);
  ASSERT_TRUE(uninstallFinished(10000));

  EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, kSystemKey));
  EXPECT_FALSE(reg::keyExists(HKEY_CURRENT_USER, "Software\\Quennet\\Detected"));
  EXPECT_FALSE(exists(installed("history.txt")));
  EXPECT_FALSE(exists(dataFolder() + "\\HOSTS"));
  EXPECT_TRUE(exists(dataFolder() + "\\vault\\quarantined.exe"));
  EXPECT_TRUE(exists(installed("note_probe.txt")));
  std::vector<std::string> keys;
  reg::readSubKeyNames(HKEY_LOCAL_MACHINE, kSystemKey, keys);
  EXPECT_EQ(keys, std::vector<std::string>{"Disabled"});
  EXPECT_TRUE(hasDisabledMarker("Kept Probe"));
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, std::string(kSystemKey) + "\\Disabled\\Run", "Kept Probe"), command);
  EXPECT_TRUE(exists(installed("Disabled\\kept-probe.pif")));
}
