#include "base/command_text.h"

#include <gtest/gtest.h>

#include <map>

using namespace tavrin;

namespace {

// A Windows folder and a few variables, as the platform would give them.
CommandExpansion machine() {
  CommandExpansion values;
  values.windowsFolder = "C:\\WINDOWS";
  values.variable = [](const std::string& name, std::string& value) {
    static const std::map<std::string, std::string> known = {
        {"PROGRAMFILES", "D:\\Apps"}, {"APPDATA", "C:\\Users\\ann\\AppData"}, {"EMPTY", ""}, {"SYSTEMROOT", "C:\\NT"}};
    std::string upper;
    for (char c : name) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    auto found = known.find(upper);
    if (found == known.end()) return false;
    value = found->second;
    return true;
  };
  return values;
}

}  // namespace

TEST(CommandExpansion, PrefixesAndVariablesARootWindowsFolderAndNoLookup) {
  const struct {
    const char* command;
    const char* expanded;
  } rows[] = {
      {"\\SystemRoot\\System32\\drivers\\x.sys", "C:\\WINDOWS\\System32\\drivers\\x.sys"},
      {"\\systemroot\\x.exe", "C:\\WINDOWS\\x.exe"},
      {"%SystemRoot%\\system32\\a.exe /q", "C:\\WINDOWS\\system32\\a.exe /q"},
      {"\"\\SystemRoot\\a b.exe\" -x", "\"C:\\WINDOWS\\a b.exe\" -x"},
      // The word alone, or not at the start, is no prefix.
      {"C:\\Tools\\systemroot.exe", "C:\\Tools\\systemroot.exe"},
      {"\\SystemRootX\\a.exe", "\\SystemRootX\\a.exe"},
      {"\\SystemRoot", "\\SystemRoot"},
      // Variables anywhere come from the lookup; unknown ones stay as written.
      {"%ProgramFiles%\\Tool\\t.exe -a", "D:\\Apps\\Tool\\t.exe -a"},
      {"\"%programfiles%\\Tool\\t.exe\"", "\"D:\\Apps\\Tool\\t.exe\""},
      {"C:\\x.exe %APPDATA%\\conf.ini", "C:\\x.exe C:\\Users\\ann\\AppData\\conf.ini"},
      {"%NOSUCH%\\a.exe", "%NOSUCH%\\a.exe"},
      {"a%EMPTY%b", "ab"},
      {"100%", "100%"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(expandCommand(row.command, machine()), row.expanded) << row.command;
  // A Windows folder at the root of its drive.
  CommandExpansion values;
  values.windowsFolder = "C:\\";
  EXPECT_EQ(expandCommand("\\SystemRoot\\x.exe", values), "C:\\x.exe");
  // Without a lookup no variable is touched.
  EXPECT_EQ(expandCommand("%ProgramFiles%\\x.exe", values), "%ProgramFiles%\\x.exe");
}

TEST(ProgramFile, OfCommandsAndWhereTheProgramEnds) {
  const struct {
    const char* command;
    const char* programFile;
  } rows[] = {
      {"C:\\Program Files\\App\\app.exe", "C:\\PROGRAM FILES\\APP\\APP.EXE"},
      {"\"C:\\Program Files\\App\\app.exe\" -min /x", "C:\\PROGRAM FILES\\APP\\APP.EXE"},
      {"C:\\WINDOWS\\rundll32.exe C:\\x\\y.dll,Go", "C:\\WINDOWS\\RUNDLL32.EXE"},
      // The driver form: no .X or .L extension, so the whole expanded path.
      {"\\SystemRoot\\System32\\drivers\\beep.sys", "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\BEEP.SYS"},
      {"%SystemRoot%\\explorer.exe /n", "C:\\WINDOWS\\EXPLORER.EXE"},
      {"%ProgramFiles%\\Tool\\t.exe -a", "D:\\APPS\\TOOL\\T.EXE"},
      // A word inside a path is no prefix: the path stays whole.
      {"C:\\Tools\\systemroot.exe", "C:\\TOOLS\\SYSTEMROOT.EXE"},
      // No drive letter: the text keeps its beginning (an opening quote excepted).
      {"notepad.exe readme.txt", "NOTEPAD.EXE"},
      {"\"notepad.exe\" readme.txt", "NOTEPAD.EXE"},
      {"\\\\server\\share\\tool.exe", "\\\\SERVER\\SHARE\\TOOL.EXE"},
      // The last colon before the extension moves the start to its drive letter.
      {"\\??\\C:\\WINDOWS\\system32\\ntos.exe", "C:\\WINDOWS\\SYSTEM32\\NTOS.EXE"},
      {"x:y:z\\a.exe", "Y:Z\\A.EXE"},
      {":a.exe", ":A.EXE"},
      // A colon after the extension does not count.
      {"c:\\a.exe d:\\b.exe", "C:\\A.EXE"},
      // Any extension whose second letter is X or L stops the scan.
      {"C:\\doc.xls more", "C:\\DOC.XLS"},
      {"C:\\my.file.exe", "C:\\MY.FILE.EXE"},
      {"C:\\ctl.cpl,@1", "C:\\CTL.CPL,@1"},
      {"C:\\a.ex", "C:\\A.EX"},
      {"readme", "README"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(programFileText(row.command, machine()), row.programFile) << row.command;
  // The scan reports where the program ends.
  ProgramScan scan = scanProgramFile("\"C:\\a.exe\" -x", ExtensionStop::ProgramOrLibrary);
  EXPECT_EQ(scan.programFile, "C:\\A.EXE");
  EXPECT_EQ(scan.end, 9u);
  scan = scanProgramFile("C:\\panel.cpl x", ExtensionStop::ProgramOrLibrary);
  EXPECT_EQ(scan.end, 14u);
  scan = scanProgramFile("C:\\panel.cpl x", ExtensionStop::ProgramLibraryOrApplet);
  EXPECT_EQ(scan.programFile, "C:\\PANEL.CPL");
  EXPECT_EQ(scan.end, 12u);
  // An extension cut short at the end of the text takes what there is.
  scan = scanProgramFile("a.ex", ExtensionStop::ProgramOrLibrary);
  EXPECT_EQ(scan.programFile, "A.EX");
  EXPECT_EQ(scan.end, 4u);
}

TEST(SplitCommand, ProgramAndParameters) {
  const struct {
    const char* command;
    const char* programFile;
    const char* parameters;
  } rows[] = {
      {"C:\\app.exe -a -b", "C:\\APP.EXE", " -a -b"},
      {"C:\\panel.cpl,@0", "C:\\PANEL.CPL", ",@0"},
      {"C:\\lib.dll,Entry x", "C:\\LIB.DLL", ",Entry x"},
      // A quoted program keeps the blanks after it but not its closing quote.
      {"\"C:\\Program Files\\a.exe\"  /s", "C:\\PROGRAM FILES\\A.EXE", "  /s"},
      // Parameters come from the command as given, unexpanded.
      {"\\SystemRoot\\system32\\a.exe /x %APPDATA%", "C:\\WINDOWS\\SYSTEM32\\A.EXE", " /x %APPDATA%"},
      {"%ProgramFiles%\\t.exe -a", "D:\\APPS\\T.EXE", " -a"},
      {"%NOSUCH%\\t.exe -a", "%NOSUCH%\\T.EXE", " -a"},
      {"%EMPTY%", "", ""},
      {"readme", "README", ""},
      {"", "", ""},
  };
  for (const auto& row : rows) {
    CommandParts parts = splitCommandText(row.command, machine());
    EXPECT_EQ(parts.programFile, row.programFile) << row.command;
    EXPECT_EQ(parts.parameters, row.parameters) << row.command;
  }
}

TEST(RundllTest, FindsTheLibraryPart) {
  const struct {
    const char* command;
    bool runsLibrary;
    const char* text;
  } rows[] = {
      {"RUNDLL32.EXE shell.dll,Control_RunDLL", true, "shell.dll,Control_RunDLL"},
      {"C:\\WINDOWS\\System32\\rundll32.exe C:\\x\\y.dll,Go now", true, "C:\\x\\y.dll,Go now"},
      {"\"C:\\WINDOWS\\rundll32.exe\" \"C:\\a b\\y.dll\",Go", true, "\"C:\\a b\\y.dll\",Go"},
      {"rundll32.exe", true, ""},
      // An earlier text that looks alike does not take the place of the program.
      {"C:\\RUNDLL3X\\rundll32.exe x.dll", true, "x.dll"},
      {"C:\\x.exe rundll32", false, "C:\\x.exe rundll32"},
      {"C:\\app.exe -q", false, "C:\\app.exe -q"},
      {"", false, ""},
  };
  for (const auto& row : rows) {
    RundllTest test = rundllTest(row.command);
    EXPECT_EQ(test.runsLibrary, row.runsLibrary) << row.command;
    EXPECT_EQ(test.text, row.text) << row.command;
  }
}

// The fuzzer holds every text to a path's width; here where the cut falls.
TEST(CommandText, LongTextsAreCutToAPathWidthAndNotFoundBeyondTheContainmentLimit) {
  EXPECT_EQ(expandCommand("%ProgramFiles%\\" + std::string(400, 'a'), machine()).size(), kPathWidth);
  EXPECT_EQ(expandCommand(std::string(300, 'b'), machine()), std::string(kPathWidth, 'b'));
  const CommandParts parts = splitCommandText(std::string(300, 'z'), machine());
  EXPECT_EQ(parts.programFile, std::string(kPathWidth, 'Z'));
  EXPECT_EQ(parts.parameters, std::string(300 - kPathWidth, 'z'));
  const std::string hidden = std::string(800, ' ') + "rundll32.exe x.dll";
  EXPECT_FALSE(rundllTest(hidden).runsLibrary);
  EXPECT_EQ(rundllTest("rundll32.exe " + std::string(400, 'd')).text, std::string(kPathWidth, 'd'));
  // A folder wider than a path is no answer rather than a wrong one.
  EXPECT_EQ(folderPartOf(std::string(kPathWidth + 1, 'f') + "\\x.exe"), "");
  EXPECT_EQ(folderPartOf(std::string(kPathWidth, 'f') + "\\x.exe"), std::string(kPathWidth, 'f'));
}

TEST(PathText, Helpers) {
  // The fuzzer holds the general properties (no quote left, a suffix, one backslash at most); here exact forms.
  EXPECT_EQ(removeQuotes("\"C:\\a b\\x.exe\" \"-q\""), "C:\\a b\\x.exe -q");
  EXPECT_EQ(fileNamePart("C:\\Apps\\tool.exe"), "tool.exe");
  EXPECT_EQ(fileNamePart("C:\\Apps\\"), "");
  EXPECT_EQ(removeLeadingBlanks("  \t x y "), "x y ");
  EXPECT_EQ(addTrailingBackslash("C:\\Apps\\"), "C:\\Apps\\");
  EXPECT_EQ(removeTrailingBackslash("C:\\Apps\\"), "C:\\Apps");
  EXPECT_EQ(removeTrailingBackslash("C:\\Apps\\\\"), "C:\\Apps\\");
  EXPECT_EQ(removeTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(removeTrailingBackslash("d:\\"), "d:\\");
  EXPECT_EQ(removeTrailingBackslash("1:\\"), "1:");
  EXPECT_EQ(removeTrailingBackslash("\\"), "");
  EXPECT_EQ(removeTrailingBackslash("C:\\Apps"), "C:\\Apps");
}

TEST(PathText, FolderPartAndNameFromProgramPath) {
  const struct {
    const char* path;
    const char* folder;
  } rows[] = {
      {"C:\\Apps\\tool.exe", "C:\\Apps"},
      {"C:\\tool.exe", "C:\\"},
      {"C:\\Apps\\", "C:\\Apps"},
      {"\\tool.exe", "\\"},
      {"\\\\server\\share\\t.exe", "\\\\server\\share"},
      {"tool.exe", ""},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(folderPartOf(row.path), row.folder) << row.path;
  const struct {
    const char* path;
    const char* name;
  } names[] = {
      {"C:\\Apps\\tool.exe", "tool"},
      {"C:\\Apps\\Tool.Setup.pif", "Tool.Setup"},
      {"tool.bat", "tool"},
      {".exe", ""},
      // Only a three-letter extension goes; the name itself is never shortened.
      {"C:\\Start\\Program", "Program"},
      {"C:\\Start\\tool", "tool"},
      {"C:\\Start\\script.js", "script.js"},
      {"C:\\a.b\\c", "c"},
      {"C:\\Apps\\", ""},
      {"", ""},
  };
  for (const auto& row : names) EXPECT_EQ(nameFromProgramPath(row.path), row.name) << row.path;
}
