#include "base/startup_text.h"

#include <gtest/gtest.h>

using namespace tavrin;

// Userinit's program follows the comma, Shell's the blank.
TEST(WinlogonPrograms, UserinitAfterTheCommaShellAfterTheBlank) {
  const struct {
    bool (*read)(std::string_view, std::string&);
    const char* value;
    bool found;
    const char* program;
  } rows[] = {
      {userinitProgram, "C:\\WINDOWS\\system32\\userinit.exe,", true, "C:\\WINDOWS\\system32\\userinit.exe"},
      {userinitProgram, "C:\\WINDOWS\\system32\\userinit.exe,  c:\\evil\\x.exe", true, "c:\\evil\\x.exe"},
      {userinitProgram, "a.exe,b.exe,", true, "b.exe,"},
      {userinitProgram, "C:\\WINDOWS\\system32\\userinit.exe", false, ""},
      {userinitProgram, ",", true, ""},
      {shellProgram, "Explorer.exe", true, "Explorer.exe"},
      {shellProgram, "Explorer.exe c:\\evil\\x.exe", true, "c:\\evil\\x.exe"},
      {shellProgram, "Explorer.exe    other.exe", true, "other.exe"},
      {shellProgram, "Explorer.exe ", true, "Explorer.exe"},
  };
  for (const auto& row : rows) {
    std::string program = "stale";
    EXPECT_EQ(row.read(row.value, program), row.found) << row.value;
    EXPECT_EQ(program, row.program) << row.value;
  }
  std::string program;
  EXPECT_FALSE(userinitProgram("", program));
  EXPECT_FALSE(shellProgram("", program));
}

TEST(AppInitList, EverySeparatorEndsAPieceAndRemovalKeepsTheOthers) {
  EXPECT_EQ(appInitPieces("a.dll"), (std::vector<std::string>{"a.dll"}));
  EXPECT_EQ(appInitPieces("a.dll, b.dll"), (std::vector<std::string>{"a.dll", "", "b.dll"}));
  EXPECT_EQ(appInitPieces("a.dll,"), (std::vector<std::string>{"a.dll", ""}));
  EXPECT_EQ(appInitPieces(" a.dll"), (std::vector<std::string>{"", "a.dll"}));
  EXPECT_EQ(appInitPieces("c:\\progra~1\\x.dll c:\\y.dll"),
            (std::vector<std::string>{"c:\\progra~1\\x.dll", "c:\\y.dll"}));
  auto same = [](const std::string& piece) { return piece; };
  EXPECT_EQ(appInitWithout("a.dll,b.dll", "b.dll", same), "a.dll");
  EXPECT_EQ(appInitWithout("a.dll,b.dll", "A.DLL", same), "b.dll");
  EXPECT_EQ(appInitWithout("a.dll b.dll c.dll", "b.dll", same), "a.dll,c.dll");
  EXPECT_EQ(appInitWithout("a.dll,,b.dll", "x.dll", same), "a.dll,,b.dll");
  EXPECT_EQ(appInitWithout("a.dll", "a.dll", same), "");
  EXPECT_EQ(appInitWithout("a.dll,a.dll", "a.dll", same), "");
  // Pieces are compared in their long form, the DLL as given.
  auto longForm = [](const std::string& piece) {
    return piece == "c:\\progra~1\\x\\hook.dll" ? std::string("c:\\Program Files\\x\\hook.dll") : piece;
  };
  EXPECT_EQ(appInitWithout("c:\\progra~1\\x\\hook.dll,c:\\y.dll", "C:\\Program Files\\x\\hook.dll", longForm),
            "c:\\y.dll");
}

TEST(StartupKey, EqualsSignsBecomeColons) {
  EXPECT_EQ(startupKeyOf("c:\\tools\\run.exe /opt=1 /x=2"), "c:\\tools\\run.exe /opt:1 /x:2");
  EXPECT_EQ(startupKeyOf("C:\\A.EXE"), "C:\\A.EXE");
}
