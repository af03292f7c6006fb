#include "inventory/program_file.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/win_test_util.h"
#include "sys/paths.h"

using namespace tavrin;

namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Files created in the Windows and system folders for one test, removed after it.
class ProgramFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testutil::freshFolder("program-file");
    // Bare names must not be found in the current folder by accident.
    SetCurrentDirectoryA(folder_.c_str());
  }
  void TearDown() override {
    for (const std::string& file : created_) DeleteFileA(file.c_str());
    SetCurrentDirectoryA(testutil::testDir().c_str());
  }
  std::string create(const std::string& path) {
    EXPECT_TRUE(testutil::writeFile(path, "MZ")) << path;
    created_.push_back(path);
    return path;
  }

  std::string folder_;
  std::vector<std::string> created_;
};

}  // namespace

TEST_F(ProgramFileTest, ExpandsTheWindowsFolderOnlyForItsPrefixes) {
  const std::string windows = upper(windowsFolder());
  EXPECT_EQ(programFileOfCommand("\\SystemRoot\\System32\\drivers\\beep.sys"),
            windows + "\\SYSTEM32\\DRIVERS\\BEEP.SYS");
  EXPECT_EQ(programFileOfCommand("%systemroot%\\system32\\svchost.exe -k netsvcs"),
            windows + "\\SYSTEM32\\SVCHOST.EXE");
  // A program that merely has the word in its path keeps its path.
  EXPECT_EQ(programFileOfCommand("C:\\Tools\\systemroot.exe /all"), "C:\\TOOLS\\SYSTEMROOT.EXE");
  EXPECT_EQ(programFileOfCommand("\"C:\\My SystemRoot Tools\\fix.exe\" -q"), "C:\\MY SYSTEMROOT TOOLS\\FIX.EXE");
}

TEST_F(ProgramFileTest, ProgramFilesComesFromTheRegistry) {
  std::string saved;
  DWORD type = 0;
  const bool hadValue = testutil::rawValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", saved, type);

  ASSERT_TRUE(testutil::setString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps Here"));
  EXPECT_EQ(programFileOfCommand("%ProgramFiles%\\Tool\\tool.exe -x"), "D:\\APPS HERE\\TOOL\\TOOL.EXE");
  EXPECT_EQ(programFileOfCommand("\"%PROGRAMFILES%\\Tool\\tool.exe\""), "D:\\APPS HERE\\TOOL\\TOOL.EXE");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  EXPECT_EQ(programFileOfCommand("%ProgramFiles%\\Tool\\tool.exe"), "C:\\PROGRAM FILES\\TOOL\\TOOL.EXE");

  if (hadValue) testutil::setBinary(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", saved, type);
}

TEST_F(ProgramFileTest, OtherVariablesComeFromTheEnvironment) {
  ASSERT_TRUE(SetEnvironmentVariableA("TAVRIN_TEST_HOME", "E:\\Home Dir"));
  EXPECT_EQ(programFileOfCommand("%TAVRIN_TEST_HOME%\\bin\\run.exe -a"), "E:\\HOME DIR\\BIN\\RUN.EXE");
  SetEnvironmentVariableA("TAVRIN_TEST_HOME", nullptr);
  // An unknown variable stays as written instead of turning into another path.
  EXPECT_EQ(programFileOfCommand("%TAVRIN_TEST_HOME%\\bin\\run.exe"), "%TAVRIN_TEST_HOME%\\BIN\\RUN.EXE");
}

TEST_F(ProgramFileTest, SplitGivesTheLongFormAndTheParameters) {
  CreateDirectoryA((folder_ + "\\Long Folder Name").c_str(), nullptr);
  const std::string program = create(folder_ + "\\Long Folder Name\\Program With Spaces.exe");
  const std::string shortProgram = testutil::shortPathOf(program);
  ASSERT_NE(shortProgram, "");
  ASSERT_FALSE(equalsNoCase(shortProgram, program));

  CommandParts parts = splitCommand(shortProgram + " /min -x");
  EXPECT_TRUE(equalsNoCase(parts.programFile, program)) << parts.programFile;
  EXPECT_EQ(parts.parameters, " /min -x");

  parts = splitCommand("\"" + program + "\" /q");
  EXPECT_TRUE(equalsNoCase(parts.programFile, program)) << parts.programFile;
  EXPECT_EQ(parts.parameters, " /q");

  // A control-panel applet ends the program part as well.
  parts = splitCommand("C:\\missing\\panel.cpl,@1");
  EXPECT_EQ(parts.programFile, "C:\\MISSING\\PANEL.CPL");
  EXPECT_EQ(parts.parameters, ",@1");
}

TEST_F(ProgramFileTest, LongPathForm) {
  CreateDirectoryA((folder_ + "\\Another Long Folder").c_str(), nullptr);
  const std::string file = create(folder_ + "\\Another Long Folder\\document name.txt");
  EXPECT_TRUE(equalsNoCase(longPathForm(testutil::shortPathOf(file)), file));
  EXPECT_TRUE(equalsNoCase(longPathForm(testutil::shortPathOf(folder_ + "\\Another Long Folder")),
                           folder_ + "\\Another Long Folder"));
  // Texts that name no file stay exactly as given.
  for (const std::string& text : {std::string("C:\\no such folder\\x.exe"), testutil::shortPathOf(file) + " -arg",
                                  std::string(""), std::string("x"), std::string(400, 'p')})
    EXPECT_EQ(longPathForm(text), text);
}

TEST_F(ProgramFileTest, ExistsWithFullPathsButNotForFolders) {
  std::string file = create(folder_ + "\\present.exe");
  const std::string given = file;
  EXPECT_TRUE(programFileExists(file));
  EXPECT_EQ(file, given);
  std::string missing = folder_ + "\\absent.exe";
  EXPECT_FALSE(programFileExists(missing));
  EXPECT_EQ(missing, folder_ + "\\absent.exe");
  std::string folder = folder_;
  EXPECT_FALSE(programFileExists(folder));
  std::string empty;
  EXPECT_FALSE(programFileExists(empty));
  std::string overlong(600, 'x');
  EXPECT_FALSE(programFileExists(overlong));
}

TEST_F(ProgramFileTest, BareNamesInTheSystemFoldersSystemNamesAreRewritten) {
  create(windowsFolder() + "\\tvwinonly.exe");
  const std::string inSystem = create(systemFolder() + "\\tvsysonly.exe");
  create(windowsFolder() + "\\tvboth.exe");
  create(systemFolder() + "\\tvboth.exe");

  std::string name = "tvwinonly.exe";
  EXPECT_TRUE(programFileExists(name));
  EXPECT_EQ(name, "tvwinonly.exe");

  name = "tvsysonly.exe";
  EXPECT_TRUE(programFileExists(name));
  EXPECT_EQ(name, testutil::shortPathOf(inSystem));
  EXPECT_TRUE(equalsNoCase(longPathForm(name), inSystem));

  name = "TVBOTH.EXE";  // the Windows folder is asked first
  EXPECT_TRUE(programFileExists(name));
  EXPECT_EQ(name, "TVBOTH.EXE");

  name = "tvnowhere.exe";
  EXPECT_FALSE(programFileExists(name));
  EXPECT_EQ(name, "tvnowhere.exe");
}

TEST_F(ProgramFileTest, NamesOf32CharactersAreNotLookedForInTheSystemFolders) {
  const std::string longName = "tv_name_of_exactly_32_chars_.exe";
  ASSERT_EQ(longName.size(), 32u);
  const std::string shorterName = "tv_name_of_exactly_31_chars.exe";
  ASSERT_EQ(shorterName.size(), 31u);
  create(systemFolder() + "\\" + longName);
  create(systemFolder() + "\\" + shorterName);
  std::string name = longName;
  EXPECT_FALSE(programFileExists(name));
  name = shorterName;
  EXPECT_TRUE(programFileExists(name));
  EXPECT_EQ(folderOfProgram(longName), "");
  EXPECT_TRUE(equalsNoCase(folderOfProgram(shorterName), systemFolder()));
}

TEST_F(ProgramFileTest, FolderOfAProgram) {
  EXPECT_EQ(folderOfProgram("C:\\Apps\\Tool\\tool.exe"), "C:\\Apps\\Tool");
  EXPECT_EQ(folderOfProgram("C:\\tool.exe"), "C:\\");
  EXPECT_EQ(folderOfProgram(""), "");
  create(windowsFolder() + "\\tvwinfolder.exe");
  create(systemFolder() + "\\tvsysfolder.exe");
  EXPECT_EQ(folderOfProgram("tvwinfolder.exe"), windowsFolder());
  EXPECT_EQ(folderOfProgram("tvsysfolder.exe"), systemFolder());
  EXPECT_EQ(folderOfProgram("tvnofolder.exe"), "");
  // A sub-folder of the Windows folder is not a program.
  EXPECT_EQ(folderOfProgram("system32"), "");
}

TEST_F(ProgramFileTest, DisabledFolderBesideTheProgram) {
  const std::string expected = programFolder() + "\\Disabled";
  EXPECT_EQ(disabledFolder(), expected);
  RemoveDirectoryA(expected.c_str());
  EXPECT_EQ(createDisabledFolder(), 1);
  DWORD attributes = GetFileAttributesA(expected.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(createDisabledFolder(), 1);  // already there
  ASSERT_TRUE(RemoveDirectoryA(expected.c_str()));

  // A file in its place is no folder to move programs into.
  ASSERT_TRUE(testutil::writeFile(expected, "not a folder"));
  EXPECT_EQ(createDisabledFolder(), 0);
  DeleteFileA(expected.c_str());
}
