// The report writers' escaping: whatever a value holds, its HTML has no
// markup, its spreadsheet field reads back as one field, its log and script
// lines stay one line each.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/hijack_text.h"
#include "base/reg_script.h"
#include "base/report_text.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

bool oneLineOnly(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 32) return false;
  return true;
}

// Reads one RFC 4180 field back; false when the text is not exactly one field.
bool readCsvField(std::string_view field, std::string& out) {
  out.clear();
  if (field.empty() || field[0] != '"') {
    out = std::string(field);
    return field.find_first_of(",\"\r\n") == std::string_view::npos;
  }
  for (std::size_t i = 1; i < field.size(); ++i) {
    if (field[i] != '"') {
      out += field[i];
    } else if (i + 1 < field.size() && field[i + 1] == '"') {
      out += '"';
      ++i;
    } else {
      return i + 1 == field.size();
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::string html = tavrin::htmlText(text);
  require(html.find_first_of("<>\"'") == std::string::npos);
  for (std::size_t at = html.find('&'); at != std::string::npos; at = html.find('&', at + 1))
    require(html.compare(at, 5, "&amp;") == 0 || html.compare(at, 4, "&lt;") == 0 || html.compare(at, 4, "&gt;") == 0 ||
            html.compare(at, 6, "&quot;") == 0 || html.compare(at, 5, "&#39;") == 0);

  std::string field;
  require(readCsvField(tavrin::csvField(text), field));
  const bool formula = !text.empty() && std::string_view("=+-@").find(text[0]) != std::string_view::npos;
  require(field == (formula ? "'" + text : text));

  require(tavrin::textField(text).find_first_of("\t\r\n") == std::string::npos);
  require(oneLineOnly(tavrin::oneLine(text)));
  for (const std::string& line : tavrin::hostsLogLines(text)) require(oneLineOnly(line) && line.size() < 512);
  for (const std::string& line : tavrin::ieResetLogLines(text)) require(oneLineOnly(line));
  require(tavrin::multiStringText(text).find('\0') == std::string::npos);

  const std::size_t half = text.size() / 2;
  tavrin::RegScriptValue value{text.substr(0, half), 1, text.substr(half), text.substr(half)};
  for (unsigned long type : {1UL, 2UL, 3UL, 4UL, 7UL, 11UL}) {
    value.type = type;
    const std::string line = tavrin::regScriptValueLine(value);
    require(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    if (tavrin::regScriptNameUsable(value.name))
      require(line.find_first_of("\r\n") == line.size() - 2);
  }
  return 0;
}
