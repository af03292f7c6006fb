#include "command_line.h"

#include "text.h"

namespace tavrin {

bool hasSwitch(std::string_view commandLine, std::string_view sw) { return contains(commandLine, sw); }

ExplorerRequest parseExplorerCommandLine(std::string_view commandLine, int startTab) {
  ExplorerRequest request;
  request.startPage = startTab < 6026 ? 6026 : startTab;
  if (commandLine.empty()) return request;
  // The report's file is the rest of the line, so the switch is looked for
  // first: a path holding "-TASK" must not choose a page.
  const std::size_t report = lower(commandLine).find("-report");
  if (report != std::string_view::npos) {
    request.report = true;
    std::string_view rest = commandLine.substr(report + 7);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    if (!rest.empty() && rest.front() == '"') {
      rest.remove_prefix(1);
      rest = rest.substr(0, rest.find('"'));
    }
    request.reportPath = std::string(rest);
    return request;
  }
  if (hasSwitch(commandLine, "-Restore")) {
    request.restoreDelayed = true;
    return request;  // restores and exits; nothing else applies
  }
  if (hasSwitch(commandLine, "-START")) {
    request.startPage = 6026;
    request.startMonitor = true;
  }
  static const struct {
    const char* sw;
    int page;
  } kPages[] = {
      {"-SERVICE", 6038}, {"-BHO", 6040},      {"-COOKIE", 6045},   {"-NUT", 6028},
      {"-OPTION", 6033},  {"-SCHEDULE", 6039}, {"-TASK", 6029},     {"-DELAY", 6055},
      {"-FILETYPE", 6042}, {"-HIDDEN", 6052},  {"-MONITOR", 6046},  {"-BLACKLIST", 6047},
      {"-EXIT", 6048},    {"-RESTART", 6033},
  };
  for (const auto& row : kPages)
    if (hasSwitch(commandLine, row.sw)) request.startPage = row.page;
  request.quit = hasSwitch(commandLine, "-Q");
  return request;
}

}  // namespace tavrin
