// The Explorer's Options page driven from outside, with a real Monitor where
// the page's changes are meant to reach it.
#include "support/sheet_test.h"

namespace {

constexpr const char* kExplorerVersion = "Software\\Wine\\AppDefaults\\TavrinEx.exe";
constexpr UINT kCheckNowMessage = 9024;

// Controls of the page and of the Set Patrol Time dialog.
constexpr int kRestartIcon = 1138, kRestartLabel = 1139, kHostsIcon = 1137, kOriginalTrayBox = 1201;
constexpr int kHistoryBox = 1024, kHideTrayBox = 1025, kLockBox = 1026;
constexpr int kPatrolEdit = 1004, kRealtimeBox = 1014;

std::string valueOf(const std::string& name) {
  return testutil::valueOf(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin\\Options", name);
}

class OptionsPage : public SheetTest {
 protected:
  void TearDown() override {
    SheetTest::TearDown();
    testutil::deleteTree(HKEY_CURRENT_USER, kExplorerVersion);
    driver::killAll("notepad.exe");
  }
  HWND openPage() { return openSheet("-OPTIONS") ? page() : nullptr; }
  // A click as the user makes it: the box changes, then tells the page.
  void click(HWND page, int id) { PostMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
  // The monitor icons are pictures that act on the mouse, not buttons.
  void clickPicture(HWND page, int id) {
    PostMessageA(GetDlgItem(page, id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(GetDlgItem(page, id), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  }
  bool becomes(const char* name, const std::string& value) { return SheetTest::becomes(HKEY_CURRENT_USER, kOptions, name, value); }

  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptions}};
};

}  // namespace

TEST_F(OptionsPage, EveryClickWritesItsOptionAndNothingWrittenElsewhereIsReverted) {
  testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "LockFileTypes");
  setOption("History", "1");
  HWND page = openPage();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(IsDlgButtonChecked(page, kLockBox), BST_UNCHECKED);
  ASSERT_EQ(IsDlgButtonChecked(page, kHistoryBox), BST_CHECKED);
  // The Cookies tab's options, written while the page shows.
  setOption("ViewCookies", "1");
  setOption("Browser", "6");
  for (const char* expected : {"1", "0"}) {
    setOption("Update", "0");
    click(page, kLockBox);
    EXPECT_TRUE(becomes("LockFileTypes", expected)) << expected;
    EXPECT_EQ(valueOf("Update"), "1");
  }
  click(page, kHistoryBox);
  EXPECT_TRUE(becomes("History", "0"));
  EXPECT_EQ(valueOf("ViewCookies"), "1");
  // Ending the Explorer writes nothing back either.
  driver::pressButton(page, 1004);
  ASSERT_TRUE(explorer_.waitExit(10000));
  EXPECT_EQ(valueOf("ViewCookies"), "1");
  EXPECT_EQ(valueOf("Browser"), "6");
  EXPECT_EQ(valueOf("History"), "0");
}

TEST_F(OptionsPage, TheRestartFileIsWatchedOutsideNtAndTheIconChoiceWithin) {
  HWND page = openPage();
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kRestartIcon)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kRestartLabel)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, kOriginalTrayBox)));
  pictures("options_page");
  RECT close, pageArea;
  GetWindowRect(GetDlgItem(page, 1004), &close);
  GetWindowRect(page, &pageArea);
  EXPECT_GT(close.top, pageArea.bottom - 80) << "the page's Close keeps to the bottom";
  stopAll();

  testutil::setString(HKEY_CURRENT_USER, kExplorerVersion, "Version", "win98");
  page = openPage();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, kRestartIcon)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, kRestartLabel)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, kOriginalTrayBox)));
  picture("options_page_win98");
}

TEST_F(OptionsPage, TheHostsPatrolTimeIsSetOnThePageAndUsedByTheMonitorsNextPass) {
  // The Monitor's passes look at nothing but, once it is on, the HOSTS file.
  for (const char* name : {"Start", "IEHelpers", "Hidden", "StartPage", "FileType", "HostFile", "RealtimeSysFiles"})
    setOption(name, "0");
  HWND monitor = startMonitor();
  ASSERT_NE(monitor, nullptr);
  HWND page = openPage();
  ASSERT_NE(page, nullptr);
  auto openDialog = [&] {
    clickPicture(page, kHostsIcon);
    return driver::waitForShownWindow("#32770", "Patrol Time for checking HOST file", 5000);
  };
  auto typeAndPress = [&](HWND dialog, const char* minutes, int button) {
    SendMessageA(GetDlgItem(dialog, kPatrolEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(minutes));
    driver::pressButton(dialog, button);
    return driver::waitUntil([&] { return !IsWindow(dialog); }, 3000);
  };
  HWND dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(typeAndPress(dialog, "45", IDOK));
  EXPECT_TRUE(becomes("HOSTFile", "45"));
  // Close after ticking real-time watching changes neither.
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  PostMessageA(GetDlgItem(dialog, kRealtimeBox), BM_CLICK, 0, 0);
  EXPECT_TRUE(becomes("RealtimeSysFiles", "1"));
  ASSERT_TRUE(typeAndPress(dialog, "7", IDCANCEL));
  EXPECT_EQ(valueOf("HOSTFile"), "45");
  EXPECT_EQ(valueOf("RealtimeSysFiles"), "0");
  // A negative time is no time at all, not a Close.
  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(typeAndPress(dialog, "-5", IDOK));
  EXPECT_TRUE(becomes("HOSTFile", "0"));
  ASSERT_EQ(traceText().find("Verify System Files"), std::string::npos);

  dialog = openDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(typeAndPress(dialog, "1", IDOK));
  ASSERT_TRUE(becomes("HOSTFile", "1"));
  // A new program makes the Monitor's next check reload the options the page marked.
  driver::Process notepad = driver::start("C:\\windows\\notepad.exe");
  ASSERT_TRUE(notepad);
  Sleep(500);
  PostMessageA(monitor, kCheckNowMessage, 0, 0);
  EXPECT_TRUE(traceHas("Verify System Files", 20000));
  EXPECT_TRUE(becomes("Update", "0"));
}

TEST_F(OptionsPage, HidingTheTrayIconFromThePageTakesTheMonitorsIconAway) {
  HWND monitor = startMonitor();
  ASSERT_NE(monitor, nullptr);
  ASSERT_TRUE(driver::waitUntil([&] { return trayIconPresent(monitor); }, 5000));
  HWND page = openPage();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(IsDlgButtonChecked(page, kHideTrayBox), BST_UNCHECKED);
  click(page, kHideTrayBox);
  HWND note = otherDialog();
  ASSERT_NE(note, nullptr);
  EXPECT_NE(driver::dialogItemText(note, 1001).find("taskbar icon hidden"), std::string::npos);
  picture("options_hide_tray_note");
  EXPECT_TRUE(trayIconPresent(monitor)) << "the note comes first";
  driver::pressButton(note, IDOK);
  EXPECT_TRUE(driver::waitUntil([&] { return !trayIconPresent(monitor); }, 5000));
  EXPECT_EQ(valueOf("HideBramble"), "1");
  click(page, kHideTrayBox);
  EXPECT_TRUE(driver::waitUntil([&] { return trayIconPresent(monitor); }, 5000));
  EXPECT_EQ(valueOf("HideBramble"), "0");
}
