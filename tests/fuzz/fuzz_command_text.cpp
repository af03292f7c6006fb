#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/command_text.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

bool isSuffix(std::string_view text, std::string_view part) {
  return part.size() <= text.size() && text.substr(text.size() - part.size()) == part;
}

bool isPrefix(std::string_view text, std::string_view part) {
  return part.size() <= text.size() && text.substr(0, part.size()) == part;
}

bool hasLowerCase(std::string_view text) {
  for (char c : text)
    if (c >= 'a' && c <= 'z') return true;
  return false;
}

// Variables of every size, including values that alone overflow a path.
tavrin::CommandExpansion expansion() {
  tavrin::CommandExpansion values;
  values.windowsFolder = "C:\\WINDOWS";
  values.variable = [](const std::string& name, std::string& value) {
    if (name.empty() || name[0] == 'U') return false;
    value = std::string(name.size() * 37 % 400, name[0] == '.' ? '.' : 'v');
    return true;
  };
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string command(reinterpret_cast<const char*>(data), size);
  const tavrin::CommandExpansion values = expansion();

  const std::string expanded = tavrin::expandCommand(command, values);
  require(expanded.size() <= tavrin::kPathWidth);

  const std::string programFile = tavrin::programFileText(command, values);
  require(programFile.size() <= tavrin::kPathWidth);
  require(!hasLowerCase(programFile));
  require(programFile ==
          tavrin::scanProgramFile(expanded, tavrin::ExtensionStop::ProgramOrLibrary).programFile);

  const tavrin::ProgramScan scan = tavrin::scanProgramFile(command, tavrin::ExtensionStop::ProgramLibraryOrApplet);
  require(scan.end <= command.size());
  require(scan.programFile.size() <= scan.end);

  const tavrin::CommandParts parts = tavrin::splitCommandText(command, values);
  require(parts.programFile.size() <= tavrin::kPathWidth);
  require(!hasLowerCase(parts.programFile));
  require(isSuffix(command, parts.parameters));

  const tavrin::RundllTest rundll = tavrin::rundllTest(command);
  if (rundll.runsLibrary) {
    require(rundll.text.size() <= tavrin::kPathWidth);
    require(command.find(rundll.text) != std::string::npos);
  } else {
    require(rundll.text == command);
  }

  const std::string unquoted = tavrin::removeQuotes(command);
  require(unquoted.find('"') == std::string::npos);

  const std::string fileName = tavrin::fileNamePart(command);
  require(fileName.find('\\') == std::string::npos);
  require(isSuffix(command, fileName));
  require(tavrin::fileNamePosition(command) + fileName.size() == command.size());
  require(isPrefix(fileName, tavrin::nameFromProgramPath(command)));

  const std::string trimmed = tavrin::removeLeadingBlanks(command);
  require(isSuffix(command, trimmed));
  require(trimmed.empty() || (trimmed[0] != ' ' && trimmed[0] != '\t'));

  const std::string withSlash = tavrin::addTrailingBackslash(command);
  require(command.empty() ? withSlash.empty() : withSlash.back() == '\\');
  require(isPrefix(withSlash, command) && withSlash.size() <= command.size() + 1);
  const std::string withoutSlash = tavrin::removeTrailingBackslash(command);
  require(isPrefix(command, withoutSlash) && withoutSlash.size() + 1 >= command.size());

  const std::string folder = tavrin::folderPartOf(command);
  require(folder.size() <= tavrin::kPathWidth);
  require(isPrefix(command, folder));
  return 0;
}
