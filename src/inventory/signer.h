#pragma once
// Who signed a program: the Authenticode verdict on its file, kept for the
// life of the process so that a file is hashed once however often it is shown.
// Safe to call from any thread.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sys/signature.h"

namespace tavrin {

constexpr char kNotSignedText[] = "(Not signed)";
constexpr char kNotVerifiedText[] = "(Not verified)";

struct Signer {
  SignatureState state = SignatureState::kUnreadable;
  std::string text;  // the signer's name, kNotSignedText, kNotVerifiedText, or empty for no file
};

// The verdict on one file, from the cache while its path, size and
// last-write time are unchanged.
Signer signerOfFile(const std::string& path);

// The same for the program file of a command (arguments removed, bare names
// looked for in the Windows and system folders).
Signer signerOfProgram(const std::string& command);

// Whether the signer's name is Microsoft's ("Microsoft" or "Microsoft ...").
bool isMicrosoftSignerName(const std::string& name);

// True only when the program's file is verified and signed by Microsoft; a
// version resource that only claims Microsoft does not count.
bool isVerifiedMicrosoft(const std::string& command);

// Verifies the programs of `commands` on a thread of its own, in order, and
// calls `report` on that thread with each command's index and verdict, so a
// page can show itself at once and take the answers as they arrive (for
// instance by posting them to its window). Destroying the worker stops it
// after the file in hand and waits for it; no report comes after that.
class SignerWorker {
 public:
  using Report = std::function<void(std::size_t index, const Signer& signer)>;
  SignerWorker(std::vector<std::string> commands, Report report);
  ~SignerWorker();
  SignerWorker(const SignerWorker&) = delete;
  SignerWorker& operator=(const SignerWorker&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// How many files were really verified (not answered from the cache) so far.
int signerVerificationCount();

}  // namespace tavrin
