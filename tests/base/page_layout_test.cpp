#include "base/page_layout.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(ButtonRow, SlotsSpanTheListAndOneIsCentredOnTheSheet) {
  const auto five = buttonRow(5, 10, 500, 80, 600);
  ASSERT_EQ(five.size(), 5u);
  // Slots 0, 2 and 4: left edge, centre and right end of the row, the last one narrowed.
  EXPECT_EQ(five[0].x, 10);
  EXPECT_EQ(five[2].x + five[2].width / 2, 10 + 500 / 2);
  EXPECT_EQ(five[4].x + five[4].width, 10 + 500);
  EXPECT_LT(five[4].width, 80);
  const auto one = buttonRow(1, 10, 500, 80, 600);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].x + one[0].width / 2, 600 / 2);
  EXPECT_TRUE(buttonRow(0, 10, 500, 80, 600).empty());
}

// A page's controls at the smallest sheet and larger, with one row of tabs
// and with two: nothing overlaps, nothing leaves the page.
TEST(PageLayout, ControlsStayApartAndInsideThePage) {
  PageMeasures m;
  m.listMargin = {10, 71, 21, 146};  // the dialog units at 6 x 13 pixels per 4 x 8 units
  m.buttonMargin = {10, 40, 21, 56};
  m.helpWidth = m.monitorWidth = 32;
  m.helpLabelWidth = m.monitorLabelWidth = 40;
  m.button = {94, 23};
  m.slots = 5;
  const Size smallest = minimumSheetSize({684, 505});
  EXPECT_LT(smallest.width, 684);
  EXPECT_LT(smallest.height, 505);
  for (int rows : {1, 2}) {
    int listHeight = 0;
    for (int grow : {0, 300}) {
      m.sheet = {smallest.width + grow, smallest.height + grow};
      m.tabRows = rows;
      const Size page = sheetLayout(m.sheet, rows).page;
      const PageLayout l = listPageLayout(m);
      EXPECT_LT(l.list.y + l.list.height, l.buttonTop) << rows;
      EXPECT_LE(l.buttonTop + m.button.height, page.height) << rows;
      EXPECT_LE(l.list.x + l.list.width, page.width) << rows;
      EXPECT_LE(l.help.x + m.helpWidth, page.width) << rows;
      EXPECT_LT(l.monitor.y, l.list.y) << rows;
      // The row ends with the list, short of it by what the spacing's division dropped.
      EXPECT_NEAR(l.buttons.back().x + l.buttons.back().width, l.list.x + l.list.width, m.slots - 1) << rows;
      if (grow == 0) listHeight = l.list.height;
      else EXPECT_EQ(l.list.height, listHeight + grow) << "the list takes what the sheet gains";
    }
  }
  // A second row of tabs takes its room from the page and the list.
  m.sheet = smallest;
  m.tabRows = 1;
  const PageLayout one = listPageLayout(m);
  m.tabRows = 2;
  const PageLayout two = listPageLayout(m);
  EXPECT_GT(sheetLayout(smallest, 1).page.height, sheetLayout(smallest, 2).page.height);
  EXPECT_GT(one.list.height, two.list.height);
  EXPECT_GT(one.buttonTop, two.buttonTop);
}

}  // namespace
}  // namespace tavrin
