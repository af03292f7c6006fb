// Disabling, restoring, removing and putting back startup entries of every
// kind, against the real registry, win.ini and folders.
#include "inventory/startup_actions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "inventory/history.h"
#include "inventory/program_file.h"
#include "inventory/startup_enum.h"
#include "support/driver.h"
#include "support/win_test_util.h"
#include "sys/paths.h"
#include "sys/shortcut.h"

using namespace tavrin;

namespace {

const char* const kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char* const kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char* const kWindowsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char* const kApproved = "Software\\Quennet\\Tavrin\\Run";
const char* const kDisabledRun = "Software\\Quennet\\Tavrin\\Disabled\\Run";

std::string value(HKEY root, const std::string& key, const std::string& name) { return testutil::valueOf(root, key, name); }

std::vector<std::string> machineKeys() {
  std::vector<std::string> keys = {kRunPath, kDisabledMarkerKey, kShellFolders, kUserShellFolders, kWinlogon,
                                   kWindowsNt};
  for (const DisabledCopyKey& copy : disabledCopyKeys()) keys.push_back(copy.path);
  return keys;
}

// On the NT family the win.ini program lists live in the registry (the
// system's ini-file mapping); a key that grants only reading makes every
// write of them fail.
struct UnwritableWinIni : testutil::ReadOnlyKey {
  UnwritableWinIni() : ReadOnlyKey(HKEY_CURRENT_USER, present(kWindowsNtUser)) {}
  static constexpr const char* kWindowsNtUser = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  static std::string present(const char* key) {
    testutil::setString(HKEY_CURRENT_USER, key, "TavrinProbe", "");
    testutil::deleteValue(HKEY_CURRENT_USER, key, "TavrinProbe");
    return key;
  }
};

class StartupActions : public ::testing::Test {
 protected:
  StartupActions()
      : machine_(HKEY_LOCAL_MACHINE, machineKeys()),
        user_(HKEY_CURRENT_USER, {kRunPath, kShellFolders, kUserShellFolders, kApproved}) {}

  void SetUp() override {
    machine_.clearValues();
    testutil::deleteValue(HKEY_CURRENT_USER, kRunPath, "ToggleMe");
    startup_ = testutil::freshFolder("actions-startup");
    for (const char* key : {kShellFolders, kUserShellFolders})
      testutil::setString(HKEY_CURRENT_USER, key, "Startup", startup_);
    DeleteFileA(historyPath().c_str());
    CoInitialize(nullptr);
  }
  void TearDown() override {
    testutil::deleteTree(HKEY_LOCAL_MACHINE, std::string(kWinlogon) + "\\Notify\\testpkg");
    DeleteFileA(historyPath().c_str());
    CoUninitialize();
  }

  std::string history() { return testutil::readFile(historyPath()); }

  testutil::RegistrySnapshot machine_, user_;
  testutil::WinIniPrograms winIni_;
  std::string startup_;
};

}  // namespace

TEST_F(StartupActions, RunEntriesRoundTripAsTheyStoodWhateverTheirLength) {
  // Listed cut to a path's width, without quotes and without RUNDLL32; the Run key must get every byte back.
  const std::string commands[] = {"c:\\tool.exe /quiet " + std::string(5000, 'q'),
                                  "\"C:\\Program Files\\Acme\\acme.exe\" /background",
                                  "RUNDLL32.EXE c:\\x\\helper.dll,Start now"};
  const std::string names[] = {"Tool", "Quoted", "Library"};
  for (int i = 0; i < 3; ++i) testutil::setString(HKEY_CURRENT_USER, kRunPath, names[i], commands[i]);
  auto toggleListed = [&] {
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    int toggled = 0;
    for (int i = 0; i < list.count(); ++i)
      if (std::count(std::begin(names), std::end(names), list.name(i))) toggled += toggleStartupEntry(list.entry(i));
    return toggled;
  };
  EXPECT_EQ(toggleListed(), 3);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kRunPath, "Tool"), "<missing>");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledRun, "Tool"), commands[0]);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "11");
  EXPECT_EQ(toggleListed(), 3);  // now listed from their disabled copies
  for (int i = 0; i < 3; ++i) EXPECT_EQ(value(HKEY_CURRENT_USER, kRunPath, names[i]), commands[i]) << names[i];
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledRun, "Tool"), "<missing>");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "<missing>");
  EXPECT_EQ(history(), "");  // the toggle writes no history
}

TEST_F(StartupActions, RemovingADisabledRunEntryTouchesOnlyItsCopyAndMarker) {
  testutil::setString(HKEY_LOCAL_MACHINE, kRunPath, "Tool", "c:\\tool.exe");
  toggleStartupEntry({"Tool", "c:\\tool.exe", "", 1});
  testutil::setString(HKEY_LOCAL_MACHINE, kRunPath, "Other", "c:\\other.exe");
  testutil::setString(HKEY_CURRENT_USER, kApproved, "c:\\tool.exe", "1");
  EXPECT_EQ(removeStartupEntry({"Tool", "c:\\tool.exe", "", 1}, nullptr), 1);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "<missing>");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledRun, "Tool"), "<missing>");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRunPath, "Other"), "c:\\other.exe");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kApproved, "c:\\tool.exe"), "<missing>");
  EXPECT_NE(history().find("\t*START_Remove\tMACHINE_RUN\tTool\tc:\\tool.exe\t\r\n"), std::string::npos);
  // Our own entry goes without a history record, its approval too.
  DeleteFileA(historyPath().c_str());
  testutil::setString(HKEY_LOCAL_MACHINE, kRunPath, "Tavrin", "c:\\tavrin\\tavrin.exe");
  testutil::setString(HKEY_CURRENT_USER, kApproved, "c:\\tavrin\\tavrin.exe", "1");
  removeStartupEntry({"Tavrin", "c:\\tavrin\\tavrin.exe", "", 1}, nullptr);
  EXPECT_EQ(history(), "");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kApproved, "c:\\tavrin\\tavrin.exe"), "<missing>");
}

TEST_F(StartupActions, WinIniPiecesGoByTheProgramTheyName) {
  // A quoted piece (as a way back from Delayed Start writes it) and an 8.3 one, in a list past 1023 characters.
  const std::string folder = testutil::freshFolder("win-ini-pieces") + "\\Long Folder Name";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\\Long Program.exe";
  ASSERT_TRUE(testutil::writeFile(program, "MZ"));
  std::string others;
  for (int i = 0; i < 45; ++i) others += "c:\\programs\\tool" + std::to_string(i) + ".exe;";
  const std::string pieces = "\"c:\\quoted dir\\q.exe\";" + testutil::shortPathOf(program);
  WriteProfileStringA("windows", "load", (others + pieces).c_str());
  EXPECT_EQ(toggleStartupEntry({"load", "c:\\quoted dir\\q.exe", "", 100}), 1);
  EXPECT_EQ(toggleStartupEntry({"load", program, "", 100}), 1);
  EXPECT_EQ(testutil::winIniPrograms("load"), others);
  // Each keeps its own marker and copy, under the program it names.
  for (const std::string& named : {std::string("c:\\quoted dir\\q.exe"), program}) {
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, named), "100") << named;
    EXPECT_NE(value(HKEY_LOCAL_MACHINE, "Software\\Quennet\\Tavrin\\Disabled\\WinLoad", named), "<missing>") << named;
  }
  toggleStartupEntry({"c:\\quoted dir\\q.exe", "c:\\quoted dir\\q.exe", "", 100});
  toggleStartupEntry({program, program, "", 100});
  EXPECT_EQ(testutil::winIniPrograms("load"), others + ";" + pieces) << "back as they stood";
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, program), "<missing>");
  EXPECT_EQ(removeStartupEntry({"load", "C:\\QUOTED DIR\\Q.EXE", "", 100}, nullptr), 1);
  EXPECT_EQ(removeStartupEntry({"load", program, "", 100}, nullptr), 1);
  EXPECT_EQ(testutil::winIniPrograms("load"), others);
  // Removing takes every piece that names the program, in any case.
  WriteProfileStringA("windows", "run", "c:\\x.exe;c:\\y.exe;C:\\X.EXE");
  EXPECT_EQ(removeStartupEntry({"run", "c:\\x.exe", "", 101}, nullptr), 1);
  EXPECT_EQ(testutil::winIniPrograms("run"), "c:\\y.exe;");
  // A program no piece names: failure, and no marker, copy or history.
  const std::string logged = history();
  EXPECT_EQ(toggleStartupEntry({"load", "c:\\absent.exe", "", 100}), 0);
  EXPECT_EQ(removeStartupEntry({"load", "c:\\absent.exe", "", 100}, nullptr), 0);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "c:\\absent.exe"), "<missing>");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(100), "c:\\absent.exe"), "<missing>");
  EXPECT_EQ(history(), logged);
}

TEST_F(StartupActions, AWinIniThatCannotBeWrittenLosesNoProgram) {
  WriteProfileStringA("windows", "load", "c:\\a.exe;c:\\b.exe");
  {
    UnwritableWinIni blocked;
    ASSERT_TRUE(blocked.ok());
    // Disabling leaves the program where it is, with no disabled copy beside it.
    EXPECT_EQ(toggleStartupEntry({"load", "c:\\a.exe", "", 100}), 0);
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "c:\\a.exe"), "<missing>");
  }
  EXPECT_EQ(testutil::winIniPrograms("load"), "c:\\a.exe;c:\\b.exe");
  ASSERT_EQ(toggleStartupEntry({"load", "c:\\a.exe", "", 100}), 1);
  {
    UnwritableWinIni blocked;
    ASSERT_TRUE(blocked.ok());
    // Restoring keeps the disabled copy until the program is back in the list.
    toggleStartupEntry({"c:\\a.exe", "c:\\a.exe", "", 100});
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "c:\\a.exe"), "100");
    EXPECT_EQ(value(HKEY_LOCAL_MACHINE, "Software\\Quennet\\Tavrin\\Disabled\\WinLoad", "c:\\a.exe"), "c:\\a.exe");
  }
  toggleStartupEntry({"c:\\a.exe", "c:\\a.exe", "", 100});
  EXPECT_EQ(testutil::winIniPrograms("load"), "c:\\b.exe;;c:\\a.exe");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "c:\\a.exe"), "<missing>");
}

TEST_F(StartupActions, StartupFolderFilesMoveThroughTheDisabledFolderAndRemovingNeverDeletesATarget) {
  const std::string item = startup_ + "\\Tool.lnk";
  ShortcutFields link;
  link.target = testutil::testDir() + "\\ver_plain.dll";
  ASSERT_EQ(writeShortcut(item, link), S_OK);
  const std::string parked = disabledFolder() + "\\Tool.lnk";
  EXPECT_EQ(toggleStartupEntry({"Tool", link.target, item, 200}), 1);
  EXPECT_EQ(GetFileAttributesA(item.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA(parked.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "200");
  EXPECT_EQ(toggleStartupEntry({"Tool", link.target, parked, 200}), 1);
  EXPECT_NE(GetFileAttributesA(item.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "<missing>");

  // A move that fails changes no marker: the page must not say disabled while it still starts.
  HANDLE held = CreateFileA(item.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DeleteFileA(parked.c_str());
  CopyFileA(link.target.c_str(), parked.c_str(), FALSE);  // a file of that name is already parked
  EXPECT_EQ(toggleStartupEntry({"Tool", link.target, item, 200}), 0);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "Tool"), "<missing>");
  CloseHandle(held);
  DeleteFileA(parked.c_str());
  const std::string target = testutil::freshFolder("actions-target") + "\\program.exe";
  ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\ver_plain.dll").c_str(), target.c_str(), FALSE));
  // The shortcut is gone already: only the target is left to find.
  EXPECT_EQ(removeStartupEntry({"Program", target, startup_ + "\\Program.lnk", 200}, nullptr), 1);
  EXPECT_NE(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(removeStartupEntry({"Program", target, "", 200}, nullptr), 1);
  EXPECT_NE(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
  // An item in the Startup folder itself (listed without a key) is the user's own program:
  // it waits in the Disabled folder, listed nowhere, until the history puts the same file back.
  const std::string script = startup_ + "\\run.bat";
  testutil::writeFile(script, "@echo off");
  SetFileAttributesA(script.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(removeStartupEntry({"run", script, "", 200}, nullptr), 1);
  EXPECT_EQ(GetFileAttributesA(script.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(testutil::readFile(disabledFolder() + "\\run.bat"), "@echo off");
  EntryList list("Tavrin", 315);
  enumerateStartup(list, false, 0);
  for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.programPath(i).find("run.bat"), std::string::npos);
  EXPECT_EQ(readdStartupEntry({"run", script, "", 200}), 1);
  EXPECT_EQ(testutil::readFile(script), "@echo off");
  SetFileAttributesA(script.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(StartupActions, WinlogonResetsAndNotifyPackages) {
  removeStartupEntry({"Winlogon Shell", "c:\\evil.exe", "", 251}, nullptr);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kWinlogon, "Shell"), "Explorer.exe");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kApproved, "Explorer.exe"), "251");
  removeStartupEntry({"Winlogon Userinit", "c:\\evil.exe", "", 250}, nullptr);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kWinlogon, "Userinit"), systemFolder() + "\\Userinit.exe,");
  EXPECT_NE(history().find("\tRESET_USERINIT\tWINLOGON_Userinit\tWinlogon Userinit\tc:\\evil.exe"), std::string::npos) << history();

  const std::string package = std::string(kWinlogon) + "\\Notify\\testpkg";
  testutil::setString(HKEY_LOCAL_MACHINE, package, "DLLName", "c:\\notify.dll");
  EXPECT_EQ(removeStartupEntry({"testpkg", "c:\\notify.dll", "", 256}, nullptr), 0);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "DLLName"), "c:\\notify.dll");
  EXPECT_EQ(toggleStartupEntry({"testpkg", "c:\\notify.dll", "", 256}), 1);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "DLLName"), "");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "OldName"), "c:\\notify.dll");
  toggleStartupEntry({"testpkg", "c:\\notify.dll", "", 256});
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "DLLName"), "c:\\notify.dll");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "OldName"), "");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "testpkg"), "<missing>");
  // A package whose note of its library went missing gets it back from the disabled copy.
  toggleStartupEntry({"testpkg", "c:\\notify.dll", "", 256});
  testutil::deleteValue(HKEY_LOCAL_MACHINE, package, "OldName");
  toggleStartupEntry({"testpkg", "c:\\notify.dll", "", 256});
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, package, "DLLName"), "c:\\notify.dll");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "testpkg"), "<missing>");
}

TEST_F(StartupActions, KeyLocationsGoOnlyAfterConfirmation) {
  const std::string folder = testutil::freshFolder("appinit-long-name");
  const std::string dll = folder + "\\A Long Library Name.dll";
  ASSERT_TRUE(testutil::writeFile(dll, "MZ"));
  const std::string shortDll = testutil::shortPathOf(dll), listed = "c:\\keep.dll," + shortDll;
  ASSERT_FALSE(shortDll.empty() || shortDll == dll);
  testutil::setString(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls", listed);
  int asked = 0;
  auto refuse = [&](const std::string&, const std::string&, int) { return ++asked, false; };
  auto accept = [&](const std::string&, const std::string&, int) { return ++asked, true; };
  removeStartupEntry({"", dll, "", 255}, refuse);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls"), listed);
  removeStartupEntry({"", dll, "", 255}, accept);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls"), "c:\\keep.dll");
  EXPECT_EQ(asked, 2);
  // Put back from the history, in its short form.
  readdStartupEntry({"", dll, "", 255});
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kWindowsNt, "AppInit_Dlls"), listed);
}

TEST_F(StartupActions, KilledWhileTogglingNeverLosesTheCommand) {
  const std::string command = "c:\\precious\\tool.exe /keep";
  for (int round = 0; round < 6; ++round) {
    testutil::setString(HKEY_CURRENT_USER, kRunPath, "ToggleMe", command);
    driver::Process worker = driver::start(testutil::testDir() + "\\startup_worker.exe", "toggle ToggleMe \"" + command + "\"");
    ASSERT_TRUE(worker);
    Sleep(40 + 37 * round);
    driver::killAll("startup_worker.exe");
    EntryList list("Tavrin", 315);
    enumerateStartup(list, false, 0);
    const std::string inRun = value(HKEY_CURRENT_USER, kRunPath, "ToggleMe");
    const std::string copy = value(HKEY_LOCAL_MACHINE, kDisabledRun, "ToggleMe");
    const std::string marker = value(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "ToggleMe");
    const bool enabled = inRun == command && marker == "<missing>";
    const bool disabled = inRun == "<missing>" && copy == command && marker == "11";
    EXPECT_TRUE(enabled || disabled) << "round " << round << ": run=" << inRun << " copy=" << copy
                                     << " marker=" << marker;
    testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "ToggleMe");
    testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledRun, "ToggleMe");
  }
}
