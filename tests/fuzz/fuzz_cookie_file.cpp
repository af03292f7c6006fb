#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/cookie_text.h"

// The first line holds the nuts (separated by "|"), the rest is a cookies.txt.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(input.find('\n'), input.size());
  const std::string head = input.substr(0, split), text = input.substr(std::min(split + 1, input.size()));
  std::vector<std::string> nuts{""};
  for (char c : head)
    if (c == '|')
      nuts.emplace_back();
    else
      nuts.back().push_back(c);
  const tavrin::NutMatcher matcher(nuts, 127);
  const tavrin::CleanedCookies cleaned = tavrin::cleanCookieText(text, matcher);

  // Kept lines are the input's own lines, in order, each followed by "\n".
  std::string expected;
  int kept = 0;
  for (std::string_view line : tavrin::cookieFileLines(text)) {
    tavrin::CookieLine cookie;
    const bool isCookie = tavrin::parseCookieLine(line, cookie);
    if (isCookie && (cookie.domain.empty() || cookie.domain[0] == '#')) __builtin_trap();
    if (matcher.matches(line) || (isCookie && matcher.namesCookie(cookie))) continue;
    expected.append(line).push_back('\n');
    ++kept;
  }
  if (cleaned.text != expected || cleaned.kept != kept) __builtin_trap();
  // Cleaning a cleaned copy again removes nothing more.
  if (tavrin::cleanCookieText(cleaned.text, matcher).removed != 0) __builtin_trap();
  if (tavrin::browserProgramOfCommand(head).find('"') != std::string::npos) __builtin_trap();
  return 0;
}
