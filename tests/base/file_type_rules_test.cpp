#include "base/file_type_rules.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {
const char kList[] = "AVI;BAT;txt;";
}

TEST(MonitoredList, AddingRefusesDuplicatesWhateverTheDotOrCase) {
  EXPECT_EQ(checkNewExtension(kList, ".TXT"), filetype::kAlreadyMonitored);
  EXPECT_EQ(checkNewExtension(kList, "bat"), filetype::kAlreadyMonitored);
  EXPECT_EQ(checkNewExtension(kList, ".zzt"), filetype::kAdded);
  // Only a whole token counts: "AV" is part of "AVI" but not listed.
  EXPECT_EQ(checkNewExtension(kList, "AV"), filetype::kAdded);
  EXPECT_EQ(listWithExtension(kList, "zzt"), "AVI;BAT;txt;zzt;");
  EXPECT_EQ(listWithExtension("AVI;BAT", "zzt"), "AVI;BAT;zzt;");
}

TEST(MonitoredList, TokensThatCouldAddressOtherKeysAreRefused) {
  for (const char* text : {"", ".", "..z", "a;b", "x\\y", "..\\z", "a/b", "a b", "tab\tx", "nl\n"})
    EXPECT_EQ(checkNewExtension(kList, text), filetype::kInvalid) << text;
  EXPECT_EQ(checkNewExtension(kList, std::string(257, 'q')), filetype::kInvalid);
  // Read from a list written by someone else, they are skipped, not monitored.
  const auto tokens = monitoredTokens("AVI;x\\y;a b;;TXT");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1], "TXT");
}

TEST(MonitoredList, FullAtTheLimitAndInitialisedByASemicolonAnywhere) {
  const std::string list(1016, 'a');
  EXPECT_EQ(checkNewExtension(list + ";", "abc"), filetype::kListFull);  // 1017 + 3
  EXPECT_EQ(checkNewExtension(list + ";", "ab"), filetype::kAdded);
  // A first token of ten characters or more is still a list.
  EXPECT_TRUE(isMonitoredList("LONGEXTENSION;TXT;"));
  EXPECT_TRUE(isMonitoredList("ABCDEFGHIJKLMNOP;"));
  EXPECT_FALSE(isMonitoredList(""));
  EXPECT_FALSE(isMonitoredList("TXT"));
}

TEST(AssociationComparison, OnlyWhatFollowsTheLastBackslashCounts) {
  const char snapshot[] = "\"C:\\Program Files\\Probe\\good.exe\" \"%1\"";
  EXPECT_TRUE(sameAssociationProgram(snapshot, "\"D:\\Elsewhere\\GOOD.EXE\" \"%1\""));
  // Snapshots taken without quotes still compare equal.
  EXPECT_TRUE(sameAssociationProgram("C:\\Program Files\\Probe\\good.exe %1", snapshot));
  EXPECT_FALSE(sameAssociationProgram(snapshot, "\"C:\\Program Files\\Probe\\evil.exe\" \"%1\""));
  EXPECT_FALSE(sameAssociationProgram(snapshot, "\"C:\\Program Files\\Probe\\good.exe\" /x \"%1\""));
  // "=" reads as ":" on both sides, so such a command is not changed forever.
  EXPECT_TRUE(sameAssociationProgram("C:\\A\\b.exe /o=1 %1", "C:\\A\\b.exe /o=1 %1"));
  EXPECT_TRUE(sameAssociationProgram("C:\\A\\b.exe /o:1 %1", "C:\\A\\b.exe /o=1 %1"));
}

TEST(AssociationProgram, ExecutableEmptyRundllAndPlainCommands) {
  CommandExpansion values;
  values.windowsFolder = "C:\\WINDOWS";
  values.variable = [](const std::string&, std::string&) { return false; };
  EXPECT_EQ(associationProgram("%1 %*", values).stringId, 746);
  EXPECT_EQ(associationProgram("\"%1\" /s", values).stringId, 746);
  EXPECT_EQ(associationProgram("", values).stringId, 742);
  const AssociationProgram rundll =
      associationProgram("C:\\WINDOWS\\system32\\rundll32.exe C:\\WINDOWS\\system32\\shimgvw.dll,ImageView %1", values);
  EXPECT_EQ(rundll.stringId, 0);
  EXPECT_EQ(rundll.fileName, "SHIMGVW.DLL");
  EXPECT_EQ(associationProgram("\"C:\\Program Files\\Probe\\good.exe\" \"%1\"", values).programFile,
            "C:\\PROGRAM FILES\\PROBE\\GOOD.EXE");
}

TEST(IconLocation, SplitAtTheLastComma) {
  const IconLocation split = splitIconLocation("\"C:\\a,b\\icons.dll\",-203");
  EXPECT_EQ(split.path, "C:\\a,b\\icons.dll");
  EXPECT_EQ(split.index, -203);
  EXPECT_TRUE(split.hasIndex);
  const IconLocation whole = splitIconLocation("C:\\x\\doc.ico");
  EXPECT_FALSE(whole.hasIndex);
  EXPECT_EQ(whole.path, "C:\\x\\doc.ico");
  EXPECT_EQ(whole.index, 0);
}
