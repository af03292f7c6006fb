#include "base/file_watch_rules.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(VaultSlots, SameNameFromTwoFoldersGetsTwoSlotsAndCaseDoesNotMatter) {
  const std::string first = vaultSlotName("C:\\one\\same.dat");
  EXPECT_NE(first, vaultSlotName("C:\\two\\same.dat"));
  EXPECT_EQ(first.substr(8), vaultSlotName("c:\\ONE\\Same.dat").substr(8)) << "the same hash";
  EXPECT_EQ(first.rfind("same.dat.", 0), 0u);
  EXPECT_EQ(oldVaultSlotName("C:\\one\\same.dat"), "same.dat");
  EXPECT_LE(vaultSlotName("C:\\" + std::string(250, 'n')).size(), 255u);
}

TEST(WatchedFiles, BuiltInFilesNeedDateAndSizeOthersDateAlone) {
  const FileStamp stored{"01/02/2007 3:04 PM", "23", 0};
  EXPECT_FALSE(watchedFileChanged(stored, {"01/02/2007 3:05 PM", "23", 0}, 0));
  EXPECT_TRUE(watchedFileChanged(stored, {"01/02/2007 3:05 PM", "23", 0}, 1));
  EXPECT_TRUE(watchedFileChanged(stored, {"01/02/2007 3:05 PM", "40", 0}, 0));
  EXPECT_FALSE(watchedFileChanged(stored, {"01/02/2007 3:04 PM", "40", 0}, 0));
  // Within the recorded minute the exact write times decide.
  const FileStamp exact{"01/02/2007 3:04 PM", "23", 1000};
  EXPECT_TRUE(watchedFileChanged(exact, {"01/02/2007 3:04 PM", "40", 2000}, 0));
  EXPECT_FALSE(watchedFileChanged(exact, {"01/02/2007 3:05 PM", "40", 1000}, 0));
}

TEST(RestartFile, DeletionGoesIntoTheRenameSectionAndTheDisplayIsCutWithCrLfAndNoZeroBytes) {
  EXPECT_EQ(addRestartDeletion("", "C:\\A~1.DAT"), "[rename]\r\nNUL=C:\\A~1.DAT\r\n");
  EXPECT_EQ(addRestartDeletion("[Rename]\r\nNUL=C:\\X", "C:\\Y"), "[Rename]\r\nNUL=C:\\X\r\nNUL=C:\\Y\r\n");
  EXPECT_EQ(addRestartDeletion("[other]\nk=v\n", "C:\\Y"), "[other]\nk=v\n[rename]\r\nNUL=C:\\Y\r\n");
  EXPECT_EQ(addRestartDeletion(" [rename] \r\nNUL=C:\\X\r\n[other]\r\n", "C:\\Y"),
            " [rename] \r\nNUL=C:\\X\r\nNUL=C:\\Y\r\n[other]\r\n");
  EXPECT_EQ(restartCommandsDisplay(std::string("a\nb\r\nc\rd\0e", 10)), "a\r\nb\r\nc\r\nd e");
  EXPECT_EQ(restartCommandsDisplay(std::string(20000, 'x')).size(), kRestartTextLimit);
}
