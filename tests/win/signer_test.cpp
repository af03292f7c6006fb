// The signer of programs signed during the build by openssl and osslsigncode:
// WinVerifyTrust's three answers, the cache, and the Microsoft filters that
// trust a signature rather than a version resource.
#include <gtest/gtest.h>

#include <mutex>

#include "inventory/options.h"
#include "inventory/signer.h"
#include "reports.h"
#include "support/driver.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"
#include "sys/files.h"

using namespace tavrin;
using namespace testutil;
using fixtures::TestService;

namespace {

const std::string kSigned = TAVRIN_SIGNED_DIR;

void setWriteTime(const std::string& path, const FILETIME& time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

}  // namespace

TEST(Signer, EachFixtureHasItsVerdictOnlyARealMicrosoftSignatureCountsAndVerdictsAreCached) {
  struct Case {
    const char* file;
    SignatureState state;
    const char* text;
    bool microsoft;
  };
  const Case cases[] = {
      {"signed.exe", SignatureState::kVerified, "Acme Probe Works", false},
      {"signed_microsoft.exe", SignatureState::kVerified, "Microsoft Corporation", true},
      // Claims "Microsoft Corporation" in its version resource only.
      {"unsigned.exe", SignatureState::kNotSigned, kNotSignedText, false},
      {"tampered.exe", SignatureState::kNotVerified, kNotVerifiedText, false},
      {"wrong_usage.exe", SignatureState::kNotVerified, kNotVerifiedText, false},
      {"missing.exe", SignatureState::kUnreadable, "", false},
  };
  std::vector<std::string> commands;
  for (const Case& c : cases) commands.push_back("\"" + kSigned + "\\" + c.file + "\" -run");
  // The worker a page uses reports every verdict, in order, from its own thread.
  std::vector<std::pair<std::size_t, Signer>> reported;
  std::mutex mutex;
  {
    const DWORD testThread = GetCurrentThreadId();
    SignerWorker worker(commands, [&](std::size_t index, const Signer& signer) {
      EXPECT_NE(GetCurrentThreadId(), testThread);
      std::lock_guard<std::mutex> lock(mutex);
      reported.emplace_back(index, signer);
    });
    driver::waitUntil([&] {
      std::lock_guard<std::mutex> lock(mutex);
      return reported.size() == commands.size();
    }, 30000);
  }
  ASSERT_EQ(reported.size(), commands.size());
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(reported[i].first, i);
    EXPECT_EQ(reported[i].second.state, c.state) << c.file;
    EXPECT_EQ(reported[i].second.text, c.text) << c.file;
    EXPECT_EQ(signerOfProgram(commands[i]).text, c.text) << c.file;
    EXPECT_EQ(isVerifiedMicrosoft(commands[i]), c.microsoft) << c.file;
  }
  EXPECT_FALSE(isMicrosoftSignerName("Microsoftish Tools"));
  // A file whose path, size and write time are unchanged is not hashed again, even when its bytes changed.
  const std::string path = freshFolder("signer") + "\\copy.exe";
  ASSERT_TRUE(CopyFileA((kSigned + "\\signed.exe").c_str(), path.c_str(), FALSE));
  const int before = signerVerificationCount();
  EXPECT_EQ(signerOfFile(path).text, "Acme Probe Works");
  EXPECT_EQ(signerOfFile(path).text, "Acme Probe Works");
  EXPECT_EQ(signerVerificationCount(), before + 1);

  WIN32_FILE_ATTRIBUTE_DATA facts{};
  ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts));
  ASSERT_TRUE(writeFileText(path, readFile(kSigned + "\\tampered.exe")));
  setWriteTime(path, facts.ftLastWriteTime);
  EXPECT_EQ(signerOfFile(path).text, "Acme Probe Works");
  EXPECT_EQ(signerVerificationCount(), before + 1);

  FILETIME later = facts.ftLastWriteTime;
  later.dwHighDateTime += 1;
  setWriteTime(path, later);
  EXPECT_EQ(signerOfFile(path).text, kNotVerifiedText);
  EXPECT_EQ(signerVerificationCount(), before + 2);
}

// Wine accepts the test root, so the signed "Microsoft" copy counts as
// Microsoft's here; on Windows it would not verify and would stay listed too.
// The Services page's filter: the inventory pages' end-to-end test.
TEST(Signer, TheLogsMicrosoftFilterHidesOnlyVerifiedMicrosoftServices) {
  TestService claims("ImitatorSvc", "Imitator Service", kSigned + "\\unsigned.exe");
  TestService real("SignedMsSvc", "Signed Microsoft Service", kSigned + "\\signed_microsoft.exe");
  ASSERT_TRUE(claims.installed() && real.installed());
  EntryList list("Tavrin", 4096);

  const int saved = readOption("HideMicrosoftServices", 0);
  writeOption("HideMicrosoftServices", 1);
  const std::string logPath = freshFolder("signer") + "\\HijackTavrin.log";
  ASSERT_EQ(writeHijackLog(logPath, list), 0u);
  writeOption("HideMicrosoftServices", saved);
  const std::string log = readFile(logPath);
  EXPECT_NE(log.find("\r\nO23 - Service: Imitator Service - Microsoft Corporation - "), std::string::npos);
  EXPECT_EQ(log.find("Signed Microsoft Service"), std::string::npos);
}
