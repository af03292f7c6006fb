// The Explorer's entry point driven from outside.
#include "e2e_fixture.h"

#include <commctrl.h>

#include <algorithm>

namespace {
class Explorer : public ProgramsTest {};
}  // namespace

TEST_F(Explorer, SingleInstanceAndQuitInLowerCase) {
  driver::Process first = driver::start(explorerPath(), "-TASK");
  HWND window = driver::waitForWindow("TavrinEx", nullptr, 10000);
  ASSERT_NE(window, nullptr);
  // Only a taskbar button: the window sits above the screen with no size.
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.top, -200);
  driver::Process second = driver::start(explorerPath(), "-DELAY");
  ASSERT_TRUE(second.waitExit(10000));
  EXPECT_EQ(driver::processesNamed("TavrinEx.exe").size(), 1u);
  driver::Process quit = driver::start(explorerPath(), "-q");
  ASSERT_TRUE(quit.waitExit(10000));
  DWORD code = 99;
  EXPECT_TRUE(first.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(Explorer, StartSwitchStartsTheMonitorWhenNoneRuns) {
  driver::Process explorer = driver::start(explorerPath(), "-START");
  EXPECT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_NE(driver::waitForWindow("Tavrin", nullptr, 10000), nullptr);
  // With one running, another -START starts no second Monitor.
  driver::Process again = driver::start(explorerPath(), "-START");
  ASSERT_TRUE(again.waitExit(10000));
  Sleep(1000);
  EXPECT_EQ(driver::processesNamed("Tavrin.exe").size(), 1u);
}

TEST_F(Explorer, QuitWithNoneRunningOpensNothing) {
  driver::Process quit = driver::start(explorerPath(), "-Q");
  DWORD code = 99;
  ASSERT_TRUE(quit.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FindWindowA("TavrinEx", nullptr), nullptr);
}

TEST_F(Explorer, OtherSwitchesLeaveTheMonitorAlone) {
  driver::Process explorer = driver::start(explorerPath(), "-OPTIONS");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_FALSE(driver::appears("Tavrin", 2000));
}

TEST_F(Explorer, TracesIntoItsOwnFile) {
  const std::string trace = testutil::programDir() + "\\sendex2qn.txt";
  DeleteFileA(trace.c_str());
  driver::Process explorer = driver::start(explorerPath(), "-TASK");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  EXPECT_TRUE(driver::waitUntil(
      [&] {
        return testutil::readFile(trace).find("-------------------------------------Begin TavrinEx: 12.0.2007.5:12.0.2007.5") !=
               std::string::npos;
      },
      5000));
  // With Debug off nothing is written.
  stopAll();
  DeleteFileA(trace.c_str());
  setOption("Debug", "0");
  driver::Process quiet = driver::start(explorerPath(), "-TASK");
  ASSERT_NE(driver::waitForWindow("TavrinEx", nullptr, 10000), nullptr);
  Sleep(1000);
  EXPECT_EQ(GetFileAttributesA(trace.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The tab sheet, its pages and dialogs.
namespace {

constexpr const char* kSystemKey = "Software\\Quennet\\Tavrin";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

HWND tabOf(HWND sheet) { return FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr); }
int currentTab(HWND sheet) { return static_cast<int>(SendMessageA(tabOf(sheet), TCM_GETCURSEL, 0, 0)); }
HWND currentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// Memory in another process for list-view messages that carry pointers.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    memory_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBuffer() {
    VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  std::string cellText(HWND view, int row, int column) {
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = memory_ + 512;
    cell.cchTextMax = 1024;
    WriteProcessMemory(process_, memory_, &cell, sizeof cell, nullptr);
    SendMessageA(view, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory_));
    char text[1024] = {};
    ReadProcessMemory(process_, memory_ + 512, text, sizeof text - 1, nullptr);
    return text;
  }
  void select(HWND view, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(memory_));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory_));
  }

 private:
  HANDLE process_ = nullptr;
  char* memory_ = nullptr;
};

std::vector<std::string> column0(HWND view) {
  RemoteBuffer buffer(view);
  std::vector<std::string> names;
  const int rows = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) names.push_back(buffer.cellText(view, row, 0));
  return names;
}

void clickHeader(HWND view, int x) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
  PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
}

class Sheet : public ProgramsTest {
 protected:
  void SetUp() override {
    ProgramsTest::SetUp();
    for (const char* name : {"xPos", "yPos", "dxPos", "dyPos", "xInfo", "yInfo", "dxInfo", "dyInfo"})
      testutil::deleteValue(HKEY_CURRENT_USER, kSystemKey, name);
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "StartTab");
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "SortStartup");
  }
  // The sheet of a started Explorer, once it shows its page.
  HWND openSheet(const std::string& arguments) {
    explorer_ = driver::start(explorerPath(), arguments);
    HWND sheet = driver::waitForProcessWindow(explorer_.pid(), "#32770", 15000);
    if (sheet) driver::waitUntil([&] { return currentPage(sheet) != nullptr; }, 5000);
    return sheet;
  }
  driver::Process explorer_;
};

}  // namespace

TEST_F(Sheet, LaterSwitchesWinAndStartTabBelowTheFirstPageOpensStartup) {
  HWND sheet = openSheet("-TASK -DELAY");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 1);  // Delayed Start
  EXPECT_EQ(driver::windowText(sheet), "Tavrin");
  stopAll();
  sheet = openSheet("-RESTART");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 9);  // Options, the last tab on the NT family
  stopAll();
  setOption("StartTab", "5000");
  sheet = openSheet("");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 0);
}

TEST_F(Sheet, ASecondStartOnlyBringsTheSheetForward) {
  HWND sheet = openSheet("-TASK");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(currentTab(sheet), 5);  // Active Tasks
  driver::Process second = driver::start(explorerPath(), "-DELAY");
  ASSERT_TRUE(second.waitExit(10000));
  Sleep(500);
  EXPECT_EQ(currentTab(sheet), 5);
  EXPECT_TRUE(IsWindow(sheet));
  // The page's own Close ends the Explorer and stores the page for the next start.
  driver::pressButton(currentPage(sheet), 1004);
  DWORD code = 99;
  ASSERT_TRUE(explorer_.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  std::string startTab;
  DWORD type = 0;
  ASSERT_TRUE(testutil::rawValue(HKEY_CURRENT_USER, kOptions, "StartTab", startTab, type));
  EXPECT_EQ(startTab.c_str(), std::string("6029"));
}

TEST_F(Sheet, AStoredPlaceBeyondTheScreenPutsTheSheetAtTheLeftEdge) {
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "xPos", "99999");
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "yPos", "40");
  HWND sheet = openSheet("-OPTIONS");
  ASSERT_NE(sheet, nullptr);
  RECT r;
  GetWindowRect(sheet, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 40);
}

TEST_F(Sheet, SortingTwiceReversesARefillKeepsItAndInfoPagesWithWrapAround) {
  testutil::RegistrySnapshot run(HKEY_CURRENT_USER, {kRunKey});
  run.clearValues();
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Bravo", "C:\\windows\\notepad.exe");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "alpha", "C:\\windows\\regedit.exe");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "Charlie", "C:\\windows\\system32\\winver.exe");
  HWND sheet = openSheet("-START");
  ASSERT_NE(sheet, nullptr);
  HWND page = currentPage(sheet);
  HWND view = GetDlgItem(page, 1000);
  ASSERT_TRUE(driver::waitUntil([&] { return SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) >= 3; }, 5000));
  auto names = [&] {
    std::vector<std::string> mine;
    for (const std::string& name : column0(view))
      if (name == "alpha" || name == "Bravo" || name == "Charlie") mine.push_back(name);
    return mine;
  };
  const std::vector<std::string> up{"alpha", "Bravo", "Charlie"}, down{"Charlie", "Bravo", "alpha"};
  clickHeader(view, 10);
  EXPECT_TRUE(driver::waitUntil([&] { return names() == up; }, 3000));
  clickHeader(view, 10);
  EXPECT_TRUE(driver::waitUntil([&] { return names() == down; }, 3000));
  // Leaving the page and coming back refills it in the order last shown.
  PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
  driver::waitUntil([&] { return currentTab(sheet) == 1; }, 3000);
  PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
  driver::waitUntil([&] { return currentTab(sheet) == 0; }, 3000);
  ASSERT_TRUE(driver::waitUntil([&] { return SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) >= 3; }, 5000));
  EXPECT_EQ(names(), down);
  driver::screenshot("tab_startup_sorted");

  // Info on the last row, then ">>" shows the first and "<<" the last again.
  const std::vector<std::string> all = column0(view);
  ASSERT_FALSE(all.empty());
  RemoteBuffer(view).select(view, static_cast<int>(all.size()) - 1);
  PostMessageA(page, WM_COMMAND, 1008, 0);
  HWND info = nullptr;
  ASSERT_TRUE(driver::waitUntil([&] { return (info = FindWindowA("#32770", all.back().c_str())) != nullptr; }, 5000));
  driver::waitUntil([&] { return IsWindowVisible(info) != FALSE; }, 3000);
  Sleep(400);  // let it paint before the picture is taken
  driver::screenshot("info_dialog");
  // Paging goes through the whole list in entry order and comes back round.
  std::vector<std::string> seen{all.back()};
  for (std::size_t step = 0; step < all.size(); ++step) {
    const std::string before = driver::windowText(info);
    driver::pressButton(info, 1082);
    driver::waitUntil([&] { return driver::windowText(info) != before || all.size() == 1; }, 3000);
    seen.push_back(driver::windowText(info));
  }
  EXPECT_EQ(seen.back(), all.back());
  std::vector<std::string> visited(seen.begin(), seen.end() - 1), expected = all;
  std::sort(visited.begin(), visited.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(visited, expected);
  const std::string last = driver::windowText(info);
  driver::pressButton(info, 1083);
  driver::pressButton(info, 1082);
  Sleep(300);
  EXPECT_EQ(driver::windowText(info), last);
  driver::pressButton(info, 1);
  EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(info); }, 3000));
}

TEST_F(Sheet, EveryTabAndTheHistoryDialogShow) {
  HWND sheet = openSheet("-START");
  ASSERT_NE(sheet, nullptr);
  const char* names[] = {"startup", "delayed", "ie_helpers", "scheduled", "services",
                         "active_tasks", "cookies", "file_types", "hidden", "options"};
  for (int tab = 0; tab < 10; ++tab) {
    PostMessageA(sheet, PSM_SETCURSEL, tab, 0);
    ASSERT_TRUE(driver::waitUntil([&] { return currentTab(sheet) == tab; }, 3000)) << tab;
    HWND page = currentPage(sheet);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, 1004))) << tab;  // the page's own Close
    Sleep(300);  // let the page paint before the picture is taken
    driver::screenshot(std::string("tab_") + names[tab]);
  }
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, 6050)));  // the status bar
  PostMessageA(currentPage(sheet), WM_COMMAND, 1104, 0);
  HWND history = nullptr;
  ASSERT_TRUE(driver::waitUntil([&] { return (history = FindWindowA("#32770", "Tavrin History")) != nullptr; }, 5000));
  Sleep(300);
  driver::screenshot("history_dialog");
  driver::pressButton(history, 1);
  EXPECT_TRUE(driver::waitUntil([&] { return !IsWindow(history); }, 3000));
}
