#include "command_text.h"

#include <algorithm>
#include <vector>

#include "text.h"

namespace tavrin {
namespace {

char upperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The expanded text, and for each of its characters the position in the
// command just after the text it came from, so a position in the expansion can
// be carried back to the command as given.
struct MappedText {
  std::string text;
  std::vector<std::size_t> sourceEnd;
  std::size_t consumed = 0;  // command characters used for the whole text
};

void appendCopied(MappedText& out, std::string_view command, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    out.text += command[i];
    out.sourceEnd.push_back(i + 1);
  }
  out.consumed = to;
}

void appendReplacement(MappedText& out, std::string_view value, std::size_t sourceEnd) {
  out.text.append(value.data(), value.size());
  out.sourceEnd.insert(out.sourceEnd.end(), value.size(), sourceEnd);
  out.consumed = sourceEnd;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t findNoCase(std::string_view text, std::string_view part) {
  for (std::size_t at = 0; at + part.size() <= text.size(); ++at)
    if (startsWithNoCase(text.substr(at), part)) return at;
  return std::string_view::npos;
}

// Length of a "\SystemRoot" or "%SystemRoot%" prefix that a backslash follows, else 0.
std::size_t systemRootPrefix(std::string_view text) {
  for (std::string_view prefix : {std::string_view("\\SystemRoot"), std::string_view("%SystemRoot%")}) {
    if (text.size() > prefix.size() && startsWithNoCase(text, prefix) && text[prefix.size()] == '\\')
      return prefix.size();
  }
  return 0;
}

MappedText expandMapped(std::string_view command, const CommandExpansion& values) {
  MappedText out;
  std::size_t i = 0;
  if (!command.empty() && command[0] == '"') {
    appendCopied(out, command, 0, 1);
    i = 1;
  }
  if (std::size_t prefix = systemRootPrefix(command.substr(i))) {
    std::string_view folder = values.windowsFolder;
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);  // a root Windows folder, "C:\"
    appendReplacement(out, folder, i + prefix);
    i += prefix;  // the backslash after the prefix stays
  }
  while (i < command.size() && out.text.size() < kPathWidth) {
    if (command[i] == '%' && values.variable) {
      std::size_t close = command.find('%', i + 1);
      if (close != std::string_view::npos && close > i + 1) {
        std::string value;
        if (values.variable(std::string(command.substr(i + 1, close - i - 1)), value))
          appendReplacement(out, value, close + 1);
        else
          appendCopied(out, command, i, close + 1);
        i = close + 1;
        continue;
      }
    }
    appendCopied(out, command, i, i + 1);
    ++i;
  }
  if (out.text.size() > kPathWidth) {
    out.text.resize(kPathWidth);
    out.sourceEnd.resize(kPathWidth);
    out.consumed = out.sourceEnd.back();
  }
  return out;
}

bool endsProgram(char secondAfterDot, ExtensionStop stop) {
  char c = upperChar(secondAfterDot);
  return c == 'X' || c == 'L' || (stop == ExtensionStop::ProgramLibraryOrApplet && c == 'P');
}

}  // namespace

std::string expandCommand(std::string_view command, const CommandExpansion& values) {
  return expandMapped(command, values).text;
}

ProgramScan scanProgramFile(std::string_view text, ExtensionStop stop) {
  // An opening quote is never part of the program file.
  const std::size_t first = (!text.empty() && text[0] == '"') ? 1 : 0;
  std::size_t start = first;
  std::string copied;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    if (text[i] == '.' && i + 2 < text.size() && endsProgram(text[i + 2], stop)) {
      const std::size_t end = std::min(i + 4, text.size());
      for (; i < end; ++i) copied += upperChar(text[i]);
      break;
    }
    if (text[i] == ':') start = std::max(first, i > 0 ? i - 1 : 0);
    copied += upperChar(text[i]);
  }
  ProgramScan scan;
  scan.programFile = copied.substr(std::min(start, copied.size()));
  scan.end = i;
  return scan;
}

std::string programFileText(std::string_view command, const CommandExpansion& values) {
  return scanProgramFile(expandCommand(command, values), ExtensionStop::ProgramOrLibrary).programFile;
}

CommandParts splitCommandText(std::string_view command, const CommandExpansion& values) {
  const MappedText expanded = expandMapped(command, values);
  const ProgramScan scan = scanProgramFile(expanded.text, ExtensionStop::ProgramLibraryOrApplet);
  std::size_t position = scan.end >= expanded.text.size() ? expanded.consumed : expanded.sourceEnd[scan.end - 1];
  if (!command.empty() && command[0] == '"' && position < command.size() && command[position] == '"') ++position;
  CommandParts parts;
  parts.programFile = scan.programFile;
  if (position < command.size()) parts.parameters = std::string(command.substr(position));
  return parts;
}

RundllTest rundllTest(std::string_view command) {
  constexpr std::string_view kRundll = "RUNDLL32.EXE";
  RundllTest result;
  result.text = std::string(command);
  if (!contains(command, kRundll)) return result;
  const std::size_t at = findNoCase(command, kRundll);
  std::size_t after = at + kRundll.size();
  // A quote opened before RUNDLL32 closes its path; it is not part of the DLL.
  const bool quoted = std::count(command.begin(), command.begin() + static_cast<std::ptrdiff_t>(at), '"') % 2 == 1;
  if (quoted && after < command.size() && command[after] == '"') ++after;
  while (after < command.size() && command[after] == ' ') ++after;
  result.runsLibrary = true;
  result.text = cut(command.substr(after), kPathWidth);
  return result;
}

std::string removeQuotes(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

std::size_t fileNamePosition(std::string_view path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string fileNamePart(std::string_view path) { return std::string(path.substr(fileNamePosition(path))); }

std::string removeLeadingBlanks(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t')) ++first;
  return std::string(text.substr(first));
}

std::string addTrailingBackslash(std::string_view text) {
  std::string out(text);
  if (!out.empty() && out.back() != '\\') out += '\\';
  return out;
}

bool isDriveRoot(std::string_view text) {
  return text.size() == 3 && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')) &&
         text[1] == ':' && text[2] == '\\';
}

std::string removeTrailingBackslash(std::string_view text) {
  if (!text.empty() && text.back() == '\\' && !isDriveRoot(text)) text.remove_suffix(1);
  return std::string(text);
}

std::string folderPartOf(std::string_view path) {
  std::size_t slash = path.find_last_of('\\');
  if (slash == std::string_view::npos) return std::string();
  // "C:\x.exe" keeps its backslash: "C:" alone would mean the drive's current folder.
  std::string_view folder = path.substr(0, slash < 3 ? slash + 1 : slash);
  return folder.size() > kPathWidth ? std::string() : std::string(folder);
}

std::string nameFromProgramPath(std::string_view programPath) {
  std::string name = fileNamePart(programPath);
  // Only a dot and three letters go: a name without such an extension keeps every character.
  if (name.size() >= 4 && name[name.size() - 4] == '.') name.resize(name.size() - 4);
  return name;
}

}  // namespace tavrin
