#include "sys/shortcut.h"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "base/text.h"
#include "inventory/program_file.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

class ShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    folder_ = testutil::freshFolder("shortcuts");
    CreateDirectoryA((folder_ + "\\Target Folder").c_str(), nullptr);
    target_ = folder_ + "\\Target Folder\\Target Program.exe";
    ASSERT_TRUE(testutil::writeFile(target_, "MZ"));
  }
  void TearDown() override { CoUninitialize(); }

  ShortcutFields fields() const {
    ShortcutFields f;
    f.target = target_;
    f.arguments = "-tray \"with quotes\"";
    f.workingFolder = folder_;
    f.description = "Starts the target";
    f.iconFile = target_;
    f.iconIndex = 2;
    return f;
  }

  std::string folder_;
  std::string target_;
};

}  // namespace

TEST_F(ShortcutTest, WrittenShortcutResolvesIsReplacedByTheNextAndADeletedTargetIsNoFile) {
  const UINT original = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  const std::string link = folder_ + "\\Target.lnk";
  ShortcutFields first = fields();
  first.description = "first";
  ASSERT_EQ(writeShortcut(link, first), S_OK);
  ASSERT_EQ(writeShortcut(link, fields()), S_OK);
  ResolvedShortcut shortcut = resolveShortcut(link);
  EXPECT_EQ(shortcut.result, S_OK);
  EXPECT_TRUE(shortcut.resolved);
  EXPECT_EQ(shortcut.description, "Starts the target");
  // The short form on Windows; Wine hands out the long path. Either names the target.
  EXPECT_TRUE(equalsNoCase(shortcut.target, testutil::shortPathOf(target_)) || equalsNoCase(shortcut.target, target_))
      << shortcut.target;
  EXPECT_TRUE(equalsNoCase(longPathForm(shortcut.target), target_));
  resolveShortcut(folder_ + "\\Missing.lnk");
  EXPECT_EQ(SetErrorMode(original), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
  // A deleted target is not taken for an existing file.
  const std::string gone = folder_ + "\\Gone.lnk";
  ASSERT_EQ(writeShortcut(gone, fields()), S_OK);
  ASSERT_TRUE(DeleteFileA(target_.c_str()));
  testutil::setString(HKEY_LOCAL_MACHINE, "Software\\Quennet\\Tavrin", "LString730", "Local File not found.");
  shortcut = resolveStartupShortcut(gone);
  testutil::deleteValue(HKEY_LOCAL_MACHINE, "Software\\Quennet\\Tavrin", "LString730");
  EXPECT_FALSE(FAILED(shortcut.result));
  if (shortcut.resolved) {
    // Wine: the resolve answers S_OK for a missing target and names the old path.
    EXPECT_TRUE(equalsNoCase(shortcut.target, target_)) << shortcut.target;
    EXPECT_EQ(shortcut.description, "Starts the target");
  } else {
    // Windows: a non-error code, no target, and the not-found text.
    EXPECT_NE(shortcut.result, S_OK);
    EXPECT_EQ(shortcut.target, "");
    EXPECT_EQ(shortcut.description, "Local File not found.");
  }
  std::string target = shortcut.target;
  EXPECT_FALSE(programFileExists(target));
}

TEST_F(ShortcutTest, BrokenMissingOrOverlongShortcutsAndUnsavablePathsGiveErrors) {
  std::mt19937 random(730);
  std::string noise(2048, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string broken = folder_ + "\\Broken.lnk";
  ASSERT_TRUE(testutil::writeFile(broken, noise));
  const std::string empty = folder_ + "\\Empty.lnk";
  ASSERT_TRUE(testutil::writeFile(empty, ""));
  // A header that claims to be a shortcut and then stops.
  const std::string truncated = folder_ + "\\Truncated.lnk";
  ASSERT_TRUE(testutil::writeFile(truncated, std::string("\x4c\0\0\0\x01\x14\x02\0", 8)));

  for (const std::string& path : {broken, empty, truncated, folder_ + "\\Missing.lnk", folder_,
                                  folder_ + "\\" + std::string(300, 'n') + ".lnk", std::string()}) {
    ResolvedShortcut shortcut = resolveStartupShortcut(path);
    EXPECT_TRUE(FAILED(shortcut.result)) << path << " 0x" << std::hex << shortcut.result;
    EXPECT_FALSE(shortcut.resolved) << path;
    EXPECT_EQ(shortcut.target, "") << path;
    EXPECT_EQ(shortcut.description, "") << path;
  }
  EXPECT_EQ(resolveShortcut(folder_ + "\\" + std::string(300, 'n') + ".lnk").result,
            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
  // The broken file is still there, unchanged.
  EXPECT_EQ(testutil::readFile(broken), noise);
  // The writer refuses paths it cannot save; without COM the creation error comes back.
  EXPECT_EQ(writeShortcut(folder_ + "\\" + std::string(300, 'w') + ".lnk", fields()),
            HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_TRUE(FAILED(writeShortcut(folder_ + "\\no such folder\\x.lnk", fields())));
  const std::string link = folder_ + "\\NoCom.lnk";
  ASSERT_EQ(writeShortcut(link, fields()), S_OK);
  HRESULT resolveResult = S_OK;
  HRESULT writeResult = S_OK;
  // A thread of its own has not initialised COM.
  std::thread([&] {
    resolveResult = resolveShortcut(link).result;
    writeResult = writeShortcut(folder_ + "\\NoCom2.lnk", fields());
  }).join();
  EXPECT_EQ(resolveResult, CO_E_NOTINITIALIZED);
  EXPECT_EQ(writeResult, CO_E_NOTINITIALIZED);
  EXPECT_EQ(GetFileAttributesA((folder_ + "\\NoCom2.lnk").c_str()), INVALID_FILE_ATTRIBUTES);
}
