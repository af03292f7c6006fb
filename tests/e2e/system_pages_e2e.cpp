// The inventory pages, each opened from its switch on a machine seeded with
// a real task, service, file type, add-on, running program and hidden file,
// and each action checked afterwards where the system keeps it.
#include "support/sheet_test.h"
#include "support/system_fixtures.h"

#include <vector>

namespace {

constexpr const char* kTavrinKey = "Software\\Quennet\\Tavrin";
constexpr const char* kApprovedTasks = "Software\\Quennet\\Tavrin\\Tasks";
constexpr const char* kClasses = "Software\\Classes\\";
constexpr int kInfo = 1008, kRemove = 1003, kAdd = 1064, kHideMicrosoft = 1014, kMonitorIcon = 1112;

bool sameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class SystemPages : public SheetTest {};

}  // namespace

TEST_F(SystemPages, ScheduledTaskShownWithoutItsEndingAndRemovedWithItsApproval) {
  CoInitialize(nullptr);
  ASSERT_TRUE(fixtures::startScheduler());
  ASSERT_TRUE(fixtures::createTask("Probe Page", "C:\\windows\\notepad.exe", "Checks the page", nullptr));
  testutil::setString(HKEY_CURRENT_USER, kApprovedTasks, "Probe Page.job", "800");
  ASSERT_TRUE(open("-SCHEDULE"));
  EXPECT_EQ(currentTab(sheet_), 3);
  const int row = waitForRow(0, "Probe Page");
  ASSERT_GE(row, 0);
  EXPECT_TRUE(sameText(cell(row, 1), "notepad.exe")) << cell(row, 1);
  EXPECT_EQ(cell(row, 3), "Never");
  pictures("page_scheduled");

  // No answers No; the task stays.
  select(row);
  command(kRemove);
  EXPECT_NE(answer(IDNO).find("You have chosen to remove Probe Page.job"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA(fixtures::taskFile("Probe Page").c_str()) != INVALID_FILE_ATTRIBUTES, true);
  // Yes deletes the task file and its approval, and the row goes.
  select(waitForRow(0, "Probe Page"));
  command(kRemove);
  answer(IDYES);
  EXPECT_TRUE(waitWithoutRow(0, "Probe Page"));
  EXPECT_EQ(GetFileAttributesA(fixtures::taskFile("Probe Page").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kApprovedTasks, "Probe Page.job"), "<missing>");
  DeleteFileA(fixtures::taskFile("Probe Page").c_str());
  CoUninitialize();
}

TEST_F(SystemPages, ServicesHideMicrosoftOnesDateNewOnesAndTakeAStartTypeFromInfo) {
  testutil::RegistrySnapshot options(HKEY_CURRENT_USER, {kOptions});
  setOption("HideMicrosoftServices", "0");
  char full[MAX_PATH] = {};
  GetFullPathNameA((testutil::testDir() + "\\..\\win\\probe_service.exe").c_str(), MAX_PATH, full, nullptr);
  fixtures::TestService probe("probesvc", "Probe Sentinel Service", std::string("\"") + full + "\"");
  ASSERT_TRUE(probe.installed());
  ASSERT_TRUE(probe.start());
  fixtures::registryService("probehost", "%SystemRoot%\\system32\\svchost.exe -k probe", 3,
                            "%SystemRoot%\\system32\\kernel32.dll");
  // Signed during the build as "Microsoft Corporation" by a root of the build's
  // own, which Wine trusts (Windows would not).
  GetFullPathNameA((testutil::testDir() + "\\..\\win\\signed\\signed_microsoft.exe").c_str(), MAX_PATH, full, nullptr);
  fixtures::registryService("signedms", std::string("\"") + full + "\"", 3, "");
  ASSERT_TRUE(open("-SERVICE"));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(sheet_, IDOK)));
  int row = waitForRow(0, "Probe Sentinel Service");
  ASSERT_GE(row, 0);
  EXPECT_TRUE(sameText(cell(row, 1), "probe_service.exe")) << cell(row, 1);
  EXPECT_EQ(cell(row, 2) + "|" + cell(row, 3) + "|" + cell(row, 4), "Probe Works|Running|Manual");
  const std::string detected = cell(row, 5);
  EXPECT_EQ(detected.size() >= 12 && detected[2] == '/', true) << "dated when first listed: " << detected;
  const int host = waitForRow(0, "Display of probehost");
  ASSERT_GE(host, 0);
  EXPECT_EQ(cell(host, 1) + "|" + cell(host, 2), "svchost.exe kernel32.dll|Microsoft Corporation");
  EXPECT_GE(waitForRow(0, "Display of signedms"), 0);
  pictures("page_services");

  // The box hides the service signed by Microsoft as its verdict arrives, and
  // is remembered; Wine's unsigned kernel32.dll only claims Microsoft and stays.
  SendMessageA(GetDlgItem(page(), kHideMicrosoft), BM_SETCHECK, BST_CHECKED, 0);
  driver::pressButton(page(), kHideMicrosoft);
  EXPECT_TRUE(waitWithoutRow(0, "Display of signedms"));
  EXPECT_GE(rowWith(view(), 0, "Display of probehost"), 0);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kOptions, "HideMicrosoftServices"), "1");

  // Info: Disabled applied reaches the manager, and the page shows it once the dialog closes.
  row = waitForRow(0, "Probe Sentinel Service");
  select(row);
  command(kInfo);
  HWND info = driver::waitForShownWindow("#32770", "Probe Sentinel Service", 5000);
  ASSERT_NE(info, nullptr);
  HWND combo = GetDlgItem(info, 1090);
  SendMessageA(combo, CB_SETCURSEL, 2, 0);
  SendMessageA(info, WM_COMMAND, MAKEWPARAM(1090, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  driver::pressButton(info, 12);
  EXPECT_TRUE(driver::waitUntil([&] { return probe.startType() == SERVICE_DISABLED; }, 5000));
  ASSERT_TRUE(driver::pressAndClose(info, IDOK));
  EXPECT_TRUE(driver::waitUntil([&] { return cell(rowWith(view(), 0, "Probe Sentinel Service"), 4) == "Disabled"; },
                                5000));
  EXPECT_EQ(cell(rowWith(view(), 0, "Probe Sentinel Service"), 5), detected);
  testutil::deleteTree(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\probehost");
  testutil::deleteTree(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\signedms");
}

TEST_F(SystemPages, FileTypeAddedOnceRefusedAgainRemovedWithoutAQuestionAndItsPatrolTimeSet) {
  testutil::RegistrySnapshot store(HKEY_CURRENT_USER,
                                   {std::string(kTavrinKey) + "\\Class", std::string(kTavrinKey) + "\\Ext", kOptions});
  testutil::setString(HKEY_LOCAL_MACHINE, std::string(kClasses) + ".zzp", "", "zzpfile");
  testutil::setString(HKEY_LOCAL_MACHINE, std::string(kClasses) + "zzpfile", "", "Probe Document");
  testutil::setString(HKEY_LOCAL_MACHINE, std::string(kClasses) + "zzpfile\\shell\\open\\command", "",
                      "C:\\windows\\notepad.exe %1");
  ASSERT_TRUE(open("-FILETYPES", 0));
  EXPECT_EQ(currentTab(sheet_), 7);
  auto list = [] { return testutil::valueOf(HKEY_CURRENT_USER, std::string(kTavrinKey) + "\\Class", ""); };
  const std::string before = list();

  command(kAdd);
  HWND add = otherDialog();
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(driver::windowText(add), "Add File Type Extension");
  SetDlgItemTextA(add, 1004, "zzp");
  picture("add_file_type_dialog");
  ASSERT_TRUE(driver::pressAndClose(add, IDOK, 5000));
  EXPECT_EQ(list(), before + "zzp;");
  const int row = waitForRow(4, ".zzp");
  ASSERT_GE(row, 0);
  EXPECT_EQ(cell(row, 0) + "|" + cell(row, 3) + "|" + cell(row, 5), "Probe Document|zzpfile|System");
  EXPECT_TRUE(sameText(cell(row, 1), "notepad.exe")) << cell(row, 1);
  // The same extension again is refused with a message (a text that is none: the file type test), and the dialog stays.
  command(kAdd);
  add = otherDialog();
  ASSERT_NE(add, nullptr);
  SetDlgItemTextA(add, 1004, ".ZZP");
  driver::pressButton(add, IDOK);
  HWND message = otherDialog(5000, add);
  ASSERT_NE(message, nullptr);
  EXPECT_NE(driver::dialogItemText(message, 1001).find("already being monitored"), std::string::npos);
  driver::screenshot("add_file_type_refused");
  ASSERT_TRUE(driver::pressAndClose(message, IDOK));
  EXPECT_TRUE(IsWindow(add));
  ASSERT_TRUE(driver::pressAndClose(add, IDCANCEL));
  EXPECT_EQ(list(), before + "zzp;");
  pictures("page_file_types");

  // Remove asks nothing.
  select(waitForRow(4, ".zzp"));
  command(kRemove);
  EXPECT_TRUE(waitWithoutRow(4, ".zzp"));
  EXPECT_EQ(list(), before);

  // The monitor icon's patrol time: OK writes it, Close leaves it.
  for (const char* minutes : {"7", "9"}) {
    command(kMonitorIcon);
    HWND patrol = driver::waitForShownWindow("#32770", "Patrol Time for File Types", 5000);
    ASSERT_NE(patrol, nullptr);
    SetDlgItemTextA(patrol, 1004, minutes);
    ASSERT_TRUE(driver::pressAndClose(patrol, minutes[0] == '7' ? IDOK : IDCANCEL));
  }
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kOptions, "FileType"), "7");
  for (const char* key : {".zzp", "zzpfile"}) testutil::deleteTree(HKEY_LOCAL_MACHINE, std::string(kClasses) + key);
}

// The IE Helpers, Active Tasks and Hidden Files pages, seeded with an add-on,
// running programs and hidden files.
namespace {

constexpr const char* kHelperKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects\\{5eed0001-7a1e-4b0e-9c11-0000000000f1}";
constexpr const char* kHelperClassKey = "Software\\Classes\\CLSID\\{5eed0001-7a1e-4b0e-9c11-0000000000f1}";
constexpr int kRefresh = 1006, kKillTask = 1007, kUnhide = 1007, kDeleteOnReboot = 1144, kDeleteHidden = 1184,
              kNotepad = 1180;

class InventoryPages : public SystemPages {
 protected:
  void TearDown() override {
    SystemPages::TearDown();
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kHelperKey);
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kHelperClassKey);
    driver::killAll("taskprobe.exe");
  }
  std::string status() const { return driver::windowText(GetDlgItem(sheet_, 6050)); }
};

}  // namespace

TEST_F(InventoryPages, AnAddOnShowsWhereItIsRegisteredAndRemoveDeletesItsKey) {
  testutil::RegistrySnapshot dates(HKEY_CURRENT_USER, {"Software\\Quennet\\Detected\\IEHelper"});
  dates.clearValues();
  const std::string folder = "C:\\Program Files\\Page Probe", server = folder + "\\pageprobe.dll";
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\..\\win\\addon_probe.dll").c_str(), server.c_str(), FALSE));
  testutil::setString(HKEY_LOCAL_MACHINE, std::string(kHelperClassKey) + "\\InprocServer32", "", server);
  testutil::setString(HKEY_LOCAL_MACHINE, kHelperKey, "", "");
  ASSERT_TRUE(open("-BHO"));
  const int row = waitForRow(0, "Probe Toolbar");
  ASSERT_GE(row, 0);
  select(row);
  EXPECT_EQ(cell(row, 1), "pageprobe.dll");
  EXPECT_EQ(cell(row, 2), "Acme Tools");
  EXPECT_EQ(cell(row, 3), "BHO");
  EXPECT_NE(cell(row, 4), "") << "a first sighting is dated at once";
  EXPECT_TRUE(driver::waitUntil(
      [&] { return status() == "Location: HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects"; },
      3000))
      << status();
  pictures("page_ie_helpers");

  select(waitForRow(0, "Probe Toolbar"));
  command(kRemove);
  EXPECT_NE(answer(IDYES).find("Probe Toolbar"), std::string::npos);
  EXPECT_TRUE(becomes(HKEY_LOCAL_MACHINE, kHelperKey, "", "<missing>"));
  EXPECT_TRUE(waitWithoutRow(0, "Probe Toolbar"));
  EXPECT_TRUE(driver::waitUntil([] { return driver::processesNamed("regsvr32.exe").empty(); }, 10000));
}

TEST_F(InventoryPages, KillTaskEndsTheSelectedRowsEvenWhenTheirFileNamesAreAlike) {
  // Three programs of one file name: only their rows' entries tell them apart.
  std::vector<std::string> programs;
  std::vector<driver::Process> running;
  for (const char* name : {"task_a", "task_b", "task_c"}) {
    programs.push_back(testutil::freshFolder(name) + "\\taskprobe.exe");
    ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\startup_probe.exe").c_str(), programs.back().c_str(), FALSE));
    running.push_back(driver::start(programs.back()));
  }
  ASSERT_TRUE(open("-TASK"));
  auto probeRows = [&] {
    std::vector<int> rows;
    for (int row = 0; row < SendMessageA(view(), LVM_GETITEMCOUNT, 0, 0); ++row)
      if (sameText(cell(row, 0), "taskprobe.exe")) rows.push_back(row);
    return rows;
  };
  std::vector<int> rows;
  ASSERT_TRUE(driver::waitUntil([&] { return (rows = probeRows()).size() == 3; }, 5000));
  EXPECT_EQ(cell(rows[0], 1), "Probe update helper");
  EXPECT_EQ(cell(rows[0], 2), "Acme Tools");
  pictures("page_active_tasks");
  // The status bar names the selected row's program.
  auto rowOf = [&](const std::string& program) {
    for (int row : rows) {
      select(row);
      if (driver::waitUntil([&] { return sameText(status(), program); }, 500)) return row;
    }
    return -1;
  };
  const int b = rowOf(programs[1]), c = rowOf(programs[2]);
  ASSERT_TRUE(b >= 0 && c >= 0) << status();
  select(b);
  RemoteBuffer(view()).alsoSelect(view(), c);
  command(kKillTask);
  EXPECT_TRUE(running[1].waitExit(5000));
  EXPECT_TRUE(running[2].waitExit(5000));
  EXPECT_FALSE(running[0].waitExit(500)) << "the unselected one of the same name runs on";
  EXPECT_TRUE(driver::waitUntil([&] { return probeRows().size() == 1; }, 5000));
  // A second start brings the sheet forward, and the list is read again.
  running.push_back(driver::start(programs[1]));
  driver::Process second = driver::start(explorerPath(), "-TASK");
  EXPECT_TRUE(second.waitExit(10000));
  EXPECT_TRUE(driver::waitUntil([&] { return probeRows().size() == 2; }, 5000));
  // Refresh reads it again too.
  driver::killAll("taskprobe.exe");
  command(kRefresh);
  EXPECT_TRUE(driver::waitUntil([&] { return probeRows().empty(); }, 5000));
}

TEST_F(InventoryPages, HiddenFilesUnhideKeepsReadOnlyAndTheMenuActsOnTheFileItself) {
  const std::string kept = "C:\\tavrin page probe.txt", held = "C:\\tavrin_held_probe.txt",
                    doomed = "C:\\tavrin_vault_probe.txt";
  const char* const sessionKey = "System\\CurrentControlSet\\Control\\Session Manager";
  testutil::RegistrySnapshot pending(HKEY_LOCAL_MACHINE, {sessionKey});
  for (const std::string& file : {kept, held, doomed}) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(testutil::writeFile(file, "probe\r\n"));
  }
  {
    const SYSTEMTIME written{2007, 10, 5, 5, 21, 41, 7, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&written, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE file = CreateFileA(kept.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
  }
  SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(held.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(doomed.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::string history = testutil::programDir() + "\\history.txt";
  const std::size_t logged = testutil::readFile(history).size();
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(open("-HIDDEN"));
  const int heldRow = waitForRow(0, "tavrin_held_probe.txt"), keptRow = rowWith(view(), 0, "tavrin page probe.txt");
  ASSERT_TRUE(heldRow >= 0 && keptRow >= 0);
  EXPECT_EQ(cell(heldRow, 3), "File in Use");
  EXPECT_EQ(cell(heldRow, 4), "");
  EXPECT_EQ(cell(keptRow, 1), "C:\\");
  EXPECT_EQ(cell(keptRow, 3), "10/05/2007 9:41 PM") << "the seconds alone are dropped";
  EXPECT_EQ(cell(keptRow, 4), "SYSTEM");
  select(heldRow);
  pictures("page_hidden");

  // Delete on reboot registers the file in use with the system.
  command(kDeleteOnReboot);
  answer(IDYES);
  EXPECT_TRUE(driver::waitUntil([&] {
    std::string operations;
    DWORD type = 0;
    testutil::rawValue(HKEY_LOCAL_MACHINE, sessionKey, "PendingFileRenameOperations", operations, type);
    return operations.find(held) != std::string::npos;
  }, 3000));
  CloseHandle(holder);

  // Notepad gets the path in quotes, blanks and all.
  select(waitForRow(0, "tavrin page probe.txt"));
  driver::killAll("notepad.exe");
  command(kNotepad);
  const std::string notepad = notepadCommandLine();
  EXPECT_NE(notepad.find("\"" + kept + "\""), std::string::npos) << notepad;

  // Unhide clears the hidden attribute alone.
  select(waitForRow(0, "tavrin page probe.txt"));
  command(kUnhide);
  EXPECT_TRUE(driver::waitUntil([&] { return !(GetFileAttributesA(kept.c_str()) & FILE_ATTRIBUTE_HIDDEN); }, 5000));
  EXPECT_EQ(GetFileAttributesA(kept.c_str()) & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY),
            static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(waitWithoutRow(0, "tavrin page probe.txt"));

  // Delete asks, then the file goes to the vault.
  select(waitForRow(0, "tavrin_vault_probe.txt"));
  command(kDeleteHidden);
  answer(IDYES);
  EXPECT_TRUE(driver::waitUntil([&] { return GetFileAttributesA(doomed.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000));
  EXPECT_NE(testutil::readFile(history).find("HIDDEN_DeleteFile\tTYPE_HIDDEN\ttavrin_vault_probe\t" + doomed, logged),
            std::string::npos);
  for (const std::string& file : {kept, held}) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
}
