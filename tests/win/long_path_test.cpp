// Built twice: for the default Windows version, and for the first Windows 95,
// where the entry list must keep paths exactly as given.
#include <gtest/gtest.h>

#include "base/text.h"
#include "inventory/entry_list.h"
#include "inventory/program_file.h"
#include "support/win_test_util.h"

#ifndef TAVRIN_EXPECT_LONG_PATHS
#define TAVRIN_EXPECT_LONG_PATHS true
#endif

using namespace tavrin;

TEST(LongPathByWindowsVersion, EntriesTakeTheLongFormExceptOnWindows95) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExA(&version));
  const bool windows95 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0;
  ASSERT_EQ(windows95, !TAVRIN_EXPECT_LONG_PATHS) << "the prefix runs another Windows version than expected";

  const std::string folder = testutil::freshFolder("long-path-version");
  ASSERT_TRUE(CreateDirectoryA((folder + "\\Folder With Long Name").c_str(), nullptr));
  const std::string program = folder + "\\Folder With Long Name\\Program Of Mine.exe";
  ASSERT_TRUE(testutil::writeFile(program, "MZ"));
  const std::string shortProgram = testutil::shortPathOf(program);
  ASSERT_FALSE(shortProgram.empty());
  ASSERT_FALSE(equalsNoCase(shortProgram, program));

  EntryList list("Tavrin", 4096);
  ASSERT_EQ(list.add("", shortProgram, shortProgram, "", 11, 0), 1);
  if (TAVRIN_EXPECT_LONG_PATHS) {
    EXPECT_TRUE(equalsNoCase(longPathForm(shortProgram), program));
    EXPECT_TRUE(equalsNoCase(list.programPath(0), program)) << list.programPath(0);
    EXPECT_TRUE(equalsNoCase(list.key(0), program)) << list.key(0);
    EXPECT_TRUE(equalsNoCase(list.name(0), "Program Of Mine"));
  } else {
    EXPECT_EQ(longPathForm(shortProgram), shortProgram);
    EXPECT_EQ(list.programPath(0), shortProgram);
    EXPECT_EQ(list.key(0), shortProgram);
  }
}
