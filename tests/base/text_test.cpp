#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>

using namespace tavrin;

TEST(Contains, IgnoresCaseFindsAnywhereAndTextOverTheLimitContainsNothing) {
  EXPECT_TRUE(contains("C:\\Program Files\\Tavrin\\TAVRIN.EXE -q", "-Q"));
  EXPECT_TRUE(contains("abc", ""));
  EXPECT_FALSE(contains("ab", "abc"));
  EXPECT_FALSE(contains("-NoOpen", "-Q"));
  std::string text(kContainLimit, 'x');
  text.replace(text.size() - 2, 2, "-Q");
  EXPECT_TRUE(contains(text, "-q"));
  text += "y";  // 773 characters
  EXPECT_FALSE(contains(text, "-q"));
  EXPECT_FALSE(contains(text, ""));
}

TEST(ProgramList, RemovalKeepsOthersWithTrailingSeparatorAndAdditionLeadsWithOne) {
  EXPECT_EQ(removeFromProgramList("C:\\A.EXE;c:\\b.exe", "c:\\a.exe"), "c:\\b.exe;");
  EXPECT_EQ(removeFromProgramList(";;c:\\a.exe;;c:\\b.exe;c:\\A.exe", "c:\\a.exe"), "c:\\b.exe;");
  EXPECT_EQ(removeFromProgramList("c:\\a.exe", "c:\\a.exe"), "");
  EXPECT_EQ(removeFromProgramList("", "c:\\a.exe"), "");
  // Only whole pieces go: a longer name that merely starts the same stays.
  EXPECT_EQ(removeFromProgramList("c:\\a.exe2;x", "c:\\a.exe"), "c:\\a.exe2;x;");
  EXPECT_EQ(addToProgramList("", "c:\\b.exe"), ";c:\\b.exe");
  EXPECT_EQ(addToProgramList("c:\\a.exe;", "c:\\b.exe"), "c:\\a.exe;;c:\\b.exe");
  EXPECT_EQ(splitList(";a;;b;", ';'), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(splitList(";;;", ';').empty());
}

TEST(SmallTexts, CutWebTextThousandsLeadingNumberAndLongFormats) {
  EXPECT_EQ(cut("abc", 5), "abc");
  EXPECT_EQ(cut("abcdef", 3), "abc");
  EXPECT_EQ(webText("Acme Tools & Co"), "Acme%20Tools%20+%20Co");
  EXPECT_EQ(leadingNumber("42"), 42);
  EXPECT_EQ(leadingNumber("  -7x"), -7);
  EXPECT_EQ(leadingNumber("abc"), 0);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("99999999999999999999"), 2147483647);
  const std::string big(5000, 'a');
  EXPECT_EQ(format("%s-%d", big.c_str(), 7), big + "-7");
  EXPECT_EQ(thousandsText(0), "0");
  EXPECT_EQ(thousandsText(999), "999");
  EXPECT_EQ(thousandsText(1000), "1,000");
  EXPECT_EQ(thousandsText(1234567), "1,234,567");
  EXPECT_EQ(thousandsText(-1234), "-1,234");
  EXPECT_EQ(thousandsText(LLONG_MIN), "-9,223,372,036,854,775,808");
}
