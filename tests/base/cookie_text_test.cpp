#include "base/cookie_text.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(CookieText, TheBrowserItsCookieLinesListNamesAndACleanedCopyKeepingWhatNoNutNames) {
  const std::string firefox = browserProgramOfCommand("\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -url \"%1\"");
  EXPECT_EQ(firefox, "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
  // Earlier words win: a Firefox under a Mozilla folder counts as Mozilla.
  EXPECT_EQ(browserKindOf(firefox), 6);
  EXPECT_EQ(browserKindOf(browserProgramOfCommand("C:\\Apps\\FireFox.EXE -osint -url %1")), 3);
  // A dash inside a folder name starts no option.
  EXPECT_EQ(browserProgramOfCommand("C:\\Net-Tools\\netscp.exe -h"), "C:\\Net-Tools\\netscp.exe");
  EXPECT_EQ(browserKindOf("C:\\windows\\system32\\winebrowser.exe"), 1);
  EXPECT_EQ(cookieModeOf(2), kCookieModeMozilla);
  EXPECT_EQ(cookieModeOf(5), kCookieModeInternetExplorer);
  EXPECT_EQ(cookieModeOf(7), kCookieModeInternetExplorer);
  CookieLine cookie;
  ASSERT_TRUE(parseCookieLine(".ads.example\tTRUE\t/\tTRUE\t2000000000\tid\ta\tb\r", cookie));
  EXPECT_EQ(cookie.value, "a\tb");
  EXPECT_TRUE(isSecureCookie(cookie.secure));
  EXPECT_EQ(cookieListName(cookie.domain, cookie.name, 127), "ads.example - id");
  EXPECT_EQ(cookieListName("..x", "n", 5), ".x - ");
  EXPECT_FALSE(parseCookieLine("# Netscape HTTP Cookie File", cookie));
  EXPECT_FALSE(parseCookieLine("short.example\tTRUE\t/\tFALSE\t0\tname", cookie));
  EXPECT_FALSE(parseCookieLine("\tTRUE\t/\tFALSE\t0\tname\tvalue", cookie));
  EXPECT_EQ(cookieFileLines("a\n\nb").size(), 3u);
  EXPECT_EQ(cookieExpirySeconds("4102444800"), 4102444800LL);
  EXPECT_EQ(cookieExpirySeconds("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(cookieExpirySeconds("session"), 0);
  const std::string text =
      "# Netscape HTTP Cookie File\n"
      "short line\tonly\n"
      "www.shop.example\tFALSE\t/\tFALSE\t0\tcart\t1\n"
      "ADSERVER.example\tFALSE\t/\tFALSE\t0\tuid\t2\n"
      ".news.example\tTRUE\t/\tFALSE\t0\tsid\t3\n"
      "\n"
      "mail.example\tFALSE\t/\tFALSE\t0\tsid\t4";
  // The pending removal is named as the list shows it, without the dot.
  const NutMatcher nuts({"AdServer", "", "  ", "news.example - sid"}, 127);
  const CleanedCookies cleaned = cleanCookieText(text, nuts);
  EXPECT_EQ(cleaned.text,
            "# Netscape HTTP Cookie File\nshort line\tonly\nwww.shop.example\tFALSE\t/\tFALSE\t0\tcart\t1\n\n"
            "mail.example\tFALSE\t/\tFALSE\t0\tsid\t4\n");
  EXPECT_EQ(cleaned.removed, 2);
  EXPECT_EQ(cleaned.kept, 5);
  // Blank words alone match nothing.
  EXPECT_FALSE(NutMatcher({"", " "}, 127).matches("any text"));
}
