#include "inventory/program_file.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <thread>
#include <vector>

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

// Which prefixes and variables expand is tested without the platform; here
// where their values come from.
TEST_F(ProgramFileTest, VariablesComeFromTheWindowsFolderTheRegistryAndTheEnvironment) {
  EXPECT_EQ(programFileOfCommand("\\SystemRoot\\System32\\drivers\\beep.sys"),
            upper(windowsFolder()) + "\\SYSTEM32\\DRIVERS\\BEEP.SYS");
  std::string saved;
  DWORD type = 0;
  const bool hadValue = testutil::rawValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", saved, type);
  ASSERT_TRUE(testutil::setString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", "D:\\Apps Here"));
  EXPECT_EQ(programFileOfCommand("\"%PROGRAMFILES%\\Tool\\tool.exe\" -x"), "D:\\APPS HERE\\TOOL\\TOOL.EXE");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
  EXPECT_EQ(programFileOfCommand("%ProgramFiles%\\Tool\\tool.exe"), "C:\\PROGRAM FILES\\TOOL\\TOOL.EXE");
  if (hadValue) testutil::setBinary(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", saved, type);

  ASSERT_TRUE(SetEnvironmentVariableA("TAVRIN_TEST_HOME", "E:\\Home Dir"));
  EXPECT_EQ(programFileOfCommand("%TAVRIN_TEST_HOME%\\bin\\run.exe -a"), "E:\\HOME DIR\\BIN\\RUN.EXE");
  SetEnvironmentVariableA("TAVRIN_TEST_HOME", nullptr);
  EXPECT_EQ(programFileOfCommand("%TAVRIN_TEST_HOME%\\bin\\run.exe"), "%TAVRIN_TEST_HOME%\\BIN\\RUN.EXE");
}

TEST_F(ProgramFileTest, LongFormsOfSplitCommandsAndOfTextsAlsoWithinFolderListings) {
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
  // Texts in their long form; within an enumeration's folder listings the answers are the system's own.
  CreateDirectoryA((folder_ + "\\Another Long Folder").c_str(), nullptr);
  const std::string file = create(folder_ + "\\Another Long Folder\\document name.txt");
  const std::string shortFile = testutil::shortPathOf(file);
  const std::string texts[] = {shortFile, upper(shortFile), testutil::shortPathOf(folder_ + "\\Another Long Folder"),
                               shortFile + " -arg", file + " /k", shortFile + "\\below.exe", file + ".",
                               "C:\\no such folder\\x.exe", "", "x", std::string(400, 'p')};
  std::vector<std::string> unlisted;
  for (const std::string& text : texts) unlisted.push_back(longPathForm(text));
  EXPECT_TRUE(equalsNoCase(unlisted[0], file));
  EXPECT_TRUE(equalsNoCase(unlisted[1], file));
  EXPECT_TRUE(equalsNoCase(unlisted[2], folder_ + "\\Another Long Folder"));
  // Texts that name no file stay exactly as given.
  for (std::size_t i = 3; i < std::size(texts); ++i)
    if (i != 6) {
      EXPECT_EQ(unlisted[i], texts[i]);
    }
  FolderListings listings;
  for (std::size_t i = 0; i < std::size(texts); ++i) EXPECT_EQ(longPathForm(texts[i]), unlisted[i]) << texts[i];
}

// Full paths are taken as they are (a folder is no program). Bare names are looked
// for in the Windows folder, then the system folder (whose names are rewritten to
// the short path), up to 31 characters.
TEST_F(ProgramFileTest, FullPathsBareNamesAndTheirFolders) {
  const std::string present = create(folder_ + "\\present.exe"), absent = folder_ + "\\absent.exe";
  const std::string shortPresent = testutil::shortPathOf(present);
  create(windowsFolder() + "\\tvwinonly.exe");
  const std::string inSystem = create(systemFolder() + "\\tvsysonly.exe");
  create(windowsFolder() + "\\tvboth.exe");
  create(systemFolder() + "\\tvboth.exe");
  const std::string longName = "tv_name_of_exactly_32_chars_.exe", shorterName = "tv_name_of_exactly_31_chars.exe";
  create(systemFolder() + "\\" + longName);
  create(systemFolder() + "\\" + shorterName);
  const struct {
    std::string name;
    bool exists;
    std::string rewritten, folder;
  } cases[] = {
      {present, true, present, folder_},
      {absent, false, absent, folder_},
      {"", false, "", ""},
      {std::string(600, 'x'), false, std::string(600, 'x'), ""},
      {"tvwinonly.exe", true, "tvwinonly.exe", windowsFolder()},
      {"tvsysonly.exe", true, testutil::shortPathOf(inSystem), systemFolder()},
      {"TVBOTH.EXE", true, "TVBOTH.EXE", windowsFolder()},
      {"tvnowhere.exe", false, "tvnowhere.exe", ""},
      {"tv_name_of_exactly_31_chars.exe", true, testutil::shortPathOf(systemFolder() + "\\" + shorterName),
       systemFolder()},
      {"tv_name_of_exactly_32_chars_.exe", false, longName, ""},
      {"system32", false, "system32", ""},  // a sub-folder of the Windows folder is not a program
      {upper(present), true, present, folder_},
      {shortPresent, true, shortPresent, shortPresent.substr(0, shortPresent.rfind('\\'))},
      {present + "\\below.exe", false, present + "\\below.exe", present},
      {present + ".", true, present + ".", folder_},
  };
  // Within a fill's or an enumeration's folder listings, the same answers.
  for (bool listed : {false, true}) {
    std::unique_ptr<FolderListings> listings(listed ? new FolderListings : nullptr);
    for (const auto& c : cases) {
      std::string name = c.name;
      EXPECT_EQ(programFileExists(name), c.exists) << c.name << (listed ? " (listed)" : "");
      EXPECT_TRUE(equalsNoCase(name, c.rewritten)) << c.name << ": " << name;
      EXPECT_TRUE(equalsNoCase(folderOfProgram(c.name), c.folder)) << c.name;
    }
    std::string folder = folder_;
    EXPECT_FALSE(programFileExists(folder));
    if (!listed) continue;
    // The listings are this thread's: a file made since is not in them, and
    // another thread, which has none, asks the file system and finds it.
    std::string later = create(folder_ + "\\later.exe");
    bool elsewhere = false;
    std::thread([&] {
      std::string there = later;
      elsewhere = programFileExists(there);
    }).join();
    EXPECT_TRUE(elsewhere);
    EXPECT_FALSE(programFileExists(later));
  }
  EXPECT_TRUE(equalsNoCase(longPathForm(testutil::shortPathOf(inSystem)), inSystem));
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
