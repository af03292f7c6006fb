#pragma once
// Switches of the two programs. A switch is present when it occurs anywhere
// in the command line, in any case.
#include <string>
#include <string_view>

namespace tavrin {

bool hasSwitch(std::string_view commandLine, std::string_view sw);

// What the Explorer's command line asks for. Later switches of the table win.
struct ExplorerRequest {
  int startPage = 6026;  // a page or command id (commands.h)
  bool restoreDelayed = false;  // -Restore: restore the Delayed Start list and exit
  bool startMonitor = false;    // -START: start the Monitor when none runs
  bool quit = false;            // -Q
  bool report = false;          // -REPORT <file>: write the report and exit
  std::string reportPath;       // the file, without its quotes; may be empty
};

// `startTab` is the StartTab option; values below the first page id become it.
ExplorerRequest parseExplorerCommandLine(std::string_view commandLine, int startTab);

}  // namespace tavrin
