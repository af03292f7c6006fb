// The list view wrapper on a real list view: rows read back as the entries
// they carry, whatever order a sort by those entries gave them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sys/list_view.h"

using tavrin::ListView;

TEST(ListView, RowsKeepTheirEntriesThroughASortAndTheSelection) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  HWND window = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  ListView view(window);
  view.insertColumn(0, "Name", 100);
  view.insertColumn(1, "Size", 100);
  const std::vector<std::string> names{"beta", "alpha", "gamma"};
  const std::vector<int> sizes{20, 300, 4};
  for (int entry = 0; entry < 3; ++entry) EXPECT_EQ(view.appendRow(entry, names[entry], 0), entry);
  EXPECT_EQ(view.rowCount(), 3);

  // Sizes as numbers, not as the text a cell would show ("300" < "4").
  view.sortByEntry([&](int a, int b) { return sizes[a] - sizes[b]; });
  EXPECT_EQ(view.entryOfRow(0), 2);
  EXPECT_EQ(view.entryOfRow(1), 0);
  EXPECT_EQ(view.entryOfRow(2), 1);
  EXPECT_EQ(view.entryOfRow(3), -1);

  EXPECT_EQ(view.selectedEntry(), -1);
  view.selectRow(2);
  view.selectRow(1);  // only the last row chosen stays selected
  EXPECT_EQ(view.selectedRow(), 1);
  EXPECT_EQ(view.selectedEntries(), std::vector<int>{0});
  view.deleteAllRows();
  EXPECT_EQ(view.rowCount(), 0);
  EXPECT_EQ(view.selectedEntry(), -1);
  DestroyWindow(window);
}
