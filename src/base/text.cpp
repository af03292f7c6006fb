#include "text.h"

#include <cstdarg>
#include <cstdio>

namespace tavrin {

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<std::size_t>(n));
  }
  va_end(args);
  return out;
}

char lowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lowerChar(c);
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerChar(a[i]) != lowerChar(b[i])) return false;
  return true;
}

bool contains(std::string_view text, std::string_view part) {
  if (text.size() > kContainLimit || part.size() > text.size()) return false;
  for (std::size_t start = 0; start + part.size() <= text.size(); ++start)
    if (equalsNoCase(text.substr(start, part.size()), part)) return true;
  return false;
}

std::string cut(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, width));
}

std::vector<std::string> splitList(std::string_view list, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(separator, start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) pieces.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

std::string removeFromProgramList(std::string_view list, std::string_view program) {
  return removeFromProgramList(list, [program](const std::string& piece) { return equalsNoCase(piece, program); });
}

std::string removeFromProgramList(std::string_view list, const std::function<bool(const std::string&)>& matches) {
  std::string kept;
  for (const std::string& piece : splitList(list, ';')) {
    if (matches(piece)) continue;
    kept += piece;
    kept += ';';
  }
  return kept;
}

std::string addToProgramList(std::string_view list, std::string_view program) {
  std::string out(list);
  out += ';';
  out += program;
  return out;
}

std::string thousandsText(long long value) {
  // Work on the magnitude as unsigned so the most negative value survives.
  unsigned long long magnitude =
      value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  std::string digits = std::to_string(magnitude);
  std::string out;
  int sinceGroup = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (sinceGroup == 3) {
      out.insert(out.begin(), ',');
      sinceGroup = 0;
    }
    out.insert(out.begin(), *it);
    ++sinceGroup;
  }
  if (value < 0) out.insert(out.begin(), '-');
  return out;
}

std::string webText(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ')
      out += "%20";
    else if (c == '&')
      out += '+';
    else
      out += c;
  }
  return out;
}

long leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x7fffffffLL) value = 0x7fffffffLL;  // saturate instead of overflowing
  }
  return static_cast<long>(negative ? -value : value);
}

}  // namespace tavrin
