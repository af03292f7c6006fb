// What verifying the programs of a 400-entry startup list costs, the first
// time and from the cache, beside reading those files once and beside the
// size-and-time look-up a cached answer rests on. The list is a
// Run key of copies of one signed program; prints figures, asserts nothing.
// usage: signer.exe SIGNED_PROGRAM [entries (400)]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "inventory/entry_list.h"
#include "inventory/program_file.h"
#include "inventory/signer.h"
#include "inventory/startup_enum.h"
#include "sys/files.h"
#include "sys/handles.h"
#include "sys/registry.h"
#include "timing.h"

using namespace tavrin;

using bench::median;
using bench::nowMs;
using bench::timed;

namespace {

constexpr int kRounds = 5;
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kFolder[] = "C:\\bench-signer";

std::string programName(int n) { return std::string(kFolder) + "\\program" + std::to_string(n) + ".exe"; }
std::string valueName(int n) { return "BenchSigner" + std::to_string(n); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: signer.exe SIGNED_PROGRAM [entries]\n");
    return 2;
  }
  const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : 400;
  CreateDirectoryA(kFolder, nullptr);
  for (int n = 0; n < entries; ++n) {
    CopyFileA(argv[1], programName(n).c_str(), FALSE);
    reg::writeString(HKEY_CURRENT_USER, kRunKey, valueName(n), "\"" + programName(n) + "\" -background");
  }
  EntryList list("Tavrin", 315);
  enumerateStartup(list, false, 0);
  std::vector<std::string> commands;
  for (int i = 0; i < list.count(); ++i)
    if (list.programPath(i).find("bench-signer") != std::string::npos) commands.push_back(list.programPath(i));

  // The files as the callers hold them (the report and the dialogs resolve a
  // command once and then ask for its file's signer).
  std::vector<std::string> files;
  for (const std::string& command : commands) {
    std::string file = programFileOfCommand(command);
    if (programFileExists(file)) files.push_back(file);
  }

  std::size_t bytes = 0;
  std::vector<char> buffer(64 * 1024);
  std::vector<double> reads;
  for (int round = 0; round < kRounds; ++round)
    reads.push_back(timed([&] {
      bytes = 0;
      for (const std::string& file : files) {
        UniqueFile handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD got = 0;
        while (handle && ReadFile(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got)
          bytes += got;
      }
    }));
  int verified = 0;
  const double first = timed([&] {
    for (const std::string& file : files) verified += signerOfFile(file).state == SignatureState::kVerified;
  });
  std::vector<double> cached;
  for (int round = 0; round < kRounds; ++round)
    cached.push_back(timed([&] {
      for (const std::string& file : files) signerOfFile(file);
    }));
  // The cache's own key: the size and write time of each file.
  std::vector<double> facts;
  for (int round = 0; round < kRounds; ++round)
    facts.push_back(timed([&] {
      for (const std::string& file : files) {
        FileFacts f;
        readFileFacts(file, f);
      }
    }));
  const double read = median(reads);
  std::printf("%zu startup entries of %d seeded, %d verified, %zu bytes read per round\n", files.size(), entries,
              verified, bytes);
  std::printf("reading every file once: %.1f ms\n", read);
  std::printf("verifying, first time: %.1f ms, ratio to reading %.2f\n", first, first / read);
  std::printf("verifying, cached: %.2f ms, ratio to reading %.3f, to looking up the files' size and time %.2f\n",
              median(cached), median(cached) / read, median(cached) / median(facts));
  std::printf("(%d real verifications; reading and cached figures are medians of %d rounds)\n",
              signerVerificationCount(), kRounds);

  for (int n = 0; n < entries; ++n) {
    reg::deleteValue(HKEY_CURRENT_USER, kRunKey, valueName(n));
    DeleteFileA(programName(n).c_str());
  }
  RemoveDirectoryA(kFolder);
  return 0;
}
