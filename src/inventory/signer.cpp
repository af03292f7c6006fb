#include "signer.h"

#include <map>
#include <mutex>
#include <tuple>

#include "base/text.h"
#include "program_file.h"
#include "sys/files.h"

namespace tavrin {
namespace {

using FileKey = std::tuple<std::string, std::uint64_t, std::uint64_t>;

struct SignerCache {
  std::mutex mutex;
  std::map<FileKey, Signer> verdicts;
  int verifications = 0;
};

SignerCache& cache() {
  static SignerCache instance;
  return instance;
}

Signer verify(const std::string& path) {
  Signer result;
  std::string name;
  result.state = verifyFileSignature(path, name);
  switch (result.state) {
    case SignatureState::kVerified: result.text = name; break;
    case SignatureState::kNotSigned: result.text = kNotSignedText; break;
    case SignatureState::kNotVerified: result.text = kNotVerifiedText; break;
    case SignatureState::kUnreadable: break;
  }
  return result;
}

}  // namespace

Signer signerOfFile(const std::string& path) {
  FileFacts facts;
  if (path.empty() || !readFileFacts(path, facts) || (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)) return Signer{};
  const FileKey key{lower(path), facts.size, facts.writeTime};
  SignerCache& shared = cache();
  {
    std::lock_guard<std::mutex> lock(shared.mutex);
    auto found = shared.verdicts.find(key);
    if (found != shared.verdicts.end()) return found->second;
  }
  // Verified outside the lock: hashing a large file must not hold up other threads.
  Signer result = verify(path);
  if (result.state == SignatureState::kUnreadable) return result;
  std::lock_guard<std::mutex> lock(shared.mutex);
  ++shared.verifications;
  shared.verdicts.emplace(key, result);
  return result;
}

Signer signerOfProgram(const std::string& command) {
  std::string file = programFileOfCommand(command);
  if (file.empty() || !programFileExists(file)) return Signer{};
  return signerOfFile(file);
}

bool isMicrosoftSignerName(const std::string& name) {
  return name == "Microsoft" || name.compare(0, 10, "Microsoft ") == 0;
}

bool isVerifiedMicrosoft(const std::string& command) {
  const Signer signer = signerOfProgram(command);
  return signer.state == SignatureState::kVerified && isMicrosoftSignerName(signer.text);
}

SignerWorker::SignerWorker(std::vector<std::string> commands, Report report)
    : thread_([this, commands = std::move(commands), report = std::move(report)] {
        for (std::size_t i = 0; i < commands.size() && !stop_; ++i) {
          const Signer signer = signerOfProgram(commands[i]);
          if (!stop_) report(i, signer);
        }
      }) {}

SignerWorker::~SignerWorker() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

int signerVerificationCount() {
  std::lock_guard<std::mutex> lock(cache().mutex);
  return cache().verifications;
}

}  // namespace tavrin
