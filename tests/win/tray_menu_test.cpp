// Built twice: once run as Windows XP, once as Windows 98 (per-program version).
#include <gtest/gtest.h>

#include "inventory/options.h"
#include "sys/handles.h"
#include "sys/version.h"
#include "tray.h"

using namespace tavrin;

// The items are not typed out again here; what differs by platform is tested.
TEST(TrayMenu, ServicesOnTheNtFamilyRestartCommandsOutsideIt) {
  const bool nt = isWindowsNtFamily();
  EXPECT_EQ(nt, TAVRIN_EXPECT_NT) << "the test program runs under the wrong Windows version";
  UniqueMenu menu(buildTrayMenu(nt));
  ASSERT_TRUE(menu);
  char text[256];
  EXPECT_EQ(GetMenuStringA(menu.get(), 6038, text, sizeof text, MF_BYCOMMAND) > 0, nt);
  EXPECT_EQ(GetMenuStringA(menu.get(), 6034, text, sizeof text, MF_BYCOMMAND) > 0, !nt);
  // Every item but a separator has its text; the last one ends the program.
  const int count = GetMenuItemCount(menu.get());
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu.get(), i) != 0) {
      EXPECT_GT(GetMenuStringA(menu.get(), i, text, sizeof text, MF_BYPOSITION), 0) << i;
    }
  }
  EXPECT_EQ(GetMenuItemID(menu.get(), count - 1), 6030u);
}
