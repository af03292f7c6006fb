// The online lookup: the address it builds and how it is opened.
#include "inventory/online_info.h"

#include <gtest/gtest.h>

#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

TEST(OnlineInfo, TheQueryGoesToTheConfiguredHostAndAFailingBrowserFallsBack) {
  const char* const system = "Software\\Quennet\\Tavrin";
  const char* const appPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
  const char* const options = "Software\\Quennet\\Tavrin\\Options";
  testutil::RegistrySnapshot machine(HKEY_LOCAL_MACHINE, {system, appPath});
  testutil::RegistrySnapshot user(HKEY_CURRENT_USER, {options});
  // A scheme no program opens: the shell fails on it.
  testutil::setString(HKEY_LOCAL_MACHINE, system, "HelpLocation", "tavrin-none://lookup.example/help/");
  const std::string dll = testutil::testDir() + "\\ver_plain.dll";
  const std::string address = onlineInformationAddress(11, dll, "Widget");
  EXPECT_EQ(address.rfind("tavrin-none://lookup.example/cgi-bin/extrainfo12.pl?program=VER_PLAIN.DLL&vendor=Acme%20Tools&", 0),
            0u)
      << address;
  std::vector<std::string> keys;
  for (std::size_t at = address.find('?'); at != std::string::npos; at = address.find('&', at + 1))
    keys.push_back(address.substr(at + 1, address.find('=', at) - at - 1));
  EXPECT_EQ(keys, (std::vector<std::string>{"program", "vendor", "build", "Type", "Loc", "ext", "version", "name",
                                            "copy", "detail", "created", "detected", "fsize", "path"}));
  EXPECT_EQ(address.find("&created=&"), std::string::npos);
  EXPECT_NE(address.find("&fsize=" + std::to_string(testutil::readFile(dll).size()) + "&"), std::string::npos);

  const std::string arguments = testutil::testDir() + "\\arguments.txt";
  DeleteFileA(arguments.c_str());
  testutil::setString(HKEY_LOCAL_MACHINE, appPath, "", testutil::testDir() + "\\startup_worker.exe");
  testutil::setString(HKEY_CURRENT_USER, options, "BrowserFailure", "0");
  EXPECT_FALSE(openOnlineInformation(11, dll, "Widget"));
  testutil::setString(HKEY_CURRENT_USER, options, "BrowserFailure", "1");
  EXPECT_TRUE(openOnlineInformation(11, dll, "Widget"));
  EXPECT_TRUE(driver::waitUntil([&] { return testutil::readFile(arguments) == address; }, 5000));
}
