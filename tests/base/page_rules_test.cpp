#include "base/page_rules.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(PageTexts, ColumnWidthsAndRunKeyLocationsAndNothingForAColumnListOrCodeThatIsNot) {
  EXPECT_GT(columnWidth(6026, 0, 1000, 20), 0);
  EXPECT_EQ(columnWidth(6026, 5, 1000, 20), 0);
  EXPECT_EQ(columnWidth(6033, 0, 1000, 20), 0);
  EXPECT_EQ(startupLocationText(23), "HKEY_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx");
  for (int code : {6, 16, 257}) EXPECT_EQ(startupLocationText(code), "") << code;
}

TEST(SortKeys, CaseIsIgnoredDescendingReversesStartupKeepsDisabledBelowAndDatesSortByTheClock) {
  EXPECT_LT(compareSortKeys("alpha", "Beta", false, false), 0);
  EXPECT_GT(compareSortKeys("alpha", "Beta", true, false), 0);
  EXPECT_EQ(compareSortKeys("ABC", "abc", false, false), 0);
  EXPECT_LT(compareSortKeys("Abc", "Abcdef", false, false), 0);
  // Startup compares the common prefix only.
  EXPECT_EQ(compareSortKeys("Abc", "Abcdef", false, true), 0);
  EXPECT_EQ(compareSortKeys("Abc", "Abcdef", true, true), 0);
  // A disabled "Aardvark" stays below an enabled "Zebra" both ways.
  for (bool descending : {false, true}) {
    const std::string disabled = startupSortKey("Aardvark", true, descending);
    const std::string enabled = startupSortKey("Zebra", false, descending);
    EXPECT_GT(compareSortKeys(disabled, enabled, descending, true), 0) << descending;
  }
  // The first-detected column's key pads a one-digit hour.
  EXPECT_EQ(firstDetectedKey("10/05/2007 9:41"), "200710050941");
  EXPECT_EQ(firstDetectedKey("10/05/2007 9:41 AM"), "200710050941");
  EXPECT_EQ(firstDetectedKey("12/31/2006 23:07"), "200612312307");
  EXPECT_EQ(firstDetectedKey("10/05/2007"), " ");
  EXPECT_EQ(firstDetectedKey(""), " ");
  // A cut text gives a shorter key rather than reading past its end.
  EXPECT_EQ(firstDetectedKey("10/05/2007 1"), "200710051");
}

TEST(InfoDialog, NoteFilesDropTheEndingAndPagingWrapsAround) {
  EXPECT_EQ(noteFileName("C:\\Tools\\app.exe"), "note_app.txt");
  EXPECT_EQ(noteFileName("C=\\app.exe"), "note_app.txt");
  EXPECT_EQ(noteFileName("setup"), "note_s.txt");
  EXPECT_EQ(noteFileName("C:\\a.b"), "note_.txt");
  EXPECT_EQ(nextIndex(2, 3), 0);
  EXPECT_EQ(nextIndex(0, 3), 1);
  EXPECT_EQ(previousIndex(0, 3), 2);
  EXPECT_EQ(previousIndex(2, 3), 1);
  EXPECT_EQ(nextIndex(0, 1), 0);
  EXPECT_EQ(previousIndex(0, 0), 0);
}

}  // namespace
}  // namespace tavrin
