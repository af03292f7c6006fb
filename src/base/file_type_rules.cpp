#include "file_type_rules.h"

#include "text.h"

namespace tavrin {
namespace {

// The comparison's form of a command: what follows the last backslash once
// quotes are gone, "=" read as ":".
std::string comparedPart(std::string_view command) {
  std::string text = removeQuotes(command);
  for (char& c : text)
    if (c == '=') c = ':';
  return fileNamePart(text);
}

// A piece of the list names the token as the listing reads it: cut, without its dot.
bool namesToken(const std::string& piece, std::string_view token) {
  return equalsNoCase(cut(extensionToken(piece), kExtensionTokenWidth), token);
}

}  // namespace

std::string extensionToken(std::string_view text) {
  if (!text.empty() && text.front() == '.') text.remove_prefix(1);
  return std::string(text);
}

bool isValidExtensionToken(std::string_view token) {
  if (token.empty() || token.size() > kExtensionTokenWidth || token.front() == '.') return false;
  for (char c : token) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == ' ' || c == ';' || c == '\\' || c == '/') return false;
  }
  return true;
}

std::vector<std::string> monitoredTokens(std::string_view list) {
  std::vector<std::string> tokens;
  for (const std::string& piece : splitList(list, ';')) {
    std::string token = cut(extensionToken(piece), kExtensionTokenWidth);
    if (isValidExtensionToken(token)) tokens.push_back(std::move(token));
  }
  return tokens;
}

bool listHoldsExtension(std::string_view list, std::string_view text) {
  const std::string token = extensionToken(text);
  for (const std::string& piece : splitList(list, ';'))
    if (namesToken(piece, token)) return true;
  return false;
}

int checkNewExtension(std::string_view list, std::string_view text) {
  const std::string token = extensionToken(text);
  if (!isValidExtensionToken(token)) return filetype::kInvalid;
  if (list.size() + token.size() >= kFileTypeListLimit) return filetype::kListFull;
  if (listHoldsExtension(list, token)) return filetype::kAlreadyMonitored;
  return filetype::kAdded;
}

std::string listWithExtension(std::string_view list, std::string_view token) {
  std::string out(list);
  // A list whose end lost its ";" would otherwise merge with the new token.
  if (!out.empty() && out.back() != ';') out += ';';
  out += token;
  out += ';';
  return out;
}

std::string listWithoutExtension(std::string_view list, std::string_view text) {
  const std::string token = extensionToken(text);
  std::string kept;
  for (const std::string& piece : splitList(list, ';')) {
    if (namesToken(piece, token)) continue;
    kept += piece;
    kept += ';';
  }
  return kept;
}

bool isMonitoredList(std::string_view list) { return list.find(';') != std::string_view::npos; }

bool sameAssociationProgram(std::string_view snapshot, std::string_view current) {
  return equalsNoCase(comparedPart(snapshot), comparedPart(current));
}

AssociationProgram associationProgram(std::string_view command, const CommandExpansion& values) {
  AssociationProgram program;
  if (command.empty()) {
    program.stringId = 742;
    return program;
  }
  const std::string unquoted = removeQuotes(command);
  if (equalsNoCase(unquoted, "%1 %*") || equalsNoCase(unquoted, "%1 /S")) {
    program.stringId = 746;
    return program;
  }
  const RundllTest rundll = rundllTest(command);
  program.programFile = programFileText(rundll.runsLibrary ? std::string_view(rundll.text) : command, values);
  program.fileName = fileNamePart(program.programFile);
  return program;
}

IconLocation splitIconLocation(std::string_view text) {
  IconLocation location;
  const std::size_t comma = text.rfind(',');
  if (comma == std::string_view::npos) {
    location.path = removeQuotes(text);
    return location;
  }
  location.path = removeQuotes(text.substr(0, comma));
  location.index = static_cast<int>(leadingNumber(text.substr(comma + 1)));
  location.hasIndex = true;
  return location;
}

}  // namespace tavrin
