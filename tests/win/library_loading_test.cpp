// Libraries are loaded by full path only: a DLL planted in the current folder
// must never be picked up.
#include <gtest/gtest.h>

#include "support/win_test_util.h"
#include "sys/handles.h"
#include "sys/paths.h"

using namespace tavrin;

namespace {
class PlantedLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    savedDirectory_ = current;
    planted_ = testutil::freshFolder("planted");
    // Any loadable library will do as the plant.
    const std::string plant = testutil::testDir() + "\\ver_plain.dll";
    for (const char* name : {"psapi.dll", "vdmdbg.dll", "ostrum.dll"})
      ASSERT_TRUE(CopyFileA(plant.c_str(), (planted_ + "\\" + name).c_str(), FALSE));
    SetCurrentDirectoryA(planted_.c_str());
  }
  void TearDown() override { SetCurrentDirectoryA(savedDirectory_.c_str()); }
  std::string savedDirectory_, planted_;
};
}  // namespace

TEST_F(PlantedLibrary, SystemLibrariesComeFromTheSystemFolder) {
  UniqueModule psapi(loadSystemLibrary("psapi.dll"));
  ASSERT_TRUE(psapi);
  EXPECT_EQ(lstrcmpiA(folderOf(moduleFileName(psapi.get())).c_str(), systemFolder().c_str()), 0);
  EXPECT_NE(GetProcAddress(psapi.get(), "EnumProcesses"), nullptr);
}

TEST_F(PlantedLibrary, ProgramFolderLibraryIsNotSearchedElsewhere) {
  // ostrum.dll sits only in the current folder, not beside the test program.
  DeleteFileA((testutil::testDir() + "\\ostrum.dll").c_str());
  UniqueModule module(loadProgramFolderLibrary("ostrum.dll"));
  EXPECT_FALSE(module);
  UniqueModule fixture(loadProgramFolderLibrary("ver_plain.dll"));
  EXPECT_TRUE(fixture);
}
