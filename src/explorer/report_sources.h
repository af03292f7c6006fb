#pragma once
// What the report header and the hijack-style log read from the machine
// itself: the operating system, the browsers and their pages.
#include <string>
#include <vector>

#include "base/report_text.h"
#include "base/version_record.h"

namespace tavrin {

std::string thisOperatingSystemText();

// A browser's program file and its version texts; `found` when the file exists.
struct BrowserProgram {
  bool found = false;
  std::string path;
  VersionRecord version;
};
// The program of the default HTTP command (quotes dropped, cut before the first "-").
BrowserProgram defaultBrowser();
// IExplore.exe in the folder App Paths gives for IEXPLORE.EXE.
BrowserProgram internetExplorer();

// Browsers registered under App Paths whose program exists.
struct OtherBrowser {
  std::string name;  // "Firefox", "Mozilla", "Netscape", "America Online"
  std::string version, folder;
};
std::vector<OtherBrowser> otherBrowsers();

ReportHeaderFacts gatherHeaderFacts();

}  // namespace tavrin
