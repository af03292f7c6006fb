// The information dialog's lines for an add-on and a running program; a
// second thread plays the user. The running program is this test itself, so
// nothing is started and nothing is stopped.
#include <gtest/gtest.h>

#include "base/entry_tables.h"
#include "info_dialog.h"
#include "resource.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

const char* const kServiceKey = "SYSTEM\\CurrentControlSet\\Services\\ProbeInfoHost";

bool shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

// The dialog's thread paints on its own time: let it finish before the picture.
void screenshotOf(HWND dialog, const char* name) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  driver::screenshot(name);
}

}  // namespace

TEST(AddOnInfo, AnAddOnShowsItsRegistryLocationAndARunningProgramItsServiceDescription) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  testutil::setString(HKEY_LOCAL_MACHINE, kServiceKey, "ImagePath", std::string("\"") + self + "\" -service");
  testutil::setString(HKEY_LOCAL_MACHINE, kServiceKey, "Description", "Hosts the add-on probe");
  ExplorerState state;
  state.instance = GetModuleHandleA(nullptr);
  // This program stands in for the toolbar's module too: it has an icon.
  state.entries.add("Probe Toolbar", self, "{5eed0001-0000-0000-0000-0000000000a1}", "1.2.3.4", typecode::kToolbar, 0);
  state.entries.add("Probe host", self, "", "", typecode::kRunningProgram, static_cast<int>(GetCurrentProcessId()));

  // Any other dialog is ended and fails the test instead of hanging it.
  const auto dialogs = driver::dialogsDuring([&] { InfoDialog(state, 0).run(nullptr); }, [&](HWND dialog) {
    EXPECT_EQ(driver::dialogItemText(dialog, IDC_INFO_LOCATION),
              "Location: \"HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar\"");
    EXPECT_FALSE(shown(dialog, IDC_INFO_STATUS)) << "an add-on has no run state";
    EXPECT_NE(SendMessageA(GetDlgItem(dialog, IDC_INFO_ICON), BM_GETIMAGE, IMAGE_ICON, 0), 0)
        << "a toolbar's detail is its version: the module's icon shows";
    screenshotOf(dialog, "info-addon");
    driver::pressButton(dialog, IDC_INFO_NEXT);
    EXPECT_TRUE(driver::waitUntil(
        [&] { return driver::dialogItemText(dialog, IDC_INFO_NOTE) == "Hosts the add-on probe"; }, 8000))
        << driver::dialogItemText(dialog, IDC_INFO_NOTE);
    EXPECT_EQ(driver::dialogItemText(dialog, IDC_INFO_LOCATION), "");
    EXPECT_EQ(driver::dialogItemText(dialog, IDC_INFO_STATUS), "Running");
    EXPECT_TRUE(shown(dialog, IDC_INFO_STOP));
    screenshotOf(dialog, "info-running-program");
    driver::pressButton(dialog, IDOK);
  });
  EXPECT_EQ(dialogs.size(), 1u);
  testutil::deleteTree(HKEY_LOCAL_MACHINE, kServiceKey);
}
