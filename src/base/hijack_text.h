#pragma once
// Rules of the hijack-style log that need no platform: which HOSTS and
// iereset.inf lines are shown, the startup line codes, the multi-string
// form, the boot mode and the operating-system text.
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Largest parts of the scanned files that are read.
constexpr std::size_t kHostsReadLimit = 652780;
constexpr std::size_t kIeResetReadLimit = 16384;

// The address part of each HOSTS line worth showing, as "O1 - Hosts: <line>"
// without a line end. Lines are split at LF; CR is dropped and every other
// character below 32 becomes a blank; the last line counts without a final
// LF. A line is shown when it is no comment (first non-blank "#"), is longer
// than 4 and shorter than 500 characters, and its address is not one of the
// loopback or null addresses (127.0.0.1, ::1, 0.0.0.0): only the address is
// looked at, so 10.0.0.1 is shown.
std::vector<std::string> hostsLogLines(std::string_view hostsFile);

// The O14 lines of an iereset.inf text (split at LF, characters below 32
// dropped): for every line and each of "Start Page", "Default_Page_URL",
// "Default_Search_URL", "Search Page" it contains (any case), the prefix
// "HKCU," or "HKLM," when the line names that hive, the name, and the text
// after the line's last comma. Lines without a comma give nothing.
std::vector<std::string> ieResetLogLines(std::string_view ieResetFile);

// "O4 - HKLM\..\Run: [" and its siblings for a startup type code; the name,
// "]" and the command follow.
std::string startupLogPrefix(int typeCode);

// The texts of a multi-string value's data, joined by " | " (empty texts,
// such as the final terminator, are left out).
std::string multiStringText(std::string_view data);

// "Boot mode: Normal" ... for the clean-boot metric.
std::string bootModeText(int cleanBoot);

// The control sets the O17 and TV lines read, in their order, with the short
// names shown.
struct ControlSet {
  const char* path;  // under HKEY_LOCAL_MACHINE
  const char* shortName;
};
const std::vector<ControlSet>& logControlSets();

// What the platform says about itself for the operating-system text.
struct OsFacts {
  int platformId = 2;  // 0 Win32s, 1 Windows 9x, 2 NT
  int major = 0, minor = 0, build = 0;
  std::string servicePack;  // the service-pack text ("Service Pack 2", " C" ...)
  bool extended = false;    // the extended version information was given
  int servicePackMajor = 0;
  int productType = 1;      // 1 workstation, 2 domain controller, 3 server
  unsigned suiteMask = 0;
  bool tabletPc = false;
  std::string productTypeValue;  // ProductOptions ProductType, without extended information
  bool hotfixQ246009 = false;
};
// "Windows XP SP2 Home Edition Service Pack 2 (Build 2600)" and the like.
std::string operatingSystemText(const OsFacts& os);

}  // namespace tavrin
