// Built twice: once run as Windows XP, once as Windows 98 (per-program version).
#include <gtest/gtest.h>

#include <vector>

#include "inventory/options.h"
#include "sys/handles.h"
#include "sys/version.h"
#include "tray.h"

using namespace tavrin;

namespace {
struct Item {
  UINT command;
  std::string text;
  bool operator==(const Item& o) const { return command == o.command && text == o.text; }
};

std::vector<Item> itemsOf(HMENU menu) {
  std::vector<Item> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    UINT id = GetMenuItemID(menu, i);
    items.push_back({id == static_cast<UINT>(-1) ? 0 : id, text});
  }
  return items;
}

std::vector<Item> expectedItems(bool nt) {
  std::vector<Item> items = {{6033, "&Options..."},
                             {0, ""},
                             {6026, "Display &Startup Info..."},
                             {6055, "Delayed Start..."},
                             {6040, "Display IE Helpers..."}};
  if (nt) items.push_back({6038, "Display Ser&vices..."});
  items.insert(items.end(), {{6039, "Display Scheduled &Tasks..."},
                             {0, ""},
                             {6029, "Display Active &Tasks..."},
                             {6028, "Display  &Cookies Filters..."},
                             {6042, "Display &File Types..."},
                             {6052, "Display &Hidden Files..."}});
  if (!nt) items.push_back({6034, "Display& Restart Commands..."});
  items.insert(items.end(), {{0, ""}, {6030, "E&xit Program"}});
  return items;
}
}  // namespace

TEST(TrayMenu, ItemsInOrderForThisPlatform) {
  const bool nt = isWindowsNtFamily();
  EXPECT_EQ(nt, TAVRIN_EXPECT_NT) << "the test program runs under the wrong Windows version";
  UniqueMenu menu(buildTrayMenu(nt));
  ASSERT_TRUE(menu);
  const auto items = itemsOf(menu.get());
  const auto expected = expectedItems(nt);
  ASSERT_EQ(items.size(), expected.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].command, expected[i].command) << "item " << i;
    EXPECT_EQ(items[i].text, expected[i].text) << "item " << i;
  }
}
