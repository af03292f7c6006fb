#include "sys/version.h"

#include <gtest/gtest.h>

#include "inventory/version_text.h"
#include "support/driver.h"
#include "support/win_test_util.h"
#include "sys/paths.h"

using namespace tavrin;

namespace {
std::string fixture(const char* name) { return testutil::testDir() + "\\" + name; }
}  // namespace

TEST(VersionResource, TheLastTranslationWithANameDecidesTheSystemsProductShowsTheDescriptionAndBrokenOnesNothing) {
  const struct {
    const char* file;
    const char* product;
    const char* company;
    const char* description;
  } cases[] = {
      {"ver_plain.dll", "Widget Suite", "Acme Tools", "Widget helper"},
      {"ver_two_languages.dll", "Werkzeug", "", "Deutsche Beschreibung"},
      {"ver_operating_system.dll", "Shell Helper Library", "Fabrikam", "Shell Helper Library"},
  };
  for (const auto& c : cases) {
    VersionRecord record;
    ASSERT_TRUE(readVersionRecord(fixture(c.file), record)) << c.file;
    EXPECT_EQ(record.productName + "|" + record.companyName + "|" + record.fileDescription,
              std::string(c.product) + "|" + c.company + "|" + c.description);
  }
  VersionRecord plain;
  readVersionRecord(fixture("ver_plain.dll"), plain);
  EXPECT_EQ(plain.productVersion + "|" + plain.legalCopyright, "1.2.3.4|Copyright Acme");
  // Oversized, missing or absent resources give empty texts.
  for (const std::string& path : {fixture("ver_oversized.dll"), fixture("ver_none.dll"), fixture("no-such-file.dll"),
                                  testutil::testDir()}) {
    VersionRecord record;
    record.companyName = "stale";
    EXPECT_FALSE(readVersionRecord(path, record)) << path;
    EXPECT_EQ(record.productName, "") << path;
    EXPECT_EQ(record.companyName, "") << path;
  }
}

TEST(VersionText, JoinsTheProgramsBesideItAndOnlyAProgramNamedForTheHijackLogAddsItsOwn) {
  // The test program's folder holds copies of the programs; the text names the
  // Monitor's version, then the Explorer's.
  const std::string here = testutil::testDir();
  CopyFileA((testutil::programDir() + "\\Tavrin.exe").c_str(), (here + "\\Tavrin.exe").c_str(), FALSE);
  DeleteFileA((here + "\\TavrinEx.exe").c_str());
  EXPECT_EQ(versionText(), "12.0.2007.5");
  CopyFileA((testutil::programDir() + "\\TavrinEx.exe").c_str(), (here + "\\TavrinEx.exe").c_str(), FALSE);
  EXPECT_EQ(versionText(), "12.0.2007.5:12.0.2007.5");
  DeleteFileA((here + "\\Tavrin.exe").c_str());
  EXPECT_EQ(versionText(), ":12.0.2007.5");
  DeleteFileA((here + "\\TavrinEx.exe").c_str());
  // A copy named for the hijack log adds its own version; a hijack folder alone does not.
  const struct {
    const char* folder;
    const char* program;
    const char* text;
  } cases[] = {{"hijack-folder", "worker.exe", "12.0.2007.5"}, {"plain", "HijackWorker.exe", "12.0.2007.5:12.0.2007.5"}};
  for (const auto& c : cases) {
    const std::string folder = testutil::freshFolder(c.folder);
    CopyFileA((testutil::testDir() + "\\startup_worker.exe").c_str(), (folder + "\\" + c.program).c_str(), FALSE);
    // The Monitor beside it, the Explorer not.
    CopyFileA((testutil::programDir() + "\\Tavrin.exe").c_str(), (folder + "\\Tavrin.exe").c_str(), FALSE);
    driver::Process worker = driver::start(folder + "\\" + c.program, "version");
    ASSERT_TRUE(worker.waitExit(10000));
    EXPECT_EQ(testutil::readFile(folder + "\\arguments.txt"), c.text) << c.program;
  }
}
