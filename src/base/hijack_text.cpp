#include "hijack_text.h"

#include "text.h"

namespace tavrin {
namespace {

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The address field is the first blank-separated word of the line.
bool isLocalAddress(const std::string& line) {
  std::size_t start = 0;
  while (start < line.size() && isBlank(line[start])) ++start;
  std::size_t end = start;
  while (end < line.size() && !isBlank(line[end])) ++end;
  const std::string address = lower(std::string_view(line).substr(start, end - start));
  return address == "127.0.0.1" || address == "::1" || address == "0.0.0.0";
}

}  // namespace

std::vector<std::string> hostsLogLines(std::string_view hostsFile) {
  std::vector<std::string> out;
  for (const std::string& raw : splitLines(hostsFile)) {
    std::string line;
    for (char c : raw) {
      if (c == '\r') continue;
      line += static_cast<unsigned char>(c) < 32 ? ' ' : c;
    }
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || line[first] == '#') continue;
    if (line.size() <= 4 || line.size() >= 500 || isLocalAddress(line)) continue;
    out.push_back("O1 - Hosts: " + line);
  }
  return out;
}

std::vector<std::string> ieResetLogLines(std::string_view ieResetFile) {
  static const char* const kNames[] = {"Start Page", "Default_Page_URL", "Default_Search_URL", "Search Page"};
  std::vector<std::string> out;
  for (const std::string& raw : splitLines(ieResetFile)) {
    std::string line;
    for (char c : raw)
      if (static_cast<unsigned char>(c) >= 32) line += c;
    const std::size_t comma = line.rfind(',');
    if (comma == std::string::npos) continue;
    const char* prefix = contains(line, "HKCU") ? "HKCU," : contains(line, "HKLM") ? "HKLM," : "";
    for (const char* name : kNames)
      if (contains(line, name))
        out.push_back(std::string("O14 - IERESET.INF:") + prefix + " " + name + " = " + line.substr(comma + 1));
  }
  return out;
}

std::string startupLogPrefix(int typeCode) {
  static const char* const kKeys[] = {"Run",          "RunOnce",       "RunOnceEx", "RunServices",
                                      "RunServicesOnce", "RunOnceSetup", "Policies\\Explorer\\Run"};
  const int hive = typeCode / 10, key = typeCode % 10;
  if (hive >= 0 && hive <= 2 && key >= 1 && key <= (hive == 0 ? 7 : 6)) {
    static const char* const kHives[] = {"HKLM", "HKCU", "HKU"};
    const char* name = typeCode == 24 ? "RunService" : kKeys[key - 1];
    return std::string("O4 - ") + kHives[hive] + "\\..\\" + name + ": [";
  }
  return "O4 - Other Run: [";
}

std::string multiStringText(std::string_view data) {
  std::string out;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find('\0', start);
    if (end == std::string_view::npos) end = data.size();
    if (end > start) {
      if (!out.empty()) out += " | ";
      out += data.substr(start, end - start);
    }
    start = end + 1;
  }
  return out;
}

std::string bootModeText(int cleanBoot) {
  switch (cleanBoot) {
    case 0: return "Boot mode: Normal";
    case 1: return "Boot mode: Safe";
    case 2: return "Boot mode: Safe with Network";
    default: return "Boot mode: Unknown";
  }
}

const std::vector<ControlSet>& logControlSets() {
  static const std::vector<ControlSet> sets = {{"SYSTEM\\ControlSet001", "CS1"},
                                               {"SYSTEM\\CurrentControlSet", "CCS"},
                                               {"SYSTEM\\ControlSet002", "CS2"},
                                               {"SYSTEM\\ControlSet003", "CS3"}};
  return sets;
}

namespace {

std::string windows9xText(const OsFacts& os) {
  if (os.major != 4) return "";
  const char mark = os.servicePack.size() > 1 ? os.servicePack[1] : '\0';
  switch (os.minor) {
    case 0: return std::string("Microsoft Windows 95 ") + (mark == 'C' || mark == 'B' ? "OSR2 " : "");
    case 10: return std::string("Microsoft Windows 98 ") + (mark == 'A' ? "SE " : "");
    case 90: return "Microsoft Windows Millennium Edition";
    default: return "";
  }
}

const char* ntName(const OsFacts& os) {
  if (os.major == 5) return os.minor == 2 ? "Windows Server 2003 family, " : os.minor == 1 ? "Windows XP "
                          : os.minor == 0 ? "Windows 2000 " : "";
  if (os.major <= 4) return "Windows NT ";
  if (os.major == 6) return "Windows Vista ";
  if (os.major == 7 && os.minor == 3) return "Windows XP ";
  return "";
}

std::string ntEdition(const OsFacts& os) {
  if (!os.extended) {
    if (os.productTypeValue.empty()) return "";
    const std::string kind = equalsNoCase(os.productTypeValue, "WINNT")      ? "Workstation "
                             : equalsNoCase(os.productTypeValue, "LANMANNT") ? "Server "
                             : equalsNoCase(os.productTypeValue, "SERVERNT") ? "Advanced Server "
                                                                              : "";
    return kind + format("%d.%d ", os.major, os.minor);
  }
  if (os.productType == 1) {
    if (os.major == 4) return "Workstation 4.0 ";
    return (os.suiteMask & 0x200) ? "Home Edition " : "";
  }
  if (os.major == 5 && os.minor == 2) {
    if (os.suiteMask & 0x80) return "Datacenter Edition ";
    if (os.suiteMask & 0x2) return "Enterprise Edition ";
    if (os.suiteMask == 0x400) return "Web Edition ";
    return "Standard Edition ";
  }
  if (os.major == 5 && os.minor == 0) {
    if (os.suiteMask & 0x80) return "Datacenter Server ";
    if (os.suiteMask & 0x2) return "Advanced Server ";
    return "Server ";
  }
  return (os.suiteMask & 0x2) ? "Server 4.0, Enterprise Edition " : "Server 4.0 ";
}

}  // namespace

std::string operatingSystemText(const OsFacts& os) {
  if (os.platformId == 0) return "Microsoft Win32s";
  if (os.platformId == 1) return windows9xText(os);
  std::string text = ntName(os);
  if (os.servicePackMajor >= 1 && os.servicePackMajor <= 3) text += format("SP%d ", os.servicePackMajor);
  if (os.tabletPc) text += "Tablet PC Edition ";
  text += ntEdition(os);
  const int build = os.build & 0xFFFF;
  if (os.major == 4 && equalsNoCase(os.servicePack, "Service Pack 6") && os.hotfixQ246009)
    return text + format("Service Pack 6a (Build %d)", build);
  return text + os.servicePack + format(" (Build %d)", build);
}

}  // namespace tavrin
