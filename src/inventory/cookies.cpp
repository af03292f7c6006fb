#include "cookies.h"

#include <algorithm>

#include "base/command_text.h"
#include "base/cookie_text.h"
#include "base/entry_tables.h"
#include "base/text.h"
#include "date_text.h"
#include "options.h"
#include "string_loader.h"
#include "string_ids.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/handles.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr char kUserShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr char kUpdateCookieFile[] = "UpdateCookieFile";
constexpr std::size_t kNutWidth = 512;
// A cookies.txt beyond this is no browser's file; it is left alone rather than read.
constexpr std::uint64_t kCookieFileLimit = 64u << 20;

std::string userValue(const char* key, const char* name) {
  std::string text;
  reg::readString(HKEY_CURRENT_USER, key, name, text);
  return text;
}

std::string appDataFolder() { return userValue(kShellFoldersKey, "AppData"); }

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The name of the first item the pattern finds (folders only when asked), empty when none.
std::string firstMatch(const std::string& pattern, bool foldersOnly, bool skipDotNames) {
  WIN32_FIND_DATAA found;
  UniqueFind search(FindFirstFileA(pattern.c_str(), &found));
  if (!search) return "";
  do {
    if (foldersOnly && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (skipDotNames && found.cFileName[0] == '.') continue;
    return found.cFileName;
  } while (FindNextFileA(search.get(), &found));
  return "";
}

bool readWholeFile(const std::string& path, std::string& text) {
  FileFacts facts;
  text.clear();
  return readFileFacts(path, facts) && facts.size <= kCookieFileLimit &&
         readFileText(path, static_cast<std::size_t>(facts.size), text);
}

bool deleteCookieFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

NutMatcher matcherOf(const std::vector<Nut>& nuts) {
  std::vector<std::string> texts;
  for (const Nut& nut : nuts) texts.push_back(nut.text);
  return NutMatcher(texts, EntryList::kNameWidth);
}

std::string creationTimeText(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FILETIME local;
  SYSTEMTIME t;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftCreationTime, &local) || !FileTimeToSystemTime(&local, &t))
    return "";
  return format("%04d/%02d/%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

bool endsWithTxt(const std::string& path) { return path.size() >= 4 && equalsNoCase(path.substr(path.size() - 4), ".txt"); }

int listIECookies(EntryList& list, CookieRun run) {
  std::string folder;
  if (!findIECookieFolder(folder)) return 0;
  const NutMatcher nuts = matcherOf(run == CookieRun::Filter ? loadNuts() : std::vector<Nut>());
  bool full = false;
  walkFolder(folder, 0, [&](const std::string& path, DWORD attributes) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM) || !endsWithTxt(path)) return false;
    if (run == CookieRun::Filter && nuts.matches(path)) {
      deleteCookieFile(path);
      return false;
    }
    // Past the limit a filter run still looks at every file; a listing stops.
    if (!full) {
      Entry entry;
      entry.name = fileNamePart(path), entry.programPath = path, entry.detail = creationTimeText(path);
      entry.typeCode = typecode::kCookie;
      full = !list.addAsIs(std::move(entry));
    }
    return full && run == CookieRun::List;
  });
  return list.count();
}

void writeCleanedCopy(const std::string& profile, const std::string& text) {
  // Nothing to clean: no copy waits for the Monitor.
  if (text.empty()) return;
  const CleanedCookies cleaned = cleanCookieText(text, matcherOf(loadNuts()));
  if (writeFileText(profile + "\\cookiesnew.txt", cleaned.text))
    reg::writeString(HKEY_CURRENT_USER, kOptionsKey, kUpdateCookieFile, "1");
}

int listMozillaCookies(EntryList& list, CookieRun run) {
  std::string profile, text;
  if (!findMozillaProfileFolder(profile) || !readWholeFile(profile + "\\cookies.txt", text)) return 0;
  if (run == CookieRun::Filter) {
    writeCleanedCopy(profile, text);
    return 0;
  }
  const UserDateFormats formats = userDateFormats();
  CookieLine cookie;
  for (std::string_view line : cookieFileLines(text)) {
    if (!parseCookieLine(line, cookie)) continue;
    Entry entry;
    entry.name = cookieListName(cookie.domain, cookie.name, EntryList::kNameWidth);
    entry.programPath = cookie.path, entry.key = cookie.value;
    CalendarTime expiry;
    if (localTimeOfUnix(cookieExpirySeconds(cookie.expiry), expiry))
      entry.detail = dateTimeText(expiry, formats.shortDate, formats.timeFormat);
    entry.typeCode = typecode::kMozillaCookie;
    entry.flag = isSecureCookie(cookie.secure) ? 1 : 0;
    if (!list.addAsIs(std::move(entry))) break;
  }
  return list.count();
}

}  // namespace

int browserKind() {
  std::string command;
  reg::readString(HKEY_LOCAL_MACHINE, loadString(IDS_KEY_HTTP_OPEN_COMMAND), "", command);
  std::string program = browserProgramOfCommand(command);
  if (program.empty()) {
    std::string folder;
    reg::readString(HKEY_LOCAL_MACHINE, loadString(IDS_KEY_IEXPLORE_APP_PATH), "Path", folder);
    if (!folder.empty() && folder.back() == ';') folder.pop_back();
    program = folder + "\\IExplore.exe";
  }
  return browserKindOf(program);
}

bool mozillaPresent() {
  const std::string appData = appDataFolder();
  return !appData.empty() && isFolder(appData + "\\Mozilla");
}

int indexFileCheck(const std::string& folder) {
  if (folder.size() < 3 || folder.size() > 250) return 0;
  if (folder.back() == '\\') return isFile(folder + "index.dat") ? 1 : 0;
  return isFile(folder + "\\index.dat") ? 2 : 0;
}

int findIECookieFolder(std::string& folder) {
  const std::string candidates[] = {userValue(kSystemKey, "IECookieFolder"), userValue(kShellFoldersKey, "Cookies"),
                                    userValue(kUserShellFoldersKey, "Cookies"), windowsFolder() + "\\Cookies"};
  for (const std::string& candidate : candidates) {
    const int answer = indexFileCheck(candidate);
    if (answer == 0) continue;
    folder = answer == 2 ? candidate + "\\" : candidate;
    return 1;
  }
  folder = loadString(IDS_COOKIE_FOLDER_NOT_FOUND);
  return 0;
}

int findMozillaProfileFolder(std::string& folder) {
  const std::string chosen = userValue(kSystemKey, "CookieFolder");
  if (!chosen.empty()) {
    folder = removeTrailingBackslash(chosen);
    return 1;
  }
  const std::string appData = appDataFolder();
  if (appData.empty()) return 0;
  const std::string profiles = appData + "\\Mozilla\\FireFox\\Profiles\\";
  std::string profile = firstMatch(profiles + "*.default", true, false);
  const std::string later = firstMatch(profiles + "default.*", true, false);
  if (!later.empty()) profile = later;
  std::string found = profile.empty() ? "" : profiles + profile;
  if (browserKind() == 2) {
    const std::string netscape = appData + "\\Mozilla\\Profiles\\default\\";
    const std::string salted = firstMatch(netscape + "*", true, true);
    if (!salted.empty()) found = netscape + salted;
  }
  if (found.empty()) return 0;
  folder = found;
  return 1;
}

std::string cookieFolderText(int cookieMode) {
  std::string folder;
  if (cookieMode != kCookieModeMozilla) {
    findIECookieFolder(folder);
    return folder;
  }
  return findMozillaProfileFolder(folder) ? folder : loadString(IDS_COOKIE_FOLDER_NOT_FOUND);
}

std::string storeCookieFolder(int cookieMode, const std::string& pickedFile) {
  const std::size_t slash = pickedFile.rfind('\\');
  if (slash == std::string::npos) return "";
  const std::string folder = pickedFile.substr(0, slash + 1);
  const char* name = cookieMode == kCookieModeMozilla ? "CookieFolder" : "IECookieFolder";
  return reg::writeString(HKEY_CURRENT_USER, kSystemKey, name, folder) ? folder : "";
}

std::vector<Nut> loadNuts() {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_CURRENT_USER, kNutsKey, values);
  std::vector<Nut> nuts;
  for (const reg::Value& value : values)
    if (!value.name.empty()) nuts.push_back(Nut{cut(value.name, kNutWidth), static_cast<int>(leadingNumber(value.data))});
  return nuts;
}

AddNut addNut(const std::string& text, EntryList& list, int cookieMode) {
  if (text.empty()) return AddNut::Empty;
  if (text.find_first_not_of(" \t") == std::string::npos) return AddNut::Blank;
  if (loadNuts().size() >= static_cast<std::size_t>(kNutLimit)) return AddNut::LimitReached;
  if (!reg::writeString(HKEY_CURRENT_USER, kNutsKey, cut(text, kNutWidth), "1")) return AddNut::Failed;
  listCookies(list, cookieMode, CookieRun::Filter);
  return AddNut::Added;
}

int removeNut(const std::string& text) {
  return text.empty() ? 0 : reg::deleteValue(HKEY_CURRENT_USER, kNutsKey, text);
}

int listCookies(EntryList& list, int cookieMode, CookieRun run) {
  list.clear();
  return cookieMode == kCookieModeMozilla ? listMozillaCookies(list, run) : listIECookies(list, run);
}

bool isPendingRemoval(const std::string& listName) {
  return !listName.empty() && reg::valueExists(HKEY_CURRENT_USER, kNutsKey, listName);
}

bool isCookieKept(const std::string& listName) {
  return !listName.empty() && !userValue(kKeptCookiesKey, listName.c_str()).empty();
}

void removeCookies(const std::vector<std::string>& removed, const std::vector<std::string>& kept, int cookieMode,
                   EntryList& list) {
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::string folder;
  const bool ieFolder = cookieMode != kCookieModeMozilla && findIECookieFolder(folder);
  for (const std::string& name : removed) {
    if (name.empty()) continue;
    reg::deleteValue(HKEY_CURRENT_USER, kKeptCookiesKey, name);
    if (cookieMode == kCookieModeMozilla)
      reg::writeString(HKEY_CURRENT_USER, kNutsKey, name, std::to_string(kNutPendingRemoval));
    else if (ieFolder && name.find('\\') == std::string::npos)
      deleteCookieFile(folder + name);
  }
  for (const std::string& name : kept)
    if (!name.empty()) reg::writeString(HKEY_CURRENT_USER, kKeptCookiesKey, name, "1");
  SetErrorMode(previousMode);
  if (cookieMode == kCookieModeMozilla) listCookies(list, cookieMode, CookieRun::Filter);
}

int putCleanedMozillaFileInPlace(const std::string& profileFolder) {
  if (readOption(kUpdateCookieFile, 0) <= 0) return 0;
  if (FindWindowA(loadString(IDS_MOZILLA_WINDOW_CLASS).c_str(), nullptr)) return 0;
  // The copy is made now: the one the Explorer wrote may predate the browser's last session.
  const std::vector<Nut> nuts = loadNuts();
  const std::string live = profileFolder + "\\cookies.txt";
  std::string text;
  if (!readWholeFile(live, text)) return 0;
  const CleanedCookies cleaned = cleanCookieText(text, matcherOf(nuts));
  const std::string temporary = temporaryFileBeside(live);
  if (temporary.empty()) return 0;
  if (!writeFileText(temporary, cleaned.text) || !moveOver(temporary, live)) {
    DeleteFileA(temporary.c_str());
    return 0;
  }
  reg::deleteValue(HKEY_CURRENT_USER, kOptionsKey, kUpdateCookieFile);
  // Only the removals this copy applied: one added meanwhile still waits.
  for (const Nut& nut : nuts)
    if (nut.number == kNutPendingRemoval) reg::deleteValue(HKEY_CURRENT_USER, kNutsKey, nut.text);
  return 1;
}

}  // namespace tavrin
