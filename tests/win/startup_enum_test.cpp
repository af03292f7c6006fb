// The startup enumeration on a seeded machine: every location of both hives,
// the Startup folders, win.ini, Winlogon, shell extensions and disabled
// entries, in the real registry and file system of the test prefix.
#include "inventory/first_run.h"
#include "inventory/options.h"
#include "inventory/startup_enum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "inventory/detection_store.h"
#include "inventory/program_file.h"
#include "support/win_test_util.h"
#include "sys/paths.h"
#include "sys/shortcut.h"

using namespace tavrin;

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell rewrites Shell Folders from these whenever it looks a folder up.
const char* const kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char* const kWindowsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char* const kDelayLoad = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
const char* const kSharedTasks = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler";
const char* const kExecHooks = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks";
const char* const kNotify = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify";
const char* const kDelayClass = "{1B5D4C2A-0000-4000-8000-00000000A001}";
const char* const kTaskClass = "{1B5D4C2A-0000-4000-8000-00000000A002}";
const char* const kHookClass = "{1B5D4C2A-0000-4000-8000-00000000A003}";

std::string run(int n) { return kRunKeyPaths[n - 1]; }

// The Run keys, the Shell Folders and, for the machine, every other place the list reads.
std::vector<std::string> seededKeys(bool machine) {
  std::vector<std::string> keys(std::begin(kRunKeyPaths), std::end(kRunKeyPaths));
  for (const char* k : {kShellFolders, kUserShellFolders}) keys.push_back(k);
  if (!machine) return keys;
  for (const char* k : {kDisabledMarkerKey, kWinlogon, kWindowsNt, kDelayLoad, kSharedTasks, kExecHooks}) keys.push_back(k);
  for (const DisabledCopyKey& copy : disabledCopyKeys()) keys.push_back(copy.path);
  return keys;
}

using Row = std::tuple<std::string, std::string, std::string, int, int>;  // name, path, key, type, flag

std::vector<Row> rowsOf(const EntryList& list) {
  std::vector<Row> rows;
  for (int i = 0; i < list.count(); ++i)
    rows.emplace_back(list.name(i), list.programPath(i), list.key(i), list.typeCode(i), list.flag(i));
  return rows;
}

void registerClass(const char* classId, const std::string& name, const std::string& server) {
  const std::string key = std::string("CLSID\\") + classId;
  testutil::setString(HKEY_CLASSES_ROOT, key, "", name);
  testutil::setString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", server);
}

class StartupMachine : public ::testing::Test {
 protected:
  StartupMachine() : machine_(HKEY_LOCAL_MACHINE, seededKeys(true)), user_(HKEY_CURRENT_USER, seededKeys(false)) {}

  void SetUp() override {
    machine_.clearValues();
    user_.clearValues();
    WriteProfileStringA("windows", "load", "");
    WriteProfileStringA("windows", "run", "");
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kNotify);
    userStartup_ = testutil::freshFolder("startup-user");
    commonStartup_ = testutil::freshFolder("startup-common");
    for (const char* key : {kShellFolders, kUserShellFolders}) {
      testutil::setString(HKEY_CURRENT_USER, key, "Startup", userStartup_);
      testutil::setString(HKEY_LOCAL_MACHINE, key, "Common Startup", commonStartup_);
    }
    fixtureDll_ = testutil::testDir() + "\\ver_plain.dll";
    CoInitialize(nullptr);
  }

  void TearDown() override {
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kNotify);
    for (const char* c : {kDelayClass, kTaskClass, kHookClass})
      testutil::deleteTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + c);
    const std::string disabled = disabledFolder();
    for (const char* file : {"\\gone.exe", "\\parked.exe"}) DeleteFileA((disabled + file).c_str());
    RemoveDirectoryA(disabled.c_str());
    CoUninitialize();
  }

  // The machine every test of the exact list starts from.
  void seed() {
    const HKEY m = HKEY_LOCAL_MACHINE, u = HKEY_CURRENT_USER;
    testutil::setString(m, run(1), "AcmeQuoted", "\"C:\\Program Files\\Acme\\acme.exe\" /background");
    testutil::setString(m, run(1), "Control", "RUNDLL32.EXE shell32.dll,Control_RunDLL desk.cpl");
    testutil::setString(m, run(1), "Expand", "%SystemRoot%\\system32\\tool.exe -x", REG_EXPAND_SZ);
    testutil::setString(m, run(1), "Empty", "");
    testutil::setString(m, run(1), "LongCommand", "c:\\long\\" + std::string(300, 'l') + ".exe");
    testutil::setString(m, run(1), "X", "c:\\x.exe");
    testutil::setString(m, run(1), "Zshort", "a.e");
    testutil::setString(m, run(1), "\xC4pfel", "c:\\apfel.exe");
    // The same pair met one after the other across keys: listed once.
    testutil::setString(m, run(2), "Twice", "c:\\twice.exe");
    testutil::setString(m, run(4), "Twice", "c:\\twice.exe");
    // The same pair with another value between: listed twice.
    testutil::setString(u, run(1), "Again", "c:\\again.exe");
    testutil::setString(u, run(1), "Between", "c:\\between.exe");
    testutil::setString(u, run(2), "Again", "c:\\again.exe");
    // Put back by a program after the user disabled it.
    testutil::setString(u, run(1), "Returned", "c:\\new\\returned.exe /new");
    testutil::setString(m, kDisabledMarkerKey, "Returned", "11");
    testutil::setString(m, disabledCopyKeyOf(11), "Returned", "c:\\old\\returned.exe");
    // Disabled entries of other kinds; a copy without a marker is not listed.
    testutil::setString(m, kDisabledMarkerKey, "OffMachine", "1");
    testutil::setString(m, disabledCopyKeyOf(1), "OffMachine", "c:\\off\\machine.exe");
    testutil::setString(m, kDisabledMarkerKey, "c:\\w\\loaded.exe", "100");
    testutil::setString(m, disabledCopyKeyOf(100), "c:\\w\\loaded.exe", "c:\\w\\loaded.exe");
    testutil::setString(m, disabledCopyKeyOf(101), "NoMarker", "c:\\nomarker.exe");

    // Startup folders: a shortcut, a program, desktop.ini and a text file; a
    // batch file in the common folder; a disabled program in the Disabled folder.
    ShortcutFields link;
    link.target = fixtureDll_;
    ASSERT_EQ(writeShortcut(userStartup_ + "\\Widget.lnk", link), S_OK);
    ASSERT_TRUE(CopyFileA(fixtureDll_.c_str(), (userStartup_ + "\\helper.exe").c_str(), FALSE));
    testutil::writeFile(userStartup_ + "\\desktop.ini", "[.ShellClassInfo]\r\n");
    testutil::writeFile(userStartup_ + "\\readme.txt", "hello");
    testutil::writeFile(commonStartup_ + "\\common.bat", "@echo off");
    ASSERT_EQ(createDisabledFolder(), 1);
    // Only a marked file of the Disabled folder is disabled; the other waits there, listed nowhere.
    const std::string plain = testutil::testDir() + "\\ver_none.dll";
    ASSERT_TRUE(CopyFileA(plain.c_str(), (disabledFolder() + "\\gone.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(plain.c_str(), (disabledFolder() + "\\parked.exe").c_str(), FALSE));
    testutil::setString(m, kDisabledMarkerKey, "gone", "200");

    WriteProfileStringA("windows", "run", "c:\\w\\run1.exe;;c:\\w\\run2.exe");
    WriteProfileStringA("windows", "load", "c:\\w\\load.exe");

    testutil::setString(m, kWinlogon, "Userinit", "C:\\windows\\system32\\userinit.exe,");
    testutil::setString(m, kWinlogon, "Shell", "Explorer.exe c:\\evil\\shell.exe");
    testutil::setString(m, kWindowsNt, "AppInit_Dlls", "c:\\a.dll, c:\\b.dll");
    registerClass(kDelayClass, "Delay Class", fixtureDll_);
    registerClass(kTaskClass, "Task Class", "c:\\task.dll");
    registerClass(kHookClass, "Hook Class", "c:\\hook.dll");
    testutil::setString(m, kDelayLoad, "DelayThing", kDelayClass);
    testutil::setString(m, kSharedTasks, kTaskClass, "");
    testutil::setString(m, kExecHooks, kHookClass, "Hook description");
    testutil::setString(m, std::string(kNotify) + "\\widgetpkg", "DllName", fixtureDll_);
    testutil::setString(m, std::string(kNotify) + "\\emptypkg", "DllName", "");
  }

  testutil::RegistrySnapshot machine_, user_;
  testutil::WinIniPrograms winIni_;
  std::string userStartup_, commonStartup_, fixtureDll_;
};

}  // namespace

TEST_F(StartupMachine, ListsEveryLocationInOrderAndThePageTheAdvancedOnesOnRequest) {
  seed();
  EntryList list("Tavrin", 315);
  const int count = enumerateStartup(list, false, 0);
  const std::string disabled = disabledFolder();
  const std::string longCommand = ("c:\\long\\" + std::string(300, 'l')).substr(0, 259);
  const std::vector<Row> expected = {
      {"AcmeQuoted", "C:\\Program Files\\Acme\\acme.exe /background", "", 1, 0},
      {"Control", "shell32.dll,Control_RunDLL desk.cpl", "", 1, 1},
      {"Expand", "%SystemRoot%\\system32\\tool.exe -x", "", 1, 0},
      {"LongCommand", longCommand, "", 1, 0},
      {"X", "c:\\x.exe", "", 1, 0},
      {"Zshort", "a.e", "", 1, 0},
      {"\xC4pfel", "c:\\apfel.exe", "", 1, 0},
      {"Twice", "c:\\twice.exe", "", 2, 0},
      {"Again", "c:\\again.exe", "", 11, 0},
      {"Between", "c:\\between.exe", "", 11, 0},
      {"Again", "c:\\again.exe", "", 12, 0},
      {"common", commonStartup_ + "\\common.bat", "", 200, 0},
      {"Widget helper", userStartup_ + "\\helper.exe", userStartup_ + "\\helper.exe", 200, 0},
      {"Widget helper", fixtureDll_, userStartup_ + "\\Widget.lnk", 200, 0},
      {"readme", userStartup_ + "\\readme.txt", "", 200, 0},
      {"run", "c:\\w\\run1.exe", "", 101, 0},
      {"run", "c:\\w\\run2.exe", "", 101, 0},
      {"load", "c:\\w\\load.exe", "", 100, 0},
      {"OffMachine", "c:\\off\\machine.exe", "", 1, 0},
      {"Returned", "c:\\new\\returned.exe /new", "", 11, 0},
      {"c:\\w\\loaded.exe", "c:\\w\\loaded.exe", "", 100, 0},
      {"gone", disabled + "\\gone.exe", disabled + "\\gone.exe", 200, 0},
      {"Winlogon Userinit", "C:\\windows\\system32\\userinit.exe", "", 250, 0},
      {"Winlogon Shell", "c:\\evil\\shell.exe", "", 251, 0},
      {"DelayThing", fixtureDll_, kDelayClass, 252, 0},
      {"Task Class", "c:\\task.dll", kTaskClass, 253, 0},
      {"Hook description", "c:\\hook.dll", kHookClass, 254, 0},
      {"a", "c:\\a.dll", "", 255, 0},
      {"", "", "", 255, 0},
      {"b", "c:\\b.dll", "", 255, 0},
      {"widgetpkg", fixtureDll_, "Widget helper", 256, 0},
  };
  // Items of one folder come in the file system's order.
  std::vector<Row> actual = rowsOf(list);
  ASSERT_GE(actual.size(), 15u);
  std::sort(actual.begin() + 12, actual.begin() + 15);
  EXPECT_EQ(count, static_cast<int>(actual.size()));
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(list.detail(24), "1.2.3.4");  // the delay-load server's product version
  // The program that came back is disabled again, with its new command.
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, run(1), "Returned"), "<missing>");
  EXPECT_EQ(testutil::valueOf(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(11), "Returned"), "c:\\new\\returned.exe /new");
  EXPECT_EQ(testutil::valueOf(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Returned"), "11");
  // The page leaves out Winlogon and the shell extensions unless asked for them.
  EXPECT_EQ(count - enumerateStartup(list, true, 0), 9);
  for (int i = 0; i < list.count(); ++i) EXPECT_LT(list.typeCode(i), 250) << list.name(i);
  EXPECT_EQ(enumerateStartup(list, true, 1), count);
}

TEST_F(StartupMachine, FirstStartApprovesExactlyWhatIsListed) {
  seed();
  testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet");
  EntryList list("Tavrin", 315);
  Options options;
  firstRunInitialisation(Program::Monitor, options, list);
  EntryList listed("Tavrin", 315);
  enumerateStartup(listed, false, 0);
  std::vector<std::string> keys, approved;
  for (int i = 0; i < listed.count(); ++i) {
    keys.push_back(lower(startupKeyOf(listed.programPath(i))));
    EXPECT_TRUE(isStartupApproved(listed.programPath(i), listed.name(i)));
  }
  // Nothing else is approved (the Monitor registered itself, so it is listed too).
  for (const std::string& name : testutil::valueNames(HKEY_CURRENT_USER, kApprovedStartupKey))
    approved.push_back(lower(name));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  std::sort(approved.begin(), approved.end());
  EXPECT_EQ(approved, keys);
  EXPECT_TRUE(std::count(keys.begin(), keys.end(), lower(programFolder() + "\\tavrin.exe")));
  // Dates for the program files that exist, none for those that do not.
  EXPECT_NE(firstDetectionDate(programFileOfCommand(fixtureDll_), 200), "");
  EXPECT_EQ(firstDetectionDate("C:\\X.EXE", 1), "");
  testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, run(1), "Tavrin");
}

TEST_F(StartupMachine, HostileValuesNeverStopTheEnumeration) {
  const HKEY u = HKEY_CURRENT_USER;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(u, run(1).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  for (int i = 0; i < 5000; ++i) {
    const std::string name = "bulk" + std::to_string(i);
    const std::string data = "c:\\bulk\\" + std::to_string(i) + ".exe";
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
  }
  RegCloseKey(key);
  testutil::setString(HKEY_LOCAL_MACHINE, run(1), std::string(255, 'N'), "c:\\longname.exe");
  testutil::setBinary(HKEY_LOCAL_MACHINE, run(1), "Binary", std::string("\x01\x02\xff\x00\x41", 5));
  testutil::setString(HKEY_LOCAL_MACHINE, run(1), "Huge", std::string(100000, 'h'));
  testutil::setBinary(HKEY_LOCAL_MACHINE, run(1), "Dword", std::string("\x05\x00\x00\x00", 4), REG_DWORD);
  testutil::setString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", std::string(5000, 's'));
  testutil::deleteTree(HKEY_LOCAL_MACHINE, run(3));  // a missing key
  testutil::setString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", std::string(2000, ','));
  EntryList list("Tavrin", 315);
  EXPECT_EQ(enumerateStartup(list, false, 0), 4096);
  // What fits is listed, in order: the machine's values come first.
  EXPECT_EQ(list.name(0), "Binary");
  EXPECT_EQ(list.programPath(0), "\x01\x02\xff");
  EXPECT_EQ(list.typeCode(1), 1);
  EXPECT_EQ(list.programPath(2), std::string(259, 'h'));
  EXPECT_EQ(list.name(3), std::string(127, 'N'));
  EXPECT_EQ(list.programPath(3), "c:\\longname.exe");
  EXPECT_EQ(list.name(4095).substr(0, 4), "bulk");
  EXPECT_EQ(list.name(4096), "");
}
