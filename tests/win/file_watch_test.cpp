// Hidden files and the vault, the watched system files and the restart file,
// in-process with the Monitor's resources; built for Windows XP and for 98.
#include <gtest/gtest.h>

#include <map>

#include "checks.h"
#include "file_checks.h"
#include "inventory/data_folder.h"
#include "inventory/hidden_files.h"
#include "inventory/history.h"
#include "inventory/processes.h"
#include "inventory/restart_commands.h"
#include "inventory/system_files.h"
#include "monitor_state.h"
#include "resource.h"
#include "support/driver.h"
#include "support/monitor_test.h"
#include "support/win_test_util.h"
#include "sys/paths.h"
#include "sys/version.h"

using namespace tavrin;

namespace {

// Wine adds the archive bit to every file.
constexpr DWORD kShownBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Vault : public ::testing::Test {
 protected:
  std::string hiddenFile(const std::string& name, const std::string& content) {
    const std::string path = folder_ + "\\" + name;
    CreateDirectoryA(folderOf(path).c_str(), nullptr);
    testutil::writeFile(path, content);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return path;
  }
  testutil::RegistrySnapshot approved_{HKEY_CURRENT_USER, {kApprovedHiddenKey}};
  std::string folder_ = testutil::freshFolder("vault");
};

}  // namespace

TEST_F(Vault, ListsHiddenFilesButNoFoldersAndGoesOneFolderDeep) {
  const std::string plain = hiddenFile("plain.dat", "p"), system = hiddenFile("system.dat", "s");
  SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  const std::string tooDeep = hiddenFile("sub\\deep.dat", "d");
  SetFileAttributesA(folder_.c_str(), FILE_ATTRIBUTE_HIDDEN);  // a hidden folder is still entered
  EntryList list("Tavrin", 315);
  std::map<std::string, int> flags;
  for (int i = 0; i < enumerateHiddenFiles(list); ++i) flags[list.programPath(i)] = list.flag(i);
  EXPECT_EQ(flags.count(folder_) + flags.count(tooDeep), 0u);
  EXPECT_EQ(flags[plain], 1);
  EXPECT_EQ(flags[system], 0);
}

TEST_F(Vault, SameNamesKeepTheirOwnSlotsAndUndoBringsTheFirstBackHiddenAndApproved) {
  const std::string first = hiddenFile("one\\same.dat", "first bytes"), second = hiddenFile("two\\same.dat", "2nd");
  approveHiddenFile(first);
  ASSERT_EQ(quarantineFile("First", first) + quarantineFile("Second", second), 2);
  EXPECT_FALSE(exists(first));
  EXPECT_FALSE(isHiddenFileApproved(first)) << "its baseline value goes with it";
  // Copying back into a folder that is gone fails, and the vault keeps its copy.
  ASSERT_TRUE(RemoveDirectoryA(folderOf(first).c_str()));
  EXPECT_EQ(restoreFromVault(first), 0);
  EXPECT_EQ(testutil::readFile(vaultSlotPath(first)), "first bytes");
  CreateDirectoryA(folderOf(first).c_str(), nullptr);

  EntryList rows("Tavrin", 315);
  EXPECT_EQ(restoreHistoryRow(rows, readHistory(rows) - 2), 1);  // the first file's record, found by its path
  EXPECT_EQ(testutil::readFile(first), "first bytes");
  EXPECT_EQ(GetFileAttributesA(first.c_str()) & kShownBits, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(isHiddenFileApproved(first));
  EXPECT_FALSE(exists(vaultSlotPath(first)));

  // A slot of the old form, named by the file name alone, is still found.
  ASSERT_TRUE(MoveFileA(vaultSlotPath(second).c_str(), (vaultFolder() + "\\same.dat").c_str()));
  EXPECT_EQ(restoreFromVault(second), 1);
  EXPECT_EQ(testutil::readFile(second), "2nd");
}

TEST_F(Vault, AFileThatCannotBeCopiedStaysARunningProgramIsStoppedAndDeleteAtRestartRegistersAFile) {
  const std::string held = hiddenFile("held.dat", "held"), history = testutil::readFile(historyPath());
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(quarantineFile("Held", held), 0);
  CloseHandle(holder);
  EXPECT_EQ(testutil::readFile(held), "held");
  EXPECT_EQ(GetFileAttributesA(held.c_str()) & kShownBits, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(testutil::readFile(historyPath()), history);
  // A running hidden program is stopped before it goes.
  const std::string program = folder_ + "\\runner.exe";
  ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\startup_worker.exe").c_str(), program.c_str(), FALSE));
  SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_HIDDEN);
  driver::Process running = driver::start(program, "wait 60");
  ASSERT_TRUE(driver::waitUntil([&] { return findProcessOfProgram(program) != 0; }, 5000));
  EXPECT_EQ(quarantineFile("Runner", program), 1);
  EXPECT_TRUE(running.waitExit(5000));
  const std::string file = hiddenFile("reboot.dat", "r");
#if TAVRIN_EXPECT_NT
  const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
  testutil::RegistrySnapshot pending(HKEY_LOCAL_MACHINE, {kSessionManager});
  ASSERT_EQ(deleteAtRestart(file), 1);
  std::string operations;
  DWORD type = 0;
  testutil::rawValue(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", operations, type);
  EXPECT_NE(operations.find(file), std::string::npos);
#else
  const std::string restartFile = windowsFolder() + "\\wininit.ini";
  testutil::writeFile(restartFile, "[rename]\r\nNUL=C:\\OLD.TMP\r\n");
  ASSERT_EQ(deleteAtRestart(file), 1);
  EXPECT_EQ(testutil::readFile(restartFile),
            "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=" + testutil::shortPathOf(file) + "\r\n");
  DeleteFileA(file.c_str());
  EXPECT_EQ(deleteAtRestart(file), 0) << "a file without a short path";
  DeleteFileA(restartFile.c_str());
#endif
}

namespace {

std::string storedOfHosts(const char* name) {
  std::string data;
  DWORD type = 0;
  testutil::rawValue(HKEY_LOCAL_MACHINE, std::string(kSysfilesKey) + "\\HOSTS", name, data, type);
  return data.c_str();
}

WatchedFile watchedHosts() {
  for (const WatchedFile& file : watchedFiles())
    if (file.shortName == "HOSTS") return file;
  return {};
}

}  // namespace

TEST(WatchedFiles, HostsIsRecordedTouchesPassAndRejectOrAcceptAnswerAChange) {
  const std::string hosts = hostsFilePath(), original = testutil::readFile(hosts);
  const bool existed = exists(hosts);
  if (!existed) testutil::writeFile(hosts, "127.0.0.1 localhost\r\n");
  const std::string recorded = testutil::readFile(hosts);
  testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfilesKey);
  setUpWatchedSystemFiles();
  for (const WatchedFile& file : watchedFiles()) EXPECT_EQ(file.shortName, "HOSTS") << "missing files have no Location";
  testutil::writeFile(hosts, recorded);  // touched: a later time, the same size
  EXPECT_FALSE(watchedFileChangedNow(watchedHosts()));

  MonitorState state;
  prepareMonitorState(state);
  // An added line, most likely within the minute of the record.
  const std::string edited = recorded + "10.0.0.1 example.test\r\n";
  testutil::writeFile(hosts, edited);
  ASSERT_TRUE(watchedFileChangedNow(watchedHosts()));
  constexpr DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(driver::dialogsDuring([&] { checkSystemFiles(state); },
                    [&](HWND dialog) {
                      SetFileAttributesA(hosts.c_str(), kProtected);
                      Sleep(300);
                      driver::screenshot("alert-file-change");
                      driver::pressButton(dialog, IDC_FILE_CHANGE_REJECT);
                    }),
            std::vector<std::string>{"Tavrin: File Change Alert"});
  EXPECT_EQ(testutil::readFile(hosts), recorded);
  EXPECT_EQ(GetFileAttributesA(hosts.c_str()) & kShownBits, kProtected);
  EXPECT_FALSE(watchedFileChangedNow(watchedHosts())) << "the kept copy's time came back with it";
  WIN32_FIND_DATAA found;
  EXPECT_EQ(FindFirstFileA((folderOf(hosts) + "\\tvr*.tmp").c_str(), &found), INVALID_HANDLE_VALUE);

  SetFileAttributesA(hosts.c_str(), FILE_ATTRIBUTE_NORMAL);
  testutil::writeFile(hosts, edited);
  const auto accept = [](HWND dialog) {
    SendMessageA(GetDlgItem(dialog, IDC_FILE_CHANGE_STOP_WATCHING), BM_SETCHECK, BST_CHECKED, 0);
    driver::pressButton(dialog, IDC_FILE_CHANGE_ACCEPT);
  };
  // A kept copy that cannot be written: the error is shown and nothing stored or dropped.
  HANDLE holder = CreateFileA(keptCopyPath("HOSTS").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string error;
  driver::dialogsDuring([&] { checkSystemFiles(state); },
                        [&](HWND alert) {
                          accept(alert);
                          HWND box = driver::waitForProcessWindow(GetCurrentProcessId(), "#32770", 5000, {alert});
                          error = box ? driver::windowText(box) : "<none>";
                          if (box) driver::pressButton(box, IDOK);
                        });
  CloseHandle(holder);
  EXPECT_EQ(error, "System Error");
  EXPECT_EQ(storedOfHosts("Size"), std::to_string(recorded.size()));
  EXPECT_TRUE(watchedFileChangedNow(watchedHosts()));
  driver::dialogsDuring([&] { checkSystemFiles(state); }, accept);
  EXPECT_EQ(testutil::readFile(keptCopyPath("HOSTS")), edited);
  EXPECT_EQ(storedOfHosts("Size"), std::to_string(edited.size()));
  EXPECT_TRUE(watchedHosts().shortName.empty()) << "kept without a Location: never examined again";

  if (existed)
    testutil::writeFile(hosts, original);
  else
    DeleteFileA(hosts.c_str());
  testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfilesKey);
}

TEST(RestartCommands, NineXAsksOnceAndYesShowsThem) {
  const std::string windows = windowsFolder();
  testutil::writeFile(windows + "\\wininit.exe", "");
  testutil::writeFile(windows + "\\wininit.ini", "[rename]\nNUL=C:\\X.TMP\n");
  testutil::RegistrySnapshot options(HKEY_CURRENT_USER, {kOptionsKey});
  options.clearValues();
  for (const char* name : {"Start", "IEHelpers", "Hidden", "HostFile", "StartPage", "FileType", "Tasks", "Services"})
    testutil::setString(HKEY_CURRENT_USER, kOptionsKey, name, "0");
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "WinInit", "1");
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "HideBramble", "1");
  MonitorState state;
  prepareMonitorState(state);
  state.ntFamily = isWindowsNtFamily();
  loadMonitorOptions(state);
  std::string shown;
  const auto captions = driver::dialogsDuring(
      [&] {
        for (int pass = 0; pass < 4; ++pass, Sleep(1100)) runPatrolPass(state);  // A, B, A, B
      },
      [&](HWND dialog) {
        if (!GetDlgItem(dialog, IDC_RESTART_TEXT)) return driver::pressButton(dialog, IDYES);
        shown = driver::dialogItemText(dialog, IDC_RESTART_TEXT);
        Sleep(300);
        driver::screenshot("restart-commands");
        driver::pressButton(dialog, IDCANCEL);
      });
  DeleteFileA((windows + "\\wininit.exe").c_str());
#if TAVRIN_EXPECT_NT
  EXPECT_TRUE(captions.empty());
  EXPECT_EQ(showRestartCommands(state.instance, nullptr, false), 0) << "without wininit.exe, silently";
#else
  EXPECT_EQ(captions, (std::vector<std::string>{"Tavrin", "Tavrin - Windows Restart Commands"}));
  EXPECT_EQ(shown, "[rename]\r\nNUL=C:\\X.TMP\r\n");
#endif
  DeleteFileA((windows + "\\wininit.ini").c_str());
}
