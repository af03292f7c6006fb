// The report commands of the running Explorer: command 9 from a page, and
// the hijack-style log an Explorer named for it writes before its sheet.
#include <windows.h>
#include <commctrl.h>

#include "support/programs_test.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class Reports : public ProgramsTest {
 protected:
  void TearDown() override {
    ProgramsTest::TearDown();
    // The shell opens what was written; its viewers are not under test.
    for (const char* viewer : {"notepad.exe", "winebrowser.exe", "TavrinHijack.exe"}) driver::killAll(viewer);
  }
  static bool fileHolds(const std::string& path, const std::string& text, DWORD timeoutMs) {
    return driver::waitUntil([&] { return testutil::readFile(path).find(text) != std::string::npos; }, timeoutMs);
  }
};

TEST_F(Reports, CommandNineWritesTheReportAndThePageKeepsItsRows) {
  const std::string report = testutil::programDir() + "\\TavrinLog.html";
  DeleteFileA(report.c_str());
  setOption("Format", "0");
  testutil::setString(HKEY_CURRENT_USER, kRunKey, "report probe", "C:\\windows\\notepad.exe");
  driver::Process explorer = driver::start(explorerPath());
  HWND sheet = driver::waitForProcessWindow(explorer.pid(), "#32770", 15000);
  ASSERT_NE(sheet, nullptr);
  HWND page = nullptr;
  ASSERT_TRUE(driver::waitUntil([&] { return (page = PropSheet_GetCurrentPageHwnd(sheet)) != nullptr; }, 5000));
  HWND view = GetDlgItem(page, 1000);
  ASSERT_TRUE(driver::waitUntil([&] { return SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) > 0; }, 5000));
  const LRESULT rows = SendMessageA(view, LVM_GETITEMCOUNT, 0, 0);
  PostMessageA(page, WM_COMMAND, 9, 0);
  EXPECT_TRUE(fileHolds(report, "</body></html>\r\n", 60000));
  EXPECT_NE(testutil::readFile(report).find("<A NAME=\"A7\">"), std::string::npos);
  EXPECT_TRUE(driver::waitUntil([&] { return SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) == rows; }, 5000));
  Sleep(500);
  driver::screenshot("report-written-from-startup-programs");
  testutil::deleteValue(HKEY_CURRENT_USER, kRunKey, "report probe");
}

TEST_F(Reports, AnExplorerNamedForTheHijackLogWritesItBeforeItsSheet) {
  const std::string log = testutil::programDir() + "\\HijackTavrin.log";
  const std::string renamed = testutil::programDir() + "\\TavrinHijack.exe";
  DeleteFileA(log.c_str());
  ASSERT_TRUE(CopyFileA(explorerPath().c_str(), renamed.c_str(), FALSE));
  driver::Process explorer = driver::start(renamed, "-OPTIONS");
  EXPECT_TRUE(fileHolds(log, "\r\n--\r\nEnd of file\r\n", 60000));
  EXPECT_NE(driver::waitForProcessWindow(explorer.pid(), "#32770", 15000), nullptr);
  driver::killAll("TavrinHijack.exe");
  driver::waitUntilGone("TavrinEx", 3000);
  DeleteFileA(renamed.c_str());
}

}  // namespace
