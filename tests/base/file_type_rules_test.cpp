#include "base/file_type_rules.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(MonitoredList, TokensThatCouldAddressOtherKeysAreRefusedTheListIsFullAtItsLimitAndMarkedByASemicolon) {
  for (const char* text : {"", ".", "..z", "a;b", "x\\y", "a/b", "a b", "tab\tx"})
    EXPECT_EQ(checkNewExtension("AVI;", text), filetype::kInvalid) << text;
  EXPECT_EQ(checkNewExtension("AVI;", std::string(257, 'q')), filetype::kInvalid);
  EXPECT_EQ(checkNewExtension("AVI;", ".Avi"), filetype::kAlreadyMonitored);
  EXPECT_EQ(monitoredTokens("AVI;x\\y;a b;;.TXT"), (std::vector<std::string>{"AVI", "TXT"}));
  EXPECT_EQ(listWithExtension("AVI;BAT", "zzt"), "AVI;BAT;zzt;");
  EXPECT_EQ(listWithoutExtension("AVI;.zzt;ZZT;TXT", ".Zzt"), "AVI;TXT;") << "every token the listing reads as it";
  const std::string list = std::string(1016, 'a') + ";";
  EXPECT_EQ(checkNewExtension(list, "abc"), filetype::kListFull);  // 1017 + 3
  EXPECT_EQ(checkNewExtension(list, "ab"), filetype::kAdded);
  EXPECT_TRUE(isMonitoredList("LONGEXTENSION;TXT;"));
  EXPECT_FALSE(isMonitoredList("TXT"));
}

TEST(AssociationProgram, ComparedAfterTheLastBackslashShownByItsFileAndIconSplit) {
  const char snapshot[] = "\"C:\\Program Files\\Probe\\good.exe\" \"%1\"";
  EXPECT_TRUE(sameAssociationProgram(snapshot, "\"D:\\Elsewhere\\GOOD.EXE\" \"%1\""));
  EXPECT_TRUE(sameAssociationProgram("C:\\Program Files\\Probe\\good.exe %1", snapshot)) << "older snapshots";
  EXPECT_FALSE(sameAssociationProgram(snapshot, "\"C:\\Program Files\\Probe\\evil.exe\" \"%1\""));
  EXPECT_FALSE(sameAssociationProgram(snapshot, "\"C:\\Program Files\\Probe\\good.exe\" /x \"%1\""));
  // "=" reads as ":" on both sides, so such a command is not a change at every pass.
  EXPECT_TRUE(sameAssociationProgram("C:\\A\\b.exe /o=1 %1", "C:\\A\\b.exe /o:1 %1"));
  const CommandExpansion values{"C:\\WINDOWS", [](const std::string&, std::string&) { return false; }};
  EXPECT_EQ(associationProgram("\"%1\" %*", values).stringId, 746);
  EXPECT_EQ(associationProgram("%1 /s", values).stringId, 746);
  EXPECT_EQ(associationProgram("", values).stringId, 742);
  EXPECT_EQ(associationProgram("rundll32.exe C:\\W\\shimgvw.dll,ImageView %1", values).fileName, "SHIMGVW.DLL");
  EXPECT_EQ(associationProgram("\"C:\\Program Files\\P\\good.exe\" \"%1\"", values).fileName, "GOOD.EXE");
  const IconLocation split = splitIconLocation("\"C:\\a,b\\icons.dll\",-203");
  EXPECT_EQ(split.path + "|" + std::to_string(split.index), "C:\\a,b\\icons.dll|-203");
  EXPECT_FALSE(splitIconLocation("C:\\x\\doc.ico").hasIndex);
}
