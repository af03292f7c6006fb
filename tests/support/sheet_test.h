#pragma once
// A started Explorer's tab sheet, driven as the user would: its page, rows,
// commands and the questions a page asks.
#include "support/programs_test.h"
#include "support/remote_list.h"

class SheetTest : public ProgramsTest {
 protected:
  // Each test's sheet and dialogs open where they would the first time.
  void SetUp() override {
    ProgramsTest::SetUp();
    for (const char* name : {"xPos", "yPos", "dxPos", "dyPos", "xInfo", "yInfo", "dxInfo", "dyInfo", "xPosAddFileType",
                             "yPosAddFileType"})
      testutil::deleteValue(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin", name);
  }
  // The sheet of a started Explorer, once it shows its page.
  HWND openSheet(const std::string& arguments) {
    explorer_ = driver::start(explorerPath(), arguments);
    sheet_ = driver::waitForProcessWindow(explorer_.pid(), "#32770", 15000);
    if (sheet_) driver::waitUntil([&] { return currentPage(sheet_) != nullptr; }, 5000);
    return sheet_;
  }
  // True once the page shows at least `rows` rows.
  bool open(const std::string& arguments, int rows = 1) {
    return openSheet(arguments) &&
           driver::waitUntil([&] { return SendMessageA(view(), LVM_GETITEMCOUNT, 0, 0) >= rows; }, 10000);
  }
  HWND page() const { return currentPage(sheet_); }
  HWND view() const { return GetDlgItem(page(), 1000); }
  std::string cell(int row, int column) const { return RemoteBuffer(view()).cellText(view(), row, column); }
  int waitForRow(int column, const std::string& text) const {
    int row = -1;
    driver::waitUntil([&] { return (row = rowWith(view(), column, text)) >= 0; }, 5000);
    return row;
  }
  bool waitWithoutRow(int column, const std::string& text) const {
    return driver::waitUntil([&] { return rowWith(view(), column, text) < 0; }, 5000);
  }
  void select(int row) const { RemoteBuffer(view()).select(view(), row); }
  // Waits for the row and selects it as the user would.
  int selectRowWith(int column, const std::string& text) const {
    const int row = waitForRow(column, text);
    if (row >= 0) select(row);
    return row;
  }
  void command(int id) const { PostMessageA(page(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void showTab(int tab) const {
    PostMessageA(sheet_, PSM_SETCURSEL, tab, 0);
    driver::waitUntil([&] { return currentTab(sheet_) == tab; }, 3000);
  }
  // A dialog of the Explorer other than the sheet (and `over`): a message box or one of the page's dialogs.
  HWND otherDialog(DWORD timeoutMs = 5000, HWND over = nullptr) const {
    return driver::waitForProcessWindow(explorer_.pid(), "#32770", timeoutMs, {sheet_, over});
  }
  // Answers the question or message shown and returns its text (a control's when item is given).
  std::string answer(int button, int item = -1, const char* shot = nullptr) const {
    HWND box = otherDialog();
    if (!box) return "<no dialog>";
    if (shot) picture(shot);
    const std::string text = item < 0 ? driver::messageBoxText(box) : driver::dialogItemText(box, item);
    driver::pressAndClose(box, button);
    return text;
  }
  // The page at the sheet's smallest size and at 1280x1000, the largest the screen holds.
  void pictures(const std::string& name) const {
    for (const SIZE size : {SIZE{100, 100}, SIZE{1280, 1000}}) {
      SetWindowPos(sheet_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
      Sleep(500);
      RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      Sleep(1000);  // let it paint
      driver::screenshot(name + (size.cx == 100 ? "_smallest" : "_1280x1000"));
    }
  }
  static void picture(const std::string& name) {
    Sleep(400);  // let it paint
    driver::screenshot(name);
  }
  driver::Process explorer_;
  HWND sheet_ = nullptr;
};
