#include "base/page_rules.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(ColumnWidths, FractionsOfTheListLessTheScrollBar) {
  // Startup: 0.30 of (1000 - 20)
  EXPECT_EQ(columnWidth(6026, 0, 1000, 20), 294);
  EXPECT_EQ(columnWidth(6026, 4, 1000, 20), 196);
  // Scheduled Tasks and IE Helpers keep the scroll bar's width in the sum.
  EXPECT_EQ(columnWidth(6039, 0, 1000, 20), 300);
  EXPECT_EQ(columnWidth(6040, 3, 1000, 20), 90);
  // History and the cookie list window are layout ids without a tab.
  EXPECT_EQ(columnWidth(6041, 3, 1020, 20), 380);
  EXPECT_EQ(columnFractions(6044).size(), 5u);
  // A column the page lacks, and a page without a list.
  EXPECT_EQ(columnWidth(6026, 5, 1000, 20), 0);
  EXPECT_EQ(columnWidth(6033, 0, 1000, 20), 0);
}

TEST(FirstDetectedKey, PadsAOneDigitHourAndKeepsTwoDigitOnes) {
  EXPECT_EQ(firstDetectedKey("10/05/2007 9:41"), "200710050941");
  EXPECT_EQ(firstDetectedKey("10/05/2007 9:41 AM"), "200710050941");
  EXPECT_EQ(firstDetectedKey("12/31/2006 23:07"), "200612312307");
  EXPECT_EQ(firstDetectedKey("10/05/2007"), " ");
  EXPECT_EQ(firstDetectedKey(""), " ");
  // A cut text gives a shorter key rather than reading past its end.
  EXPECT_EQ(firstDetectedKey("10/05/2007 1"), "200710051");
}

TEST(SortKeys, CaseIsIgnoredAndDescendingReverses) {
  EXPECT_LT(compareSortKeys("alpha", "Beta", false, false), 0);
  EXPECT_GT(compareSortKeys("alpha", "Beta", true, false), 0);
  EXPECT_EQ(compareSortKeys("ABC", "abc", false, false), 0);
  EXPECT_LT(compareSortKeys("Abc", "Abcdef", false, false), 0);
}

TEST(SortKeys, StartupComparesTheCommonPrefixAndKeepsDisabledBelow) {
  EXPECT_EQ(compareSortKeys("Abc", "Abcdef", false, true), 0);
  EXPECT_EQ(compareSortKeys("Abc", "Abcdef", true, true), 0);
  // A disabled "Aardvark" stays below an enabled "Zebra" both ways.
  for (bool descending : {false, true}) {
    const std::string disabled = startupSortKey("Aardvark", true, descending);
    const std::string enabled = startupSortKey("Zebra", false, descending);
    const int order = compareSortKeys(disabled, enabled, descending, true);
    EXPECT_GT(order, 0) << descending;
  }
}

TEST(StartupLocationText, RunKeysByHiveAndTheFixedPlaces) {
  EXPECT_EQ(startupLocationText(1), "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(startupLocationText(15), "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce");
  EXPECT_EQ(startupLocationText(23), "HKEY_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx");
  EXPECT_EQ(startupLocationText(100), "WIN.INI     [Load] Section");
  EXPECT_EQ(startupLocationText(255), "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows  AppInit_DLLs");
  EXPECT_EQ(startupLocationText(6), "");
  EXPECT_EQ(startupLocationText(16), "");
  EXPECT_EQ(startupLocationText(257), "");
}

TEST(NoteFileName, DropsTheEndingAndReadsEqualsAsColon) {
  EXPECT_EQ(noteFileName("C:\\Tools\\app.exe"), "note_app.txt");
  EXPECT_EQ(noteFileName("C=\\app.exe"), "note_app.txt");
  EXPECT_EQ(noteFileName("setup"), "note_s.txt");
  EXPECT_EQ(noteFileName("C:\\a.b"), "note_.txt");
}

TEST(Paging, NextAndPreviousWrapAround) {
  EXPECT_EQ(nextIndex(2, 3), 0);
  EXPECT_EQ(nextIndex(0, 3), 1);
  EXPECT_EQ(previousIndex(0, 3), 2);
  EXPECT_EQ(previousIndex(2, 3), 1);
  EXPECT_EQ(nextIndex(0, 1), 0);
  EXPECT_EQ(previousIndex(0, 0), 0);
}

}  // namespace
}  // namespace tavrin
