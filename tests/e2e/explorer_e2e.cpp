// The Explorer's entry point driven from outside.
#include "support/sheet_test.h"
#include "support/system_fixtures.h"
#include "sys/paths.h"

#include <commctrl.h>
#include <wininet.h>

#include <algorithm>

namespace {
class Explorer : public SheetTest {};
}  // namespace

TEST_F(Explorer, RestartCommandsShowTheRestartFileOrSayThereIsNone) {
  const std::string windows = tavrin::windowsFolder(), restartFile = windows + "\\wininit.ini";
  testutil::writeFile(windows + "\\wininit.exe", "");
  testutil::writeFile(restartFile, "[rename]\nNUL=C:\\PROBE.TMP\n");
  ASSERT_NE(openSheet("-OPTIONS"), nullptr);
  HWND window = FindWindowA("TavrinEx", nullptr);
  PostMessageA(window, WM_COMMAND, 6034, 0);
  HWND shown = driver::waitForShownWindow("#32770", "Tavrin - Windows Restart Commands", 5000);
  if (shown) {
    EXPECT_EQ(driver::dialogItemText(shown, 1001), "[rename]\r\nNUL=C:\\PROBE.TMP\r\n");
    EXPECT_EQ(driver::dialogItemText(shown, 1002), restartFile);
    picture("restart_commands_explorer");
    EXPECT_TRUE(driver::pressAndClose(shown, IDCANCEL));
  }
  EXPECT_NE(shown, nullptr);
  testutil::writeFile(restartFile, "");
  PostMessageA(window, WM_COMMAND, 6034, 0);
  HWND none = driver::waitForDialogWith("No commands have been found in the WinInit.ini file.", 5000);
  EXPECT_NE(none, nullptr);
  if (none) driver::pressButton(none, IDOK);
  DeleteFileA(restartFile.c_str());
  DeleteFileA((windows + "\\wininit.exe").c_str());
}

// The tab sheet, its pages and dialogs.
namespace {

constexpr const char* kSystemKey = "Software\\Quennet\\Tavrin";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void clickHeader(HWND view, int x) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
  PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
}

class Sheet : public SheetTest {
 protected:
  void SetUp() override {
    SheetTest::SetUp();
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "StartTab");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "SortStartup");
  }
};

}  // namespace

TEST_F(Sheet, LaterSwitchesWinOnlyStartStartsTheMonitorQuitEndsAndAPlaceOffScreenComesBack) {
  HWND sheet = openSheet("-TASK -DELAY");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 1);  // Delayed Start
  EXPECT_EQ(driver::windowText(sheet), "Tavrin");
  EXPECT_FALSE(driver::appears("Tavrin", 2000)) << "only -START starts the Monitor";
  stopAll();
  // -START starts a Monitor when none runs, and only then; -q ends the Explorer.
  driver::Process explorer = driver::start(explorerPath(), "-START");
  EXPECT_NE(driver::waitForWindow("Tavrin", nullptr, 10000), nullptr);
  driver::Process again = driver::start(explorerPath(), "-START");
  ASSERT_TRUE(again.waitExit(10000));
  Sleep(1000);
  EXPECT_EQ(driver::processesNamed("Tavrin.exe").size(), 1u);
  driver::Process quit = driver::start(explorerPath(), "-q");
  ASSERT_TRUE(quit.waitExit(10000));
  DWORD code = 99;
  EXPECT_TRUE(explorer.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  stopAll();
  setOption("StartTab", "5000");
  // A stored place beyond the screen puts the sheet at the left edge.
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "xPos", "99999");
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "yPos", "40");
  sheet = openSheet("");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 0);
  RECT r;
  GetWindowRect(sheet, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 40);
}

TEST_F(Sheet, ASecondStartOnlyBringsTheSheetForwardCloseStoresThePageAndTheTraceIsItsOwn) {
  driver::Process none = driver::start(explorerPath(), "-Q");
  DWORD code = 99;
  ASSERT_TRUE(none.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FindWindowA("TavrinEx", nullptr), nullptr) << "-Q with none running opens nothing";
  const std::string trace = testutil::programDir() + "\\sendex2qn.txt";
  DeleteFileA(trace.c_str());
  HWND sheet = openSheet("-TASK");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 5);  // Active Tasks
  // It traces into a file of its own.
  const std::string begin = "-------------------------------------Begin TavrinEx: 12.0.2007.5:12.0.2007.5";
  EXPECT_TRUE(driver::waitUntil([&] { return testutil::readFile(trace).find(begin) != std::string::npos; }, 5000));
  // The main window is only a taskbar button: above the screen with no size.
  RECT r;
  GetWindowRect(FindWindowA("TavrinEx", nullptr), &r);
  EXPECT_EQ(r.top, -200);
  driver::Process second = driver::start(explorerPath(), "-DELAY");
  ASSERT_TRUE(second.waitExit(10000));
  Sleep(500);
  EXPECT_EQ(driver::processesNamed("TavrinEx.exe").size(), 1u);
  EXPECT_EQ(currentTab(sheet), 5);
  EXPECT_TRUE(IsWindow(sheet));
  // The page's own Close ends the Explorer and stores the page for the next start.
  driver::pressButton(currentPage(sheet), 1004);
  code = 99;
  ASSERT_TRUE(explorer_.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kOptions, "StartTab"), "6029");
  // With Debug off nothing is traced.
  DeleteFileA(trace.c_str());
  setOption("Debug", "0");
  ASSERT_NE(openSheet(""), nullptr);
  Sleep(1000);
  EXPECT_EQ(GetFileAttributesA(trace.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Sheet, SortingTwiceReversesARefillKeepsItAndInfoPagesWithWrapAround) {
  testutil::RegistrySnapshot run(HKEY_CURRENT_USER, {kRunKey});
  run.clearValues();
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Bravo", "C:\\windows\\notepad.exe");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "alpha", "C:\\windows\\regedit.exe");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Charlie", "C:\\windows\\system32\\winver.exe");
  ASSERT_TRUE(open("-START", 3));
  auto names = [&] {
    std::vector<std::string> mine;
    for (const std::string& name : columnTexts(view()))
      if (name == "alpha" || name == "Bravo" || name == "Charlie") mine.push_back(name);
    return mine;
  };
  const std::vector<std::string> up{"alpha", "Bravo", "Charlie"}, down{"Charlie", "Bravo", "alpha"};
  clickHeader(view(), 10);
  EXPECT_TRUE(driver::waitUntil([&] { return names() == up; }, 3000));
  clickHeader(view(), 10);
  EXPECT_TRUE(driver::waitUntil([&] { return names() == down; }, 3000));
  // Leaving the page and coming back refills it in the order last shown.
  showTab(1);
  showTab(0);
  ASSERT_TRUE(driver::waitUntil([&] { return SendMessageA(view(), LVM_GETITEMCOUNT, 0, 0) >= 3; }, 5000));
  EXPECT_EQ(names(), down);
  picture("tab_startup_sorted");

  // Info on the last row; Close, the default button, has the focus.
  const std::vector<std::string> all = columnTexts(view());
  select(static_cast<int>(all.size()) - 1);
  command(1008);
  HWND info = driver::waitForShownWindow("#32770", all.back().c_str(), 5000);
  ASSERT_NE(info, nullptr);
  picture("info_dialog");
  EXPECT_EQ(driver::focusOf(info), GetDlgItem(info, IDOK));
  // ">>" goes through the whole list in entry order and comes back round; "<<" steps back.
  std::vector<std::string> seen{all.back()};
  for (std::size_t step = 0; step < all.size(); ++step) {
    driver::pressButton(info, 1082);
    // Each step waits for the page to change; a fixed pause was too short under load.
    driver::waitUntil([&] { return driver::windowText(info) != seen.back() || all.size() == 1; }, 3000);
    seen.push_back(driver::windowText(info));
  }
  EXPECT_EQ(seen.back(), all.back());
  std::vector<std::string> visited(seen.begin() + 1, seen.end()), expected = all;
  std::sort(visited.begin(), visited.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(visited, expected);
  driver::pressButton(info, 1083);
  EXPECT_TRUE(driver::waitUntil([&] { return driver::windowText(info) == seen[seen.size() - 2]; }, 3000));
  EXPECT_TRUE(driver::pressAndClose(info, 1));
}

TEST_F(Sheet, EveryTabAndTheHistoryDialogShow) {
  ASSERT_NE(openSheet("-START"), nullptr);
  const char* names[] = {"startup", "delayed", "ie_helpers", "scheduled", "services",
                         "active_tasks", "cookies", "file_types", "hidden", "options"};
  // Each page shown after the sheet grew is laid out to the new size.
  SetWindowPos(sheet_, nullptr, 0, 0, 1000, 900, SWP_NOZORDER | SWP_NOACTIVATE);
  for (int tab = 0; tab < 10; ++tab) {
    showTab(tab);
    ASSERT_EQ(currentTab(sheet_), tab);
    HWND close = GetDlgItem(page(), 1004);  // the page's own Close
    EXPECT_TRUE(IsWindowVisible(close)) << tab;
    RECT pageRect, closeRect;
    GetWindowRect(page(), &pageRect);
    GetWindowRect(close, &closeRect);
    if (tab != 6) {  // Cookies: a form of fixed size
      EXPECT_GT(closeRect.bottom, pageRect.bottom - 40) << names[tab];
    }
    picture(std::string("tab_") + names[tab]);
  }
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet_, 6050)));  // the status bar
  command(1104);
  HWND history = driver::waitForShownWindow("#32770", "Tavrin History", 5000);
  ASSERT_NE(history, nullptr);
  picture("history_dialog");
  EXPECT_TRUE(driver::pressAndClose(history, 1));
}

// The startup pages: moving to Delayed Start and back, the delay options, and
// the Winlogon Shell reset.
namespace {

constexpr const char* kDelayKey = "Software\\Quennet\\Tavrin\\Delay";
constexpr const char* kApprovedKey = "Software\\Quennet\\Tavrin\\Run";
constexpr const char* kWinlogonKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kProbeProgram = "C:\\windows\\system32\\winver.exe";

std::vector<std::string> delayKeys() {
  std::vector<std::string> keys{kDelayKey};
  for (const char* sub : {"Title", "Time", "Parameters", "Shortcuts", "Applet", "OpenAs"})
    keys.push_back(std::string(kDelayKey) + "\\" + sub);
  return keys;
}

using testutil::valueOf;

class StartupPages : public Sheet {
 protected:
  void SetUp() override {
    Sheet::SetUp();
    setOption("StartTab", "6026");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "SortPrograms");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "ShowAllStartup");
    run_.clearValues();
    delays_.clearValues();
    machineDelays_.clearValues();
  }
  void TearDown() override {
    Sheet::TearDown();
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "ShowAllStartup");
  }
  testutil::RegistrySnapshot run_{HKEY_CURRENT_USER, {kRunKey}}, machineRun_{HKEY_LOCAL_MACHINE, {kRunKey}};
  testutil::RegistrySnapshot delays_{HKEY_CURRENT_USER, delayKeys()}, machineDelays_{HKEY_LOCAL_MACHINE, delayKeys()};
  testutil::RegistrySnapshot approved_{HKEY_CURRENT_USER, {kApprovedKey}};
};

}  // namespace

TEST_F(StartupPages, ARunEntryMovesToDelayedStartShowsItsDelayAndComesBack) {
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "DelayProbe", kProbeProgram);
  testutil::setString(HKEY_LOCAL_MACHINE, kRunKey, "MachineProbe", "C:\\windows\\notepad.exe");
  ASSERT_NE(openSheet(""), nullptr);
  ASSERT_EQ(currentTab(sheet_), 0);

  // An all-users entry asks string 1120 first; Cancel leaves it where it was.
  ASSERT_GE(selectRowWith(0, "MachineProbe"), 0);
  command(1195);
  EXPECT_NE(answer(IDCANCEL, -1, "startup_all_users_question").find("used by everyone who may logon"), std::string::npos);
  Sleep(500);
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kRunKey, "MachineProbe"), "C:\\windows\\notepad.exe");
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kDelayKey, "C:\\windows\\notepad.exe"), "<missing>");

  // A current-user entry moves without a question.
  ASSERT_GE(selectRowWith(0, "DelayProbe"), 0);
  command(1195);
  ASSERT_TRUE(becomes(HKEY_CURRENT_USER, kApprovedKey, kProbeProgram, "1103"));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kRunKey, "DelayProbe"), "<missing>");
  EXPECT_EQ(otherDialog(0), nullptr);
  // The page refilled without it.
  EXPECT_TRUE(driver::waitUntil([&] { return rowWith(view(), 0, "DelayProbe") < 0; }, 3000));

  // Listed on Delayed Start under its title, with the default delay.
  showTab(1);
  const int row = selectRowWith(1, "winver.exe");
  ASSERT_GE(row, 0);
  EXPECT_EQ(cell(row, 0), "DelayProbe");
  EXPECT_EQ(cell(row, 3), "30 Sec.");
  EXPECT_EQ(cell(row, 2), "");  // the file exists and is not running
  picture("delayed_page");

  // Delay options: 2 minutes and the fourth seconds choice store 150 seconds.
  command(1197);
  HWND options = otherDialog();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(driver::windowText(options), "Program Delay Startup Options");
  EXPECT_EQ(driver::dialogItemText(options, 1195), "DelayProbe");
  EXPECT_EQ(SendMessageA(GetDlgItem(options, 1196), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(options, 1191), CB_GETCURSEL, 0, 0), 3);
  picture("delay_options_dialog");
  SendMessageA(GetDlgItem(options, 1196), CB_SETCURSEL, 2, 0);
  SendMessageA(GetDlgItem(options, 1191), CB_SETCURSEL, 3, 0);
  SendMessageA(GetDlgItem(options, 1199), CB_SETCURSEL, 1, 0);
  ASSERT_TRUE(driver::pressAndClose(options, IDOK));
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\Time", kProbeProgram, "150", 3000));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\OpenAs", kProbeProgram), "1");
  EXPECT_TRUE(driver::waitUntil([&] { return cell(rowWith(view(), 1, "winver.exe"), 3) == "2 Min. : 30 Sec."; }, 3000));

  // Restore puts the Run value back, without a question, and empties the list.
  ASSERT_GE(selectRowWith(1, "winver.exe"), 0);
  command(1198);
  ASSERT_TRUE(driver::waitUntil([&] { return valueOf(HKEY_CURRENT_USER, kRunKey, "DelayProbe") != "<missing>"; }, 5000));
  EXPECT_NE(valueOf(HKEY_CURRENT_USER, kRunKey, "DelayProbe").find(kProbeProgram), std::string::npos);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kDelayKey, kProbeProgram, "<missing>"));
  EXPECT_EQ(otherDialog(0), nullptr);
  EXPECT_TRUE(driver::waitUntil([&] { return rowWith(view(), 1, "winver.exe") < 0; }, 3000));
}

TEST_F(StartupPages, RemovingFromDelayedStartAsksAndCancelKeepsIt) {
  // Added directly to the list, with a delay that is not below a minute and a missing file.
  testutil::setString(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\notepad.exe", "11");
  testutil::setString(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\Time", "C:\\windows\\notepad.exe", "45");
  testutil::setString(HKEY_CURRENT_USER, kDelayKey, "C:\\nowhere\\gone.exe", "11");
  testutil::setString(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\hh.exe", "11");
  testutil::setString(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\Time", "C:\\windows\\hh.exe", "150");
  setOption("StartTab", "6055");
  setOption("SortPrograms", "4");
  ASSERT_NE(openSheet(""), nullptr);
  ASSERT_EQ(currentTab(sheet_), 1);
  ASSERT_GE(selectRowWith(1, "gone.exe"), 0);
  EXPECT_EQ(cell(rowWith(view(), 1, "gone.exe"), 2), "Local File not found.");
  EXPECT_EQ(cell(rowWith(view(), 1, "gone.exe"), 3), "0 Sec.");
  EXPECT_EQ(cell(rowWith(view(), 1, "notepad.exe"), 3), "45 Sec.");
  // Stored sort by the delay: by its seconds, neither by the text shown nor as listed.
  EXPECT_EQ(columnTexts(view(), 1), (std::vector<std::string>{"gone.exe", "notepad.exe", "hh.exe"}));

  ASSERT_GE(selectRowWith(1, "notepad.exe"), 0);
  command(1003);
  EXPECT_NE(answer(IDCANCEL).find("removed from the Delayed Start list"), std::string::npos);
  Sleep(500);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\notepad.exe"), "11");
  // No: off the list and not back in startup.
  command(1003);
  answer(IDNO);
  ASSERT_TRUE(becomes(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\notepad.exe", "<missing>"));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\Time", "C:\\windows\\notepad.exe"), "<missing>");
  EXPECT_TRUE(waitWithoutRow(1, "notepad.exe"));
  // Nothing went back to the (emptied) Run key.
  EXPECT_TRUE(testutil::valueNames(HKEY_CURRENT_USER, kRunKey).empty());
}

TEST_F(StartupPages, WinlogonShellOffersResetOnlyAndResetsWithoutAQuestion) {
  testutil::RegistrySnapshot winlogon(HKEY_LOCAL_MACHINE, {kWinlogonKey});
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "RunProbe", kProbeProgram);
  testutil::setString(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", "Explorer.exe C:\\windows\\notepad.exe");
  setOption("ShowAllStartup", "1");
  ASSERT_NE(openSheet(""), nullptr);
  EXPECT_EQ(IsDlgButtonChecked(page(), 1014), BST_CHECKED);

  ASSERT_GE(selectRowWith(0, "Winlogon Shell"), 0);
  EXPECT_TRUE(driver::waitUntil([&] { return driver::dialogItemText(page(), 1003) == "&Reset"; }, 3000));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), 10)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), 11)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page(), 1003)));
  HWND status = GetDlgItem(sheet_, 6050);
  EXPECT_EQ(driver::windowText(status),
            "Startup Location: HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Shell");
  picture("startup_shell_selected");

  // It cannot be delayed: string 1130 in the message dialog.
  command(1195);
  EXPECT_NE(answer(IDOK, 1001, "startup_cannot_delay").find("must remain as a normal Windows Startup program"), std::string::npos);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\notepad.exe"), "<missing>");

  // A Run entry brings back Remove and an enabled Disable.
  ASSERT_GE(selectRowWith(0, "RunProbe"), 0);
  EXPECT_TRUE(driver::waitUntil([&] { return driver::dialogItemText(page(), 1003) == "&Remove"; }, 3000));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page(), 11)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page(), 11)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page(), 10)));

  ASSERT_GE(selectRowWith(0, "Winlogon Shell"), 0);
  command(1003);
  ASSERT_TRUE(becomes(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", "Explorer.exe"));
  Sleep(500);
  EXPECT_EQ(otherDialog(0), nullptr);
  // The refilled row now names the Windows default.
  EXPECT_TRUE(driver::waitUntil(
      [&] {
        const int row = rowWith(view(), 0, "Winlogon Shell");
        return row >= 0 && cell(row, 1) == "Explorer.exe";
      },
      3000));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kRunKey, "RunProbe"), kProbeProgram);

  // Unticking the box stores the option and leaves the advanced places out.
  testutil::setString(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", "Explorer.exe C:\\windows\\notepad.exe");
  SendMessageA(GetDlgItem(page(), 1014), BM_SETCHECK, BST_UNCHECKED, 0);
  PostMessageA(page(), WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page(), 1014)));
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kOptions, "ShowAllStartup", "0", 3000));
  Sleep(500);
  EXPECT_LT(rowWith(view(), 0, "Winlogon Shell"), 0);
  EXPECT_GE(rowWith(view(), 0, "RunProbe"), 0);
}

TEST_F(StartupPages, AddChoosesAFileOnBothPages) {
  ASSERT_NE(openSheet(""), nullptr);
  // The chooser takes the typed name and OK.
  auto choose = [&](const std::string& path) {
    HWND chooser = driver::waitForShownWindow("#32770", "Add AutoStart Program", 5000);
    if (!chooser) return false;
    picture("add_file_dialog");
    // The file name box (a combo box in the Explorer-style chooser).
    SendMessageA(GetDlgItem(chooser, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    driver::pressButton(chooser, IDOK);
    return driver::waitUntil([&] { return !IsWindow(chooser); }, 5000);
  };

  command(1064);
  ASSERT_TRUE(choose(kProbeProgram));
  const std::string quoted = std::string("\"") + kProbeProgram + "\"";
  std::string name;
  ASSERT_TRUE(driver::waitUntil([&] {
    const std::vector<std::string> names = testutil::valueNames(HKEY_CURRENT_USER, kRunKey);
    return !names.empty() && !(name = names[0]).empty();
  }, 5000));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kRunKey, name), quoted);
  // The approval is written just after the Run value: wait for it as well.
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kApprovedKey, kProbeProgram, "1", 3000)) << "approved as it is listed";
  EXPECT_TRUE(driver::waitUntil([&] { return rowWith(view(), 0, name) >= 0; }, 3000));

  // On Delayed Start the program goes to the current user's list by default.
  showTab(1);
  command(1064);
  ASSERT_TRUE(choose("C:\\windows\\notepad.exe"));
  HWND scope = driver::waitForShownWindow("#32770", "Startup Program Type", 5000);
  ASSERT_NE(scope, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(scope, 1200), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(scope, 1199), BST_UNCHECKED);
  picture("startup_type_dialog");
  driver::pressButton(scope, IDOK);
  ASSERT_TRUE(becomes(HKEY_CURRENT_USER, kDelayKey, "C:\\windows\\notepad.exe", "11"));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, std::string(kDelayKey) + "\\Time", "C:\\windows\\notepad.exe"), "30");
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kDelayKey, "C:\\windows\\notepad.exe"), "<missing>");
  EXPECT_TRUE(driver::waitUntil([&] { return rowWith(view(), 1, "notepad.exe") >= 0; }, 3000));
}

TEST_F(StartupPages, DisableEnableAndRemoveARunEntry) {
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "ToggleProbe", kProbeProgram);
  const std::string history = testutil::programDir() + "\\history.txt";
  const std::size_t before = testutil::readFile(history).size();
  ASSERT_NE(openSheet(""), nullptr);

  ASSERT_GE(selectRowWith(0, "ToggleProbe"), 0);
  command(11);
  ASSERT_TRUE(becomes(HKEY_CURRENT_USER, kRunKey, "ToggleProbe", "<missing>"));
  EXPECT_TRUE(driver::waitUntil(
      [&] { return cell(rowWith(view(), 0, "ToggleProbe"), 3) == "   Disabled"; }, 3000));
  ASSERT_GE(selectRowWith(0, "ToggleProbe"), 0);
  EXPECT_TRUE(driver::waitUntil([&] { return IsWindowVisible(GetDlgItem(page(), 10)) != FALSE; }, 3000));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page(), 11)));
  EXPECT_EQ(driver::windowText(GetDlgItem(sheet_, 6050)),
            "Startup Location:  *    Disabled * HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_NE(testutil::readFile(history).substr(before).find("START_Disable"), std::string::npos);

  command(10);
  ASSERT_TRUE(driver::waitUntil([&] { return valueOf(HKEY_CURRENT_USER, kRunKey, "ToggleProbe") != "<missing>"; }, 5000));
  EXPECT_NE(valueOf(HKEY_CURRENT_USER, kRunKey, "ToggleProbe").find("winver.exe"), std::string::npos);
  EXPECT_NE(testutil::readFile(history).substr(before).find("START_Enable"), std::string::npos);

  // One selected row: string 15 asks; No keeps the entry, Yes removes it.
  ASSERT_GE(selectRowWith(0, "ToggleProbe"), 0);
  command(1003);
  EXPECT_NE(answer(IDNO).find("You have chosen to remove"), std::string::npos);
  Sleep(500);
  EXPECT_NE(valueOf(HKEY_CURRENT_USER, kRunKey, "ToggleProbe"), "<missing>");
  ASSERT_GE(selectRowWith(0, "ToggleProbe"), 0);
  command(1003);
  answer(IDYES);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kRunKey, "ToggleProbe", "<missing>"));
  EXPECT_TRUE(driver::waitUntil([&] { return rowWith(view(), 0, "ToggleProbe") < 0; }, 3000));
}

// The maker's cell is read when its row is shown; every row whose file exists
// is dated once (two rows of one file share the date), a missing file is not,
// and a stored text too long for a date is shown as none and left as it is.
TEST_F(StartupPages, RowsShowTheirMakerAndFilesAreDatedOnce) {
  const std::string detected = "Software\\Quennet\\Detected\\Startup";
  const std::string monitor = testutil::programDir() + "\\Tavrin.exe";
  testutil::RegistrySnapshot dates(HKEY_CURRENT_USER, {detected});
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "MakerProbe", "\"" + monitor + "\" /a");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "MakerProbeAgain", "\"" + monitor + "\" /b");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "GoneProbe", "C:\\gone\\missing.exe /s");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "LongDateProbe", kProbeProgram);
  testutil::deleteValue(HKEY_CURRENT_USER, detected, monitor);
  const std::string overlong(40, '7');
  testutil::setString(HKEY_CURRENT_USER, detected, kProbeProgram, overlong);
  ASSERT_NE(openSheet(""), nullptr);
  ASSERT_TRUE(driver::waitUntil([&] { return rowWith(view(), 0, "LongDateProbe") >= 0; }, 5000));

  RemoteBuffer cells(view());
  const int maker = rowWith(view(), 0, "MakerProbe"), again = rowWith(view(), 0, "MakerProbeAgain");
  const int gone = rowWith(view(), 0, "GoneProbe"), longDate = rowWith(view(), 0, "LongDateProbe");
  EXPECT_EQ(cells.cellText(view(), maker, 2), "Quennet");
  EXPECT_EQ(cells.cellText(view(), again, 2), "Quennet");
  const std::string date = valueOf(HKEY_CURRENT_USER, detected, monitor);
  EXPECT_NE(date, "<missing>");
  EXPECT_EQ(cells.cellText(view(), maker, 4), date);
  EXPECT_EQ(cells.cellText(view(), again, 4), date);
  EXPECT_EQ(cells.cellText(view(), gone, 2), "");
  EXPECT_EQ(cells.cellText(view(), gone, 4), "");
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, detected, "C:\\GONE\\MISSING.EXE"), "<missing>");
  EXPECT_EQ(cells.cellText(view(), longDate, 4), "");
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, detected, kProbeProgram), overlong);
}

TEST_F(StartupPages, ThePatrolTimeIconSetsTheStartupPatrol) {
  testutil::RegistrySnapshot options(HKEY_CURRENT_USER, {kOptions});
  // A fresh install shows what the Monitor does without options: real-time watching.
  testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "Start");
  testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "RealtimeStartup");
  ASSERT_NE(openSheet(""), nullptr);
  auto openDialog = [&] {
    command(1112);
    return driver::waitForShownWindow("#32770", "Patrol Time for Startup Programs", 5000);
  };
  HWND dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_CHECKED);
  ASSERT_TRUE(driver::pressAndClose(dialog, IDCANCEL));
  setOption("Start", "2");
  setOption("RealtimeStartup", "0");
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(driver::dialogItemText(dialog, 1004), "2");
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 1142), TBM_GETPOS, 0, 0), 2);
  SendMessageA(GetDlgItem(dialog, 1004), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("5"));
  EXPECT_TRUE(driver::waitUntil([&] { return SendMessageA(GetDlgItem(dialog, 1142), TBM_GETPOS, 0, 0) == 5; }, 2000));
  picture("patrol_time_dialog");
  driver::pressButton(dialog, IDOK);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kOptions, "Start", "5", 3000));
  // While real-time watching is on the time shows 0 and cannot be edited.
  setOption("RealtimeStartup", "1");
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(driver::dialogItemText(dialog, 1004), "0");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1004)));
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1014), BST_CHECKED);
  ASSERT_TRUE(driver::pressAndClose(dialog, IDCANCEL));
}

TEST_F(StartupPages, ReplaceableTextsAreFilledInNeverUsedAsFormats) {
  const std::string notify = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\Notify\\FormatPkg";
  const char* const windowsNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
  testutil::RegistrySnapshot texts(HKEY_LOCAL_MACHINE, {kSystemKey, windowsNt});
  // Overrides count outside English; each would read arguments that are not there as a format.
  testutil::setString(HKEY_LOCAL_MACHINE, kSystemKey, "LString634", "de");
  testutil::setString(HKEY_LOCAL_MACHINE, kSystemKey, "LString641", "&Online (641)");
  for (const char* id : {"15", "707", "908", "909"})
    testutil::setString(HKEY_LOCAL_MACHINE, kSystemKey, std::string("LString") + id, std::string(id) + " %s %d%x%n");
  const std::string probe = testutil::testDir() + "\\startup_probe.exe";
  driver::Process running = driver::start(probe);
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "FormatProbe", probe);
  testutil::setString(HKEY_LOCAL_MACHINE, windowsNt, "AppInit_Dlls", probe);
  testutil::setString(HKEY_LOCAL_MACHINE, notify, "DllName", "C:\\windows\\system32\\kernel32.dll");
  setOption("ShowAllStartup", "1");
  ASSERT_NE(openSheet(""), nullptr);
  auto answered = [&](int item) {
    HWND dialog = otherDialog();
    const std::string text = driver::dialogItemText(dialog, item);
    driver::pressButton(dialog, IDCANCEL);
    driver::pressAndClose(dialog, IDNO);
    return text;
  };
  ASSERT_GE(selectRowWith(0, "FormatProbe"), 0);
  command(1003);
  EXPECT_EQ(answered(0xFFFF), "707 FormatProbe %d%x\n");
  EXPECT_EQ(answered(0xFFFF), "15 " + probe + " %d%x\n");
  ASSERT_GE(selectRowWith(0, "Probe Updater"), 0);
  command(1003);
  EXPECT_EQ(answered(1086), "909 Probe Updater %d%x\n");
  ASSERT_GE(selectRowWith(0, "FormatPkg"), 0);
  command(1008);
  HWND info = driver::waitForShownWindow("#32770", "FormatPkg", 5000);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(driver::dialogItemText(info, 1067), "&Online (641)");
  EXPECT_EQ(driver::dialogItemText(info, 1033).rfind("908 FormatPkg %d%x\n", 0), 0u) << driver::dialogItemText(info, 1033);
  EXPECT_TRUE(driver::pressAndClose(info, IDOK));
  EXPECT_FALSE(explorer_.waitExit(0)) << "the Explorer still runs";
  testutil::deleteTree(HKEY_LOCAL_MACHINE, notify);
  driver::killAll("startup_probe.exe");
}

TEST_F(StartupPages, ANoteThatCannotBeSavedKeepsWhatWasTyped) {
  // Its note file's name is longer than any file name can be.
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "LongNote", "C:\\" + std::string(250, 'n') + ".exe");
  ASSERT_NE(openSheet(""), nullptr);
  ASSERT_GE(selectRowWith(0, "LongNote"), 0);
  command(1008);
  HWND info = driver::waitForShownWindow("#32770", "LongNote", 5000);
  ASSERT_NE(info, nullptr);
  driver::pressButton(info, 1069);
  ASSERT_TRUE(driver::waitUntil([&] { return driver::dialogItemText(info, 1033).rfind("LongNote\r\n", 0) == 0; }, 3000));
  SendMessageA(GetDlgItem(info, 1033), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed note"));
  driver::pressButton(info, 1069);
  Sleep(500);
  EXPECT_EQ(driver::dialogItemText(info, 1033), "typed note");
  driver::pressButton(info, IDOK);
}

// The cookie pages: filter words on the Cookies tab and the cookie list window.
namespace {

constexpr const char* kNutsKey = "Software\\Quennet\\Tavrin\\Nuts";
constexpr const char* kKeptKey = "Software\\Quennet\\Tavrin\\Cookies";
constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class CookiePages : public StartupPages {
 protected:
  void SetUp() override {
    StartupPages::SetUp();
    nuts_.clearValues();
    kept_.clearValues();
    setOption("ViewCookies", "0");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "SortCookie");
  }
  // The list window the Explorer opened, once its rows are there.
  HWND cookieList() {
    HWND list = driver::waitForShownWindow("#32770", "Tavrin - Cookies", 8000);
    if (list) driver::waitUntil([&] { return rows(list) > 0; }, 5000);
    return list;
  }
  static int rows(HWND list) { return static_cast<int>(SendDlgItemMessageA(list, 1000, LVM_GETITEMCOUNT, 0, 0)); }
  static void answerYes(const char* words) {
    HWND box = driver::waitForDialogWith(words, 5000);
    ASSERT_NE(box, nullptr) << words;
    driver::pressButton(box, IDYES);
  }
  testutil::RegistrySnapshot nuts_{HKEY_CURRENT_USER, {kNutsKey}};
  testutil::RegistrySnapshot kept_{HKEY_CURRENT_USER, {kKeptKey}};
  testutil::RegistrySnapshot settings_{HKEY_CURRENT_USER, {kSystemKey, kOptions}};
};

}  // namespace

TEST_F(CookiePages, MozillaCookiesKeptByTickAndTheRestRemovedVanishAtOnce) {
  fixtures::MozillaProfile profile;
  testutil::writeFile(profile.cookiesFile(), "# Netscape HTTP Cookie File\n" +
                                                 fixtures::cookieLine(".ads.example", "uid", "TRUE") +
                                                 fixtures::cookieLine("shop.example", "cart") +
                                                 fixtures::cookieLine("news.example", "sid"));
  setOption("Browser", "6");
  ASSERT_NE(openSheet("-COOKIE"), nullptr);
  HWND list = cookieList();
  ASSERT_NE(list, nullptr);
  HWND view = GetDlgItem(list, 1000);
  ASSERT_EQ(rows(list), 3);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(list, 1008)));  // no file to view in this mode
  const int ads = rowWith(view, 0, "ads.example - uid");
  EXPECT_EQ(RemoteBuffer(view).cellText(view, ads, 4), "True");
  picture("cookie_list_mozilla");
  int ssl = 15;  // clear of the divider, which drags
  for (int column = 0; column < 4; ++column) ssl += static_cast<int>(SendMessageA(view, LVM_GETCOLUMNWIDTH, column, 0));
  clickHeader(view, ssl);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kOptions, "SortCookie", "5", 3000));

  RemoteBuffer(view).tick(view, rowWith(view, 0, "shop.example - cart"));
  driver::pressButton(list, 1004);
  answerYes("NOT checked");
  ASSERT_TRUE(driver::waitUntil([&] { return rows(list) == 1; }, 5000));
  EXPECT_EQ(columnTexts(view), std::vector<std::string>{"shop.example - cart"});
  EXPECT_EQ(ListView_GetCheckState(view, 0), TRUE);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kKeptKey, "shop.example - cart"), "1");
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kNutsKey, "ads.example - uid"), "2");
  const std::string cleaned = testutil::readFile(profile.folder() + "\\cookiesnew.txt");
  testutil::writeFile(TAVRIN_COOKIE_JAR_DIR "\\list-window.txt", cleaned);
  testutil::writeFile(TAVRIN_COOKIE_JAR_DIR "\\list-window.expect", "shop.example\tcart\n");
  driver::pressButton(list, IDCANCEL);
  EXPECT_TRUE(driver::waitUntil([&] { return valueOf(HKEY_CURRENT_USER, kSystemKey, "dxCookie") != "<missing>"; }, 3000));
}

TEST_F(CookiePages, AFilterWordDeletesOnlyTheAdServersCookieFileUpToTheLimit) {
  ASSERT_TRUE(InternetSetCookieA("http://shop.example/", "cart", "7; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
  const std::string folder = valueOf(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies") + "\\";
  const std::string ad = folder + "root@AdServer.example[1].txt", other = folder + "root@news.example[1].txt";
  testutil::writeFile(ad, "uid\n42\nadserver.example/\n");
  testutil::writeFile(other, "sid\n8\nnews.example/\n");
  setOption("Browser", "1");
  ASSERT_NE(openSheet("-NUT"), nullptr);
  ASSERT_TRUE(driver::waitUntil([&] { return IsWindowVisible(GetDlgItem(page(), 1060)); }, 5000));
  SetDlgItemTextA(page(), 1060, "adserver");
  command(1064);
  ASSERT_TRUE(becomes(HKEY_CURRENT_USER, kNutsKey, "adserver", "1"));
  EXPECT_TRUE(driver::waitUntil([&] { return columnTexts(view()) == std::vector<std::string>{"adserver"}; }, 3000));
  EXPECT_EQ(GetFileAttributesA(ad.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA(other.c_str()), INVALID_FILE_ATTRIBUTES);
  picture("tab_cookies_filter");

  command(1066);
  HWND list = cookieList();
  ASSERT_NE(list, nullptr);
  HWND cookies = GetDlgItem(list, 1000);
  const int news = rowWith(cookies, 0, "root@news.example[1].txt");
  ASSERT_GE(news, 0);
  picture("cookie_list_ie");
  RemoteBuffer(cookies).select(cookies, news);
  driver::pressButton(list, 1008);
  HWND viewer = nullptr;
  ASSERT_TRUE(driver::waitUntil([&] {
    while ((viewer = FindWindowExA(nullptr, viewer, "#32770", "Tavrin - Cookies")))
      if (IsWindowVisible(viewer) && driver::dialogItemText(viewer, 1001) == "sid\r\n8\r\nnews.example/\r\n") return true;
    return false;
  }, 5000));
  picture("cookie_viewer");
  ASSERT_TRUE(driver::pressAndClose(viewer, IDCANCEL));
  // The new-cookie patrol's icon warns first.
  driver::pressButton(list, 1112);
  HWND advice = driver::waitForDialogWith("cookie patrol time", 5000);
  ASSERT_NE(advice, nullptr);
  driver::pressButton(advice, IDOK);
  HWND patrol = driver::waitForShownWindow("#32770", "Patrol Time for Cookies", 5000);
  ASSERT_NE(patrol, nullptr);
  ASSERT_TRUE(driver::pressAndClose(patrol, IDCANCEL));
  ASSERT_TRUE(driver::pressAndClose(list, IDCANCEL));

  command(1112);
  patrol = driver::waitForShownWindow("#32770", "Patrol Time for Cookie Filter", 5000);
  ASSERT_NE(patrol, nullptr);
  SetDlgItemTextA(patrol, 1004, "3");
  driver::pressButton(patrol, IDOK);
  EXPECT_TRUE(becomes(HKEY_CURRENT_USER, kOptions, "Nuts", "3", 3000));

  for (int i = 1; i < 256; ++i) testutil::setString(HKEY_CURRENT_USER, kNutsKey, "word" + std::to_string(i), "1");
  SetDlgItemTextA(page(), 1060, "one more");
  PostMessageA(GetDlgItem(page(), 1060), WM_KEYDOWN, VK_RETURN, 0);  // Enter adds too
  HWND box = driver::waitForDialogWith("limit in the number", 5000);
  ASSERT_NE(box, nullptr);
  driver::pressButton(box, IDOK);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kNutsKey, "one more"), "<missing>");
  DeleteFileA(other.c_str());
}
