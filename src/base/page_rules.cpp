#include "base/page_rules.h"

#include <algorithm>
#include <map>

#include "base/text.h"

namespace tavrin {

const std::vector<double>& columnFractions(int pageId) {
  static const std::map<int, std::vector<double>> table = {
      {6026, {0.30, 0.16, 0.18, 0.15, 0.20}},
      {6028, {0.60, 0.39}},
      {6029, {0.25, 0.35, 0.20, 0.20}},
      {6038, {0.30, 0.18, 0.18, 0.09, 0.10, 0.20}},
      {6039, {0.30, 0.20, 0.20, 0.18, 0.16}},
      {6040, {0.30, 0.20, 0.20, 0.09, 0.20}},
      {6041, {0.35, 0.22, 0.22, 0.38}},
      {6042, {0.30, 0.17, 0.20, 0.12, 0.08, 0.10}},
      {6044, {0.40, 0.20, 0.10, 0.20, 0.09}},
      {6052, {0.23, 0.30, 0.20, 0.20, 0.12}},
      {6055, {0.35, 0.30, 0.15, 0.20}},
  };
  static const std::vector<double> none;
  const auto found = table.find(pageId);
  return found == table.end() ? none : found->second;
}

int columnWidth(int pageId, int column, int listWidth, int scrollBarWidth) {
  const std::vector<double>& fractions = columnFractions(pageId);
  if (column < 0 || column >= static_cast<int>(fractions.size())) return 0;
  const bool keepScrollBar = pageId == 6039 || pageId == 6040;
  const int usable = keepScrollBar ? listWidth : listWidth - scrollBarWidth;
  return static_cast<int>(fractions[column] * usable);
}

std::string firstDetectedKey(const std::string& dateText) {
  if (dateText.size() <= 11) return " ";
  const std::string& d = dateText;
  auto at = [&](std::size_t from, std::size_t length) { return from < d.size() ? d.substr(from, length) : ""; };
  std::string key = at(6, 4) + at(0, 2) + at(3, 2);
  if (d.size() > 12 && d[12] == ':')
    key += "0" + at(11, 1) + at(13, 2);
  else
    key += at(11, 2) + at(14, 2);
  return key;
}

int compareSortKeys(std::string a, std::string b, bool descending, bool commonPrefixOnly) {
  if (commonPrefixOnly) {
    const std::size_t shorter = std::min(a.size(), b.size());
    a.resize(shorter);
    b.resize(shorter);
  }
  const std::string la = lower(a), lb = lower(b);
  const int result = la < lb ? -1 : (lb < la ? 1 : 0);
  return descending ? -result : result;
}

std::string startupSortKey(const std::string& key, bool disabled, bool descending) {
  if (!disabled) return key;
  return (descending ? "aaa" : "zzz") + key;
}

std::string startupLocationText(int typeCode) {
  static const char* const runKeys[] = {"Run", "RunOnce", "RunOnceEx", "RunServices", "RunServicesOnce"};
  const std::string base = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  if (typeCode >= 1 && typeCode <= 5) return "HKLM\\" + base + runKeys[typeCode - 1];
  if (typeCode >= 11 && typeCode <= 15) return "HKCU\\" + base + runKeys[typeCode - 11];
  if (typeCode >= 21 && typeCode <= 25) return "HKEY_USER\\" + base + runKeys[typeCode - 21];
  switch (typeCode) {
    case 100: return "WIN.INI     [Load] Section";
    case 101: return "WIN.INI     [Run] Section";
    case 200: return "Windows Startup Group";
    case 250: return "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Userinit";
    case 251: return "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Shell";
    case 252: return "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
    case 253: return "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler";
    case 254: return "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks";
    case 255: return "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows  AppInit_DLLs";
    case 256: return "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon Notify";
    default: return "";
  }
}

std::string noteFileName(const std::string& programFile) {
  std::string path = programFile;
  std::replace(path.begin(), path.end(), '=', ':');
  const std::size_t slash = path.find_last_of("\\:");
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  // A name of four characters or fewer keeps nothing before the ending.
  file = file.size() > 4 ? file.substr(0, file.size() - 4) : "";
  return "note_" + file + ".txt";
}

int nextIndex(int index, int count) {
  if (count <= 0) return 0;
  return index + 1 >= count || index < 0 ? 0 : index + 1;
}

int previousIndex(int index, int count) {
  if (count <= 0) return 0;
  return index <= 0 || index >= count ? count - 1 : index - 1;
}

}  // namespace tavrin
