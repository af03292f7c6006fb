// A second process for the tests: appends history records, or toggles one
// startup entry for ever (until it is killed).
//   startup_worker append COUNT TAG
//   startup_worker toggle NAME COMMAND
//   startup_worker touch FILE         (proves it was started)
//   startup_worker wait SECONDS       (a program that runs for a while)
//   startup_worker ARGUMENT           (writes it to arguments.txt beside itself;
//                                      "version": the version text instead)
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include "inventory/history.h"
#include "inventory/startup_actions.h"
#include "inventory/version_text.h"

int main(int argc, char** argv) {
  if (argc == 2) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    FILE* file = std::fopen((path.substr(0, path.find_last_of('\\')) + "\\arguments.txt").c_str(), "wb");
    if (!file) return 1;
    std::fputs(std::string(argv[1]) == "version" ? tavrin::versionText().c_str() : argv[1], file);
    return std::fclose(file) == 0 ? 0 : 1;
  }
  if (argc < 3) return 2;
  const std::string mode = argv[1];
  if (mode == "append" && argc >= 4) {
    const int count = std::atoi(argv[2]);
    int written = 0;
    for (int i = 0; i < count; ++i)
      written += tavrin::writeHistory(std::string(argv[3]) + std::to_string(i), "c:\\worker.exe", "", 11, 6);
    return written == count ? 0 : 1;
  }
  if (mode == "touch") {
    FILE* file = std::fopen(argv[2], "ab");
    if (!file) return 1;
    std::fputs("started\n", file);
    return std::fclose(file) == 0 ? 0 : 1;
  }
  if (mode == "wait") {
    Sleep(static_cast<DWORD>(std::atoi(argv[2])) * 1000);
    return 0;
  }
  if (mode == "toggle" && argc >= 4) {
    for (;;) tavrin::toggleStartupEntry(argv[2], argv[3], "", 11);
  }
  return 2;
}
