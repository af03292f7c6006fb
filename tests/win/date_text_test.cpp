#include "inventory/date_text.h"

#include <gtest/gtest.h>

#include "support/win_test_util.h"
#include "sys/clock.h"

using namespace tavrin;

namespace {
const char* const kInternational = "Control Panel\\International";

class RegionalFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    DWORD type;
    hadDate_ = testutil::rawValue(HKEY_CURRENT_USER, kInternational, "sShortDate", date_, type);
    hadTime_ = testutil::rawValue(HKEY_CURRENT_USER, kInternational, "sTimeFormat", time_, type);
  }
  void TearDown() override {
    restore("sShortDate", hadDate_, date_);
    restore("sTimeFormat", hadTime_, time_);
  }
  static void restore(const char* name, bool had, const std::string& data) {
    if (had)
      testutil::setBinary(HKEY_CURRENT_USER, kInternational, name, data, REG_SZ);
    else
      testutil::deleteValue(HKEY_CURRENT_USER, kInternational, name);
  }
  static void formats(const char* date, const char* time) {
    testutil::setString(HKEY_CURRENT_USER, kInternational, "sShortDate", date);
    testutil::setString(HKEY_CURRENT_USER, kInternational, "sTimeFormat", time);
  }
  bool hadDate_ = false, hadTime_ = false;
  std::string date_, time_;
};
}  // namespace

TEST_F(RegionalFormats, UserFormatsChooseTheLayoutOfAnyAndTheCurrentTime) {
  const CalendarTime t{2007, 9, 13, 20, 58, 7};
  formats("yyyy-MM-dd", "HH:mm:ss");
  EXPECT_EQ(dateTimeTextOf(t), "2007-09-13 20:58");
  formats("dd-MMM-yy", "h:mm:ss tt");
  EXPECT_EQ(dateTimeTextOf(t), "13-Sep-2007 8:58 PM");
  formats("dd.MM.yyyy", "HH:mm:ss");  // not in the list: month/day/year
  EXPECT_EQ(dateTimeTextOf(t), "09/13/2007 20:58");
  // Formats too long for their 24-character field read as empty: the first layouts.
  formats(std::string(30, 'y').c_str(), std::string(30, 'H').c_str());
  EXPECT_EQ(dateTimeTextOf(t), "09/13/2007 8:58 PM");
  // The current text is the local clock's.
  formats("yyyy-MM-dd", "HH:mm:ss");
  SYSTEMTIME before;
  GetLocalTime(&before);
  const std::string text = currentDateTimeText();
  char expected[32];
  wsprintfA(expected, "%04d-%02d-%02d", before.wYear, before.wMonth, before.wDay);
  EXPECT_EQ(text.substr(0, 10), expected);
  EXPECT_EQ(text.size(), 16u);
}

TEST(UnixTime, ConvertsToTheLocalCalendar) {
  // 2007-09-13 20:58:00 UTC
  CalendarTime local;
  ASSERT_TRUE(localTimeOfUnix(1189717080, local));
  SYSTEMTIME utc{2007, 9, 4, 13, 20, 58, 0, 0}, expected;
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &expected));
  EXPECT_EQ(local.year, expected.wYear);
  EXPECT_EQ(local.month, expected.wMonth);
  EXPECT_EQ(local.day, expected.wDay);
  EXPECT_EQ(local.hour, expected.wHour);
  EXPECT_EQ(local.minute, 58);
  CalendarTime ignored;
  EXPECT_FALSE(localTimeOfUnix(-20000000000LL, ignored));
}
