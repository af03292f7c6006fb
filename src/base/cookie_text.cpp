#include "cookie_text.h"

#include <algorithm>

#include "text.h"

namespace tavrin {
namespace {

constexpr std::size_t kCookieFields = 7;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool blankOnly(std::string_view text) { return std::all_of(text.begin(), text.end(), isBlank); }

}  // namespace

std::string browserProgramOfCommand(std::string_view command) {
  std::string program;
  for (char c : command) {
    if (c == '"') continue;
    if (c == '-' && (program.empty() || isBlank(program.back()))) break;
    program += c;
  }
  while (!program.empty() && isBlank(program.back())) program.pop_back();
  return program;
}

int browserKindOf(std::string_view program) {
  static const struct {
    const char* word;
    int kind;
  } kKinds[] = {{"iexplore", 1}, {"netscp", 2}, {"maxthon", 4}, {"avant", 5}, {"mozilla", 6}, {"firefox", 3}};
  for (const auto& k : kKinds)
    if (contains(program, k.word)) return k.kind;
  return 1;
}

int cookieModeOf(int browser) {
  return browser == 2 || browser == 3 || browser == 6 ? kCookieModeMozilla : kCookieModeInternetExplorer;
}

bool parseCookieLine(std::string_view line, CookieLine& out) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string_view fields[kCookieFields];
  std::size_t start = 0;
  for (std::size_t i = 0; i + 1 < kCookieFields; ++i) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) return false;
    fields[i] = line.substr(start, tab - start);
    start = tab + 1;
  }
  fields[kCookieFields - 1] = line.substr(start);
  if (fields[0].empty() || fields[0][0] == '#') return false;
  out.domain = std::string(fields[0]);
  out.includeSubdomains = std::string(fields[1]);
  out.path = std::string(fields[2]);
  out.secure = std::string(fields[3]);
  out.expiry = std::string(fields[4]);
  out.name = std::string(fields[5]);
  out.value = std::string(fields[6]);
  return true;
}

std::vector<std::string_view> cookieFileLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string cookieListName(std::string_view domain, std::string_view name, std::size_t width) {
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  std::string listName(domain);
  listName += " - ";
  listName += name;
  return cut(listName, width);
}

bool isSecureCookie(std::string_view secure) { return lower(secure).find("true") != std::string::npos; }

std::int64_t cookieExpirySeconds(std::string_view expiry) {
  std::size_t i = 0;
  while (i < expiry.size() && isBlank(expiry[i])) ++i;
  const bool negative = i < expiry.size() && expiry[i] == '-';
  if (i < expiry.size() && (expiry[i] == '-' || expiry[i] == '+')) ++i;
  constexpr std::int64_t kLimit = INT64_MAX / 10 - 1;
  std::int64_t seconds = 0;
  for (; i < expiry.size() && expiry[i] >= '0' && expiry[i] <= '9'; ++i) {
    if (seconds > kLimit) return negative ? INT64_MIN : INT64_MAX;
    seconds = seconds * 10 + (expiry[i] - '0');
  }
  return negative ? -seconds : seconds;
}

NutMatcher::NutMatcher(const std::vector<std::string>& nuts, std::size_t nameWidth) : nameWidth_(nameWidth) {
  for (const std::string& nut : nuts) {
    // An empty word would occur in every cookie.
    if (!blankOnly(nut)) words_.push_back(lower(nut));
    if (!nut.empty()) names_.push_back(lower(nut));
  }
}

bool NutMatcher::matches(std::string_view text) const {
  if (words_.empty()) return false;
  const std::string lowered = lower(text);
  for (const std::string& word : words_)
    if (lowered.find(word) != std::string::npos) return true;
  return false;
}

bool NutMatcher::namesCookie(const CookieLine& cookie) const {
  if (names_.empty()) return false;
  const std::string name = lower(cookieListName(cookie.domain, cookie.name, nameWidth_));
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

CleanedCookies cleanCookieText(std::string_view text, const NutMatcher& nuts) {
  CleanedCookies cleaned;
  cleaned.text.reserve(text.size() + 1);
  CookieLine cookie;
  for (std::string_view line : cookieFileLines(text)) {
    if (nuts.matches(line) || (parseCookieLine(line, cookie) && nuts.namesCookie(cookie))) {
      ++cleaned.removed;
      continue;
    }
    cleaned.text += line;
    cleaned.text += '\n';
    ++cleaned.kept;
  }
  return cleaned;
}

}  // namespace tavrin
