// The cookie inventory and the patrol's cookie categories on real stores:
// WinINet's cookie folder and a Mozilla profile made here, with the default
// browser pointed at a Firefox.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include "base/cookie_text.h"
#include "base/text.h"
#include "checks.h"
#include "inventory/cookies.h"
#include "inventory/options.h"
#include "monitor_state.h"
#include "patrol.h"
#include "support/driver.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"

using namespace tavrin;
using testutil::readFile;
using testutil::setString;
using testutil::valueOf;
using testutil::writeFile;
using fixtures::cookieLine;

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kHeader = "# Netscape HTTP Cookie File\n";
const char* const kExpires = "; expires=Sat, 01-Jan-2050 00:00:00 GMT";

int cookieCount(const std::string& text) {
  int count = 0;
  CookieLine cookie;
  for (std::string_view line : cookieFileLines(text)) count += parseCookieLine(line, cookie) ? 1 : 0;
  return count;
}

class Cookies : public ::testing::Test {
 protected:
  void SetUp() override {
    nuts_.clearValues();
    kept_.clearValues();
    state_.caption = "Tavrin";
    state_.options.sound = 0;
  }
  int questionsOfNewCookieCheck() {
    return static_cast<int>(driver::dialogsDuring([&] { checkNewCookies(state_); }).size());
  }

  fixtures::MozillaProfile profile_;
  MonitorState state_;
  EntryList list_{"Tavrin", 4096};
  testutil::RegistrySnapshot nuts_{HKEY_CURRENT_USER, {kNutsKey}};
  testutil::RegistrySnapshot kept_{HKEY_CURRENT_USER, {kKeptCookiesKey}};
  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptionsKey, kSystemKey}};
};

}  // namespace

TEST_F(Cookies, InternetExplorerFilesAreListedAndFilteredByTheirPath) {
  ASSERT_TRUE(InternetSetCookieA("http://shop.example/", "cart", (std::string("7") + kExpires).c_str()));
  ASSERT_TRUE(InternetSetCookieA("http://news.example/", "sid", (std::string("8") + kExpires).c_str()));
  std::string folder;
  ASSERT_EQ(findIECookieFolder(folder), 1);
  EXPECT_EQ(folder, valueOf(HKEY_CURRENT_USER, kShellFolders, "Cookies") + "\\");
  const std::string ad = folder + "root@AdServer.example[1].txt", system = folder + "sys@probe.example[1].txt";
  writeFile(ad, "uid\n42\nadserver.example/\n");
  writeFile(system, "x");
  SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
  writeFile(folder + "probe.dat", "x");

  const int listed = listCookies(list_, kCookieModeInternetExplorer, CookieRun::List);
  ASSERT_GE(listed, 3);
  for (int i = 0; i < listed; ++i) {
    EXPECT_EQ(list_.programPath(i), folder + list_.name(i));
    EXPECT_NE(list_.programPath(i), system);
    EXPECT_EQ(lower(list_.name(i)).substr(list_.name(i).size() - 4), ".txt");
    EXPECT_EQ(list_.detail(i).size(), 16u) << list_.detail(i);
  }
  // The Monitor's limit stops a listing; its filter run still looks at every file.
  EntryList monitorList("Tavrin", 1);
  EXPECT_EQ(listCookies(monitorList, kCookieModeInternetExplorer, CookieRun::List), 1);
  EXPECT_EQ(addNut(" \t", list_, kCookieModeInternetExplorer), AddNut::Blank);
  setString(HKEY_CURRENT_USER, kNutsKey, "ADSERVER", "1");
  listCookies(monitorList, kCookieModeInternetExplorer, CookieRun::Filter);
  EXPECT_EQ(GetFileAttributesA(ad.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(listCookies(list_, kCookieModeInternetExplorer, CookieRun::List), listed - 1);
  SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(system.c_str());
  DeleteFileA((folder + "probe.dat").c_str());

  // A folder chosen by the user counts only with its index file.
  const std::string own = testutil::freshFolder("cookie-index");
  // The picked file names the folder whatever its name's length.
  EXPECT_EQ(storeCookieFolder(kCookieModeInternetExplorer, own + "\\Pick.cookie"), own + "\\");
  EXPECT_EQ(indexFileCheck(own), 0);
  writeFile(own + "\\index.dat", "");
  EXPECT_EQ(indexFileCheck(own + "\\"), 1);
  EXPECT_EQ(indexFileCheck(own), 2);
  ASSERT_EQ(findIECookieFolder(folder), 1);
  EXPECT_EQ(folder, own + "\\");
}

TEST_F(Cookies, MozillaCookiesRemovedOneByOneWaitForTheMonitor) {
  const std::string ads = cookieLine(".ads.example", "uid", "TRUE"), shop = cookieLine("shop.example", "cart");
  writeFile(profile_.cookiesFile(), kHeader + ads + shop + cookieLine("news.example", "sid"));
  EXPECT_EQ(browserKind(), 3);
  EXPECT_TRUE(mozillaPresent());
  std::string folder;
  ASSERT_EQ(findMozillaProfileFolder(folder), 1);
  EXPECT_TRUE(equalsNoCase(folder, profile_.folder())) << folder;
  ASSERT_EQ(listCookies(list_, kCookieModeMozilla, CookieRun::List), 3);
  EXPECT_EQ(list_.name(0), "ads.example - uid");
  EXPECT_EQ(list_.flag(0) * 10 + list_.flag(1), 10);
  EXPECT_FALSE(list_.detail(0).empty());

  state_.cookieMode = kCookieModeMozilla;
  EXPECT_EQ(questionsOfNewCookieCheck(), 1);
  // What the list window's removal stores: the cookie pages' end-to-end test; here the file the Monitor waits for.
  removeCookies({"ads.example - uid", "news.example - sid"}, {"shop.example - cart"}, kCookieModeMozilla, list_);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kOptionsKey, "UpdateCookieFile"), "1");
  const std::string cleaned = readFile(profile_.folder() + "\\cookiesnew.txt");
  EXPECT_EQ(cleaned, kHeader + shop);
  writeFile(TAVRIN_COOKIE_JAR_DIR "\\removed-one-by-one.txt", cleaned);
  writeFile(TAVRIN_COOKIE_JAR_DIR "\\removed-one-by-one.expect", "shop.example\tcart\n");
  // Kept and removed cookies are asked about no more.
  EXPECT_EQ(questionsOfNewCookieCheck(), 0);

  // What the browser saved since the Explorer's copy stays.
  const std::string late = cookieLine("late.example", "t");
  writeFile(profile_.cookiesFile(), readFile(profile_.cookiesFile()) + late);
  // The Monitor's filter patrol is off: the waiting copy alone makes it look at the Mozilla file.
  state_.cookieMode = kCookieModeInternetExplorer;
  copyMozillaCookies(state_);
  EXPECT_EQ(state_.cookieMode, kCookieModeMozilla);
  EXPECT_EQ(readFile(profile_.cookiesFile()), kHeader + shop + late);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kOptionsKey, "UpdateCookieFile"), "<missing>");
  EXPECT_FALSE(isPendingRemoval("ads.example - uid"));
}

TEST_F(Cookies, MonitorPutsTheWholeCleanedFileInPlaceOnceTheBrowserIsGone) {
  const std::string extras = "# kept comment\nshort\tline\n";
  std::string text = kHeader + extras;
  for (int i = 0; i < 5000; ++i) text += cookieLine(format(".site%04d.example", i), "id", "FALSE", std::string(40, 'x'));
  ASSERT_GT(text.size(), 400000u);
  writeFile(profile_.cookiesFile(), text);
  // The Explorer's filter pass, with a word that names a cookie near the end.
  setString(HKEY_CURRENT_USER, kNutsKey, "SITE4990.", "1");
  listCookies(list_, kCookieModeMozilla, CookieRun::Filter);
  const std::string cleaned = readFile(profile_.folder() + "\\cookiesnew.txt");
  EXPECT_EQ(cookieCount(cleaned), 4999);
  EXPECT_EQ(cleaned.substr(0, kHeader.size() + extras.size()), kHeader + extras);

  setString(HKEY_CURRENT_USER, kNutsKey, "site0007.example - id", "2");
  for (const char* name : {"Start", "IEHelpers", "HostFile", "StartPage", "FileType", "Tasks", "Services", "WinInit"})
    setString(HKEY_CURRENT_USER, kOptionsKey, name, "0");
  setString(HKEY_CURRENT_USER, kOptionsKey, "Nuts", "1");
  setString(HKEY_CURRENT_USER, kOptionsKey, "HideBramble", "1");
  loadMonitorOptions(state_);
  const auto twoPasses = [&] {
    for (int pass = 0; pass < 2; ++pass) {
      Sleep(1100);  // a long pass leaves a second from its end
      EXPECT_EQ(driver::dialogsDuring([&] { EXPECT_EQ(runPatrolPass(state_), 1); }), std::vector<std::string>{});
    }
  };
  HWND browser = fixtures::openMozillaWindow();
  twoPasses();
  EXPECT_EQ(readFile(profile_.cookiesFile()), text);
  DestroyWindow(browser);
  twoPasses();
  const std::string live = readFile(profile_.cookiesFile());
  EXPECT_EQ(cookieCount(live), 4998);
  EXPECT_EQ(live.substr(0, kHeader.size() + extras.size()), kHeader + extras);
  EXPECT_EQ(live.find("site0007.example"), std::string::npos);
  EXPECT_EQ(loadNuts().size(), 1u);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kOptionsKey, "UpdateCookieFile"), "<missing>");
}
