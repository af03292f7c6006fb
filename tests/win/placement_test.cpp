// The tab sheet's placement on the Windows 9x branch (run as Windows 98).
#include <gtest/gtest.h>

#include "inventory/options.h"
#include "sheet.h"
#include "support/win_test_util.h"
#include "sys/version.h"

using namespace tavrin;

TEST(SheetPlacement, OutsideTheNtFamilyTheSheetMovesToItsStoredPlace) {
  ASSERT_FALSE(isWindowsNtFamily()) << "the test program runs under the wrong Windows version";
  testutil::RegistrySnapshot stored(HKEY_CURRENT_USER, {kSystemKey, kOptionsKey});
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "xPos", "120");
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "yPos", "99999");  // beyond the screen: half its height
  testutil::setString(HKEY_CURRENT_USER, kSystemKey, "dxPos", "900");
  testutil::setString(HKEY_CURRENT_USER, kOptionsKey, "StartTab", "6039");
  ExplorerState state;
  state.ntFamily = false;
  Sheet building(state);  // no page is current yet
  state.sheet = &building;
  HWND sheet = CreateWindowA("STATIC", "", WS_POPUP, 10, 10, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND page = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, sheet, nullptr, nullptr, nullptr);
  building.pageCreated(page);
  RECT r;
  GetWindowRect(sheet, &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYVIRTUALSCREEN) / 2);
  EXPECT_EQ(r.right - r.left, 300) << "moved, not sized";
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kOptionsKey, "StartTab"), "6039") << "no page to store yet";
  DestroyWindow(sheet);
}
