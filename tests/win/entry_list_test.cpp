#include "inventory/entry_list.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/entry_tables.h"
#include "base/text.h"
#include "inventory/startup_actions.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

bool addPlain(EntryList& list, int typeCode) { return list.add("name", "x", "", "", typeCode, 0) == 1; }

}  // namespace

TEST(EntryList, KeepsFieldsInOrderNamesFromTheFileOrCaptionAndReadsOutsideGiveNothing) {
  EntryList list("Tavrin", 4096);
  for (int index : {0, -1, INT_MIN}) EXPECT_EQ(list.name(index), "") << index;
  EXPECT_EQ(list.add("First", "C:\\missing\\one.exe", "key one", "detail one", 11, 1), 1);
  EXPECT_EQ(list.add("Second", "C:\\missing\\two.exe -x", "", "", 200, -5), 1);
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.key(0), "key one");
  EXPECT_EQ(list.detail(0), "detail one");
  EXPECT_EQ(list.name(1), "Second");
  EXPECT_EQ(list.programPath(1), "C:\\missing\\two.exe -x");
  EXPECT_EQ(list.typeCode(1), 200);
  EXPECT_EQ(list.flag(1), -5);
  for (int index : {-1, 2, 4096, 4097, INT_MIN, INT_MAX}) {
    EXPECT_EQ(list.name(index) + list.programPath(index) + list.key(index) + list.detail(index), "") << index;
    EXPECT_EQ(list.typeCode(index) | list.flag(index) | list.disabledState(index), 0) << index;
  }
  list.clear();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.name(0), "");
  // Names come from the file and the caption.
  EntryList named("Watchdog", 4096);
  named.add("", "C:\\Apps\\tool.exe", "", "", 200, 0);
  named.add("", "\"C:\\Apps\\Quoted Tool.exe\"", "", "", 200, 0);
  named.add("My tAvRiN helper", "C:\\Apps\\x.exe", "", "", 11, 0);
  named.add("Tavrin", "C:\\Apps\\y.exe", "", "", 1, 0);
  named.add("Tav rin", "C:\\Apps\\z.exe", "", "", 1, 0);
  named.add("", "", "", "", 200, 0);
  named.add("", "C:\\Start\\Program", "", "", 200, 0);
  EXPECT_EQ(named.name(0), "tool");
  EXPECT_EQ(named.name(1), "Quoted Tool");
  EXPECT_EQ(named.name(2), "Watchdog");
  EXPECT_EQ(named.name(3), "Watchdog");
  EXPECT_EQ(named.name(4), "Tav rin");
  EXPECT_EQ(named.name(5), "");
  EXPECT_EQ(named.name(6), "Program");
  // Quotes leave the program path, command lines stay as given; the key keeps its quotes.
  named.add("app", "\"C:\\Program Files\\App\\app.exe\" -min \"two words\"", "\"quoted key\"", "", 11, 0);
  EXPECT_EQ(named.programPath(7), "C:\\Program Files\\App\\app.exe -min two words");
  EXPECT_EQ(named.key(7), "\"quoted key\"");
}

TEST(EntryList, FieldsAreCutToTheirWidthsAndLongFormsDecidedByTheProgramPathLength) {
  EntryList list("Tavrin", 4096);
  const std::string name(200, 'n'), path(300, 'p'), key(300, 'k'), detail(2000, 'd');
  ASSERT_EQ(list.add(name, path, key, detail, 1, 0), 1);
  EXPECT_EQ(list.name(0), std::string(127, 'n'));
  EXPECT_EQ(list.programPath(0), std::string(259, 'p'));
  EXPECT_EQ(list.key(0), std::string(259, 'k'));
  EXPECT_EQ(list.detail(0), std::string(1023, 'd'));
  // A name taken from a long file name is cut as well; the product word past
  // the cut does not count.
  ASSERT_EQ(list.add("", "C:\\" + std::string(200, 'f') + ".exe", "", "", 200, 0), 1);
  EXPECT_EQ(list.name(1), std::string(127, 'f'));
  ASSERT_EQ(list.add(std::string(127, 'x') + "Tavrin", "C:\\a.exe", "", "", 1, 0), 1);
  EXPECT_EQ(list.name(2), std::string(127, 'x'));
  // Binary text survives as it is.
  const std::string binary("a\0b\xff\x01", 5);
  ASSERT_EQ(list.add(binary, "", "", binary, 1, 0), 1);
  EXPECT_EQ(list.name(3), binary);
  EXPECT_EQ(list.detail(3), binary);
  const std::string folder = testutil::freshFolder("entry-list");
  ASSERT_TRUE(CreateDirectoryA((folder + "\\Long Folder Name").c_str(), nullptr));
  const std::string shortcut = folder + "\\Long Folder Name\\The Shortcut File.lnk";
  ASSERT_TRUE(testutil::writeFile(shortcut, "L"));
  const std::string shortShortcut = testutil::shortPathOf(shortcut);
  ASSERT_NE(shortShortcut, "");
  ASSERT_FALSE(equalsNoCase(shortShortcut, shortcut));

  // Long forms are decided by the program path's length.
  list.clear();
  list.add("long", "C:\\missing.exe", shortShortcut, "", 200, 0);
  EXPECT_TRUE(equalsNoCase(list.key(0), shortcut)) << list.key(0);
  // A program path of fewer than four characters leaves the key alone too.
  list.add("short", "abc", shortShortcut, "", 200, 0);
  EXPECT_EQ(list.programPath(1), "abc");
  EXPECT_EQ(list.key(1), shortShortcut);
  // Quotes are removed before the length is measured.
  list.add("quoted", "\"ab\"", shortShortcut, "", 200, 0);
  EXPECT_EQ(list.programPath(2), "ab");
  EXPECT_EQ(list.key(2), shortShortcut);
}

TEST(EntryList, CookieLimitCountsTheWholeListWhichHoldsAtMost4096) {
  EntryList list("Tavrin", 3);
  EXPECT_TRUE(addPlain(list, 11));
  EXPECT_TRUE(addPlain(list, typecode::kCookie));
  EXPECT_TRUE(addPlain(list, typecode::kCookie));
  EXPECT_FALSE(addPlain(list, typecode::kCookie));
  // Other types, the other cookie kinds included, go on up to the list's limit.
  EXPECT_TRUE(addPlain(list, typecode::kNetCookie));
  EXPECT_TRUE(addPlain(list, typecode::kMozillaCookie));
  for (int i = list.count(); i < 4096; ++i) ASSERT_TRUE(addPlain(list, 600));
  EXPECT_FALSE(addPlain(list, 11));
  EXPECT_EQ(list.count(), 4096);
  EXPECT_EQ(list.name(4095), "name");

  EntryList none("Tavrin", 0);
  EXPECT_FALSE(addPlain(none, typecode::kCookie));
  EXPECT_TRUE(addPlain(none, 11));
  none.setCookieLimit(315);
  EXPECT_TRUE(addPlain(none, typecode::kCookie));
}

TEST(EntryList, DisabledStateComesFromTheMarker) {
  EntryList list("Tavrin", 4096);
  testutil::setString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "tv marked folder", "200");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "tv unmarked");
  list.add("tv marked folder", "C:\\x.exe", "", "", 11, 0);
  list.add("tv unmarked", "C:\\x.exe", "", "", 11, 0);
  EXPECT_EQ(list.disabledState(0), 200);
  EXPECT_EQ(list.disabledState(1), 0);
  // An entry without a name never reads the key's default value.
  ASSERT_TRUE(testutil::setString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "", "11"));
  list.add("", "", "", "", 11, 0);
  EXPECT_EQ(list.disabledState(2), 0);
  // The markers read in one pass answer as each read alone, names in any case.
  ASSERT_TRUE(testutil::setString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "tv not a number", "x"));
  list.add("TV MARKED FOLDER", "C:\\x.exe", "", "", 11, 0);
  list.add("tv not a number", "C:\\x.exe", "", "", 11, 0);
  DisabledMarkers markers;
  for (int i = 0; i < list.count(); ++i) {
    EXPECT_EQ(markers.stateOf(list.name(i)), list.disabledState(i)) << i;
    EXPECT_EQ(markers.marked(list.name(i)), hasDisabledMarker(list.name(i))) << i;
  }
  EXPECT_EQ(markers.stateOf("TV MARKED FOLDER"), 200);
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "tv marked folder");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, "tv not a number");
}
