#include "startup_text.h"

#include "text.h"

namespace tavrin {
namespace {
std::string withoutLeadingBlanks(std::string_view text) {
  std::size_t start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

bool programAfterSeparator(std::string_view value, char separator, std::string& program) {
  std::size_t at = value.find(separator);
  if (at == std::string_view::npos) {
    program = std::string(value);
  } else if (at + 1 == value.size()) {
    program = std::string(value.substr(0, at));
  } else {
    program = withoutLeadingBlanks(value.substr(at + 1));
  }
  return true;
}
}  // namespace

bool userinitProgram(std::string_view value, std::string& program) {
  program.clear();
  if (value.find(',') == std::string_view::npos) return false;
  return programAfterSeparator(value, ',', program);
}

bool shellProgram(std::string_view value, std::string& program) {
  program.clear();
  if (value.empty()) return false;
  return programAfterSeparator(value, ' ', program);
}

std::vector<std::string> appInitPieces(std::string_view value) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : value) {
    if (c == ',' || c == ' ') {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  pieces.push_back(piece);
  return pieces;
}

std::string appInitWithout(std::string_view value, std::string_view dll,
                           const std::function<std::string(const std::string&)>& longForm) {
  const std::vector<std::string> pieces = appInitPieces(value);
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const bool matches = !pieces[i].empty() && equalsNoCase(longForm(pieces[i]), dll);
    const bool last = i + 1 == pieces.size();
    if (!matches) {
      out += pieces[i];
      if (!last) out += ',';
    } else if (last && !out.empty() && out.back() == ',') {
      out.pop_back();
    }
  }
  return out;
}

std::string startupKeyOf(std::string_view programPath) {
  std::string key(programPath);
  for (char& c : key)
    if (c == '=') c = ':';
  return key;
}

}  // namespace tavrin
