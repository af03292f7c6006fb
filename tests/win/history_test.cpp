// The history log written by two processes at once and read back.
#include "inventory/history.h"

#include <gtest/gtest.h>

#include "base/entry_tables.h"
#include "base/history_text.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {
const char* const kOptions = "Software\\Quennet\\Tavrin\\Options";
const char* const kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class History : public ::testing::Test {
 protected:
  void SetUp() override {
    clearHistoryFile();
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "History");
  }
  void TearDown() override {
    clearHistoryFile();
    testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "History");
  }
};
}  // namespace

TEST_F(History, TwoWritersAtOnceLoseNoRecordAndTheReaderShowsTheNewestOfALongLog) {
  driver::Process a = driver::start(testutil::testDir() + "\\startup_worker.exe", "append 1000 first");
  driver::Process b = driver::start(testutil::testDir() + "\\startup_worker.exe", "append 1000 second");
  DWORD codeA = 9, codeB = 9;
  ASSERT_TRUE(a.waitExit(120000, &codeA));
  ASSERT_TRUE(b.waitExit(120000, &codeB));
  EXPECT_EQ(codeA, 0u);
  EXPECT_EQ(codeB, 0u);
  const auto lines = testutil::lines(testutil::readFile(historyPath()));
  ASSERT_EQ(lines.size(), 2000u);
  int first = 0, second = 0;
  for (const std::string& line : lines) {
    const HistoryFields f = parseHistoryLine(line);
    EXPECT_EQ(f.action, "START_Alert") << line;
    EXPECT_EQ(f.type, "CURRENT_RUN") << line;
    EXPECT_EQ(f.program, "c:\\worker.exe") << line;
    first += f.name.rfind("first", 0) == 0;
    second += f.name.rfind("second", 0) == 0;
  }
  EXPECT_EQ(first, 1000);
  EXPECT_EQ(second, 1000);
  // The reader shows the newest events of a long log.
  std::string log;
  int oldLines = 0;
  while (log.size() < 200000) {
    log += historyLine("01/01/2001  1:00 AM", "START_Alert", "CURRENT_RUN", "old" + std::to_string(oldLines++),
                       "c:\\old.exe", "");
  }
  testutil::writeFile(historyPath(), log);
  writeHistory("Newest", "c:\\new.exe", "", 11, action::kStartRemove);
  EntryList list("Tavrin", 4096);
  const int count = readHistory(list);
  ASSERT_GT(count, 100);
  EXPECT_EQ(list.name(count - 1), "Newest");
  EXPECT_EQ(list.flag(count - 1), action::kStartRemove);
  EXPECT_EQ(list.typeCode(count - 1), 11);
  // The first row is a whole line, not the cut end of one.
  EXPECT_EQ(list.programPath(0), "c:\\old.exe");
  EXPECT_EQ(list.name(0).rfind("old", 0), 0u);
}

TEST_F(History, RemovedProgramComesBackAndUnknownRowsCannotBeRestored) {
  testutil::deleteValue(HKEY_CURRENT_USER, kRunPath, "Comeback");
  // A cookie row past the list's cookie limit is skipped, and reading goes on.
  testutil::writeFile(historyPath(),
                      historyLine("d", "START_Alert", "INFO_COOKIE", "Cookie", "c:\\cookie.txt", "") +
                          historyLine("d", "*START_Remove", "CURRENT_RUN", "Comeback", "c:\\comeback.exe", "") +
                          historyLine("d", "Frobnicate", "NO_SUCH_TYPE", "Odd", "c:\\odd.exe", ""));
  EntryList list("Tavrin", 0);
  ASSERT_EQ(readHistory(list), 2);
  EXPECT_TRUE(isRestorableAction(list.flag(0)));
  EXPECT_EQ(restoreHistoryRow(list, 0), 1);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kRunPath, "Comeback"), "c:\\comeback.exe");
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin\\Run", "c:\\comeback.exe"), "11");
  EXPECT_EQ(list.flag(1), action::kLogUnknown);
  EXPECT_EQ(list.typeCode(1), typecode::kUnknown);
  EXPECT_FALSE(isRestorableAction(list.flag(1)));
  EXPECT_EQ(restoreHistoryRow(list, 1), 0);
  EXPECT_EQ(restoreHistoryRow(list, 2), 0);  // past the end
  testutil::deleteValue(HKEY_CURRENT_USER, kRunPath, "Comeback");
  testutil::deleteValue(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin\\Run", "c:\\comeback.exe");
}

TEST_F(History, ClearFileDeletesAReadOnlyLogAndWithTheOptionOffNothingIsWritten) {
  writeHistory("App", "c:\\app.exe", "", 11, action::kStartAlert);
  SetFileAttributesA(historyPath().c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(clearHistoryFile());
  EXPECT_EQ(GetFileAttributesA(historyPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EntryList list("Tavrin", 4096);
  EXPECT_EQ(readHistory(list), 0);
  // With the option off nothing is written.
  testutil::setString(HKEY_CURRENT_USER, kOptions, "History", "0");
  EXPECT_EQ(writeHistory("App", "c:\\app.exe", "", 11, action::kStartRemove), 0);
  EXPECT_EQ(GetFileAttributesA(historyPath().c_str()), INVALID_FILE_ATTRIBUTES);
}
