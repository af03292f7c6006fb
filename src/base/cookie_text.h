#pragma once
// Platform-free rules of the cookie inventory: which browser the default HTTP
// command names, the cookie mode it selects, the lines of a Mozilla
// cookies.txt file, the filter words ("nuts") and the cleaned copy.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

constexpr int kCookieModeInternetExplorer = 1;
constexpr int kCookieModeMozilla = 3;

// The program of an HTTP open command: double quotes dropped, cut before the
// first option (a "-" starting a word), trailing blanks removed.
std::string browserProgramOfCommand(std::string_view command);
// 1 "iexplore", 2 "netscp", 4 "maxthon", 5 "avant", 6 "mozilla", 3 "firefox":
// the first of these found in the program, in that order; 1 when none is.
int browserKindOf(std::string_view program);
// The cookie mode of a browser kind or of the Browser option: the Mozilla
// family (2, 3, 6) reads cookies.txt, everything else the IE cookie folder.
int cookieModeOf(int browser);

// One cookie of a cookies.txt line (fields separated by TABs).
struct CookieLine {
  std::string domain, includeSubdomains, path, secure, expiry, name;
  std::string value;  // the rest of the line, TABs and all
};
// False for a comment (first field starting with "#"), a line with fewer
// than seven fields and one with an empty domain: none of them is a cookie.
// A "\r" ending the line is not part of the value.
bool parseCookieLine(std::string_view line, CookieLine& out);
// The lines of a file split at "\n"; a last piece without one counts when it
// is not empty.
std::vector<std::string_view> cookieFileLines(std::string_view text);

// "domain - name" with one leading dot of the domain removed, cut to `width`:
// the name a cookie is listed, kept and marked for removal under.
std::string cookieListName(std::string_view domain, std::string_view name, std::size_t width);
// The secure field holds "TRUE" (any case).
bool isSecureCookie(std::string_view secure);
// The expiry field in seconds since 1970 (beyond 2038 too); 0 when it holds no
// number, the nearest limit when it overflows.
std::int64_t cookieExpirySeconds(std::string_view expiry);

// The filter words and pending removals loaded from the registry. A text
// matches when any non-blank nut occurs in it, ignoring case; a cookie line
// also goes when a nut is its list name.
class NutMatcher {
 public:
  NutMatcher(const std::vector<std::string>& nuts, std::size_t nameWidth);
  bool matches(std::string_view text) const;
  bool namesCookie(const CookieLine& cookie) const;
  bool empty() const { return words_.empty() && names_.empty(); }

 private:
  std::vector<std::string> words_;  // lower case, blank-only ones left out
  std::vector<std::string> names_;  // lower case
  std::size_t nameWidth_;
};

struct CleanedCookies {
  std::string text;  // every kept line followed by "\n"
  int kept = 0;      // lines written
  int removed = 0;   // lines left out
};
// The cleaned copy of a cookies.txt text: every line goes on unchanged (short
// and comment lines too) unless a nut occurs in it or names its cookie.
CleanedCookies cleanCookieText(std::string_view text, const NutMatcher& nuts);

}  // namespace tavrin
