#include "sys/profile.h"

#include <gtest/gtest.h>

#include "support/win_test_util.h"
#include "sys/paths.h"

using namespace tavrin;

namespace {
class WinIniLists : public ::testing::Test {
 protected:
  void TearDown() override {
    const std::string ini = windowsFolder() + "\\win.ini";
    DWORD attributes = GetFileAttributesA(ini.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(ini.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  testutil::WinIniPrograms saved_;
};
}  // namespace

TEST_F(WinIniLists, ReadOnlyWinIniIsMadeWritable) {
  const std::string ini = windowsFolder() + "\\win.ini";
  if (!fileExists(ini)) testutil::writeFile(ini, "[windows]\r\n");
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  WriteProfileStringA("windows", "run", "");
  profile::addProgram("run", "c:\\d.exe");  // to an empty list, led by the separator
  DWORD attributes = GetFileAttributesA(ini.c_str());
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);  // other attributes stay
  EXPECT_EQ(profile::readWindowsValue("run"), ";c:\\d.exe");
}
