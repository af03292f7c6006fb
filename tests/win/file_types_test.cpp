// File-type associations against the prefix's registry: the snapshot at start,
// Add, Remove, Restore and the patrol's check, a second thread playing the
// user. Classes go under HKLM Software\Classes (HKEY_CLASSES_ROOT under Wine).
#include <gtest/gtest.h>

#include "checks.h"
#include "inventory/file_types.h"
#include "inventory/string_loader.h"
#include "patrol.h"
#include "support/driver.h"
#include "support/monitor_test.h"
#include "support/win_test_util.h"

using namespace tavrin;
using testutil::valueOf;

namespace {

const std::string kStore = "Software\\Quennet\\Tavrin\\";
const std::string kClasses = "Software\\Classes\\";
const std::string kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.zzt";
const std::string kGood = "\"C:\\Program Files\\Probe\\good.exe\" \"%1\"";
const std::string kEvil = "\"C:\\Program Files\\Probe\\evil.exe\" \"%1\"";

std::string commandKey(const std::string& name) { return kClasses + name + "\\shell\\open\\command"; }
// The bytes as stored, terminator included.
std::string bytes(HKEY root, const std::string& key, const std::string& name, DWORD* type = nullptr) {
  std::string data;
  DWORD t = 0;
  testutil::rawValue(root, key, name, data, t);
  if (type) *type = t;
  return data;
}
std::string command(const std::string& name, DWORD* type = nullptr) {
  return bytes(HKEY_LOCAL_MACHINE, commandKey(name), "", type);
}
void setClass(const std::string& ext, const std::string& name, const std::string& command, DWORD type = REG_SZ) {
  testutil::setString(HKEY_LOCAL_MACHINE, kClasses + ext, "", name);
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey(name), "", command, type);
}
void setList(const std::string& list) {
  testutil::setString(HKEY_CURRENT_USER, kStore + "Class", "", list);
  testutil::setString(HKEY_CURRENT_USER, kStore + "Ext", "", "Do not edit.");
}
std::string list() { return valueOf(HKEY_CURRENT_USER, kStore + "Class", ""); }
std::string snapshot(const char* store, const std::string& name) {
  return valueOf(HKEY_CURRENT_USER, kStore + store, name);
}

class FileTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    store_.clearValues();
    TearDown();
  }
  void TearDown() override {
    for (const char* key : {".zzt", ".zzq", "zztfile", "zzshared", "evilfile", "Applications\\zzapp.exe"})
      testutil::deleteTree(HKEY_LOCAL_MACHINE, kClasses + key);
    testutil::deleteTree(HKEY_CURRENT_USER, kFileExts);
  }
  testutil::RegistrySnapshot store_{
      HKEY_CURRENT_USER,
      {kStore + "Class", kStore + "Ext", kStore + "ExtApp", kStore + "ExtProgID", kStore + "ExtType",
       "Software\\Quennet\\Detected\\FileTypes", kStore + "Options"}};
};

}  // namespace

TEST_F(FileTypes, StartSnapshotsCommandsVerbatimAndNeverRetakesOrResetsAList) {
  setClass(".zzt", "zztfile", kGood);
  setList("LONGEXTENSION;ZZT;");
  EXPECT_EQ(createClassInfo(), 1);
  EXPECT_EQ(bytes(HKEY_CURRENT_USER, kStore + "Class", "zztfile"), kGood + '\0');
  EXPECT_EQ(snapshot("Ext", ".ZZT"), "zztfile");
  EXPECT_EQ(list(), "LONGEXTENSION;ZZT;") << "a first token of ten characters or more is a list";
  // Changed while no program ran: the next start keeps the old baseline.
  setClass(".zzt", "zztfile", kEvil);
  EXPECT_EQ(createClassInfo(), 0);
  EXPECT_EQ(snapshot("Class", "zztfile"), kGood);
}

TEST_F(FileTypes, AddRefusesDuplicatesAndBadTokensAndRemoveKeepsASharedClass) {
  setClass(".zzt", "zzshared", kGood);
  setList("ZZT;");
  for (const char* same : {".zzt", "Zzt"}) EXPECT_EQ(addMonitoredExtension(same), 762) << same;
  for (const char* bad : {"a;b", "x\\y", ".", "a b"}) EXPECT_EQ(addMonitoredExtension(bad), 761) << bad;
  EXPECT_NE(loadString(761).find("extension"), std::string::npos) << "the refusal has its message";
  EXPECT_EQ(list(), "ZZT;");
  setClass(".zzq", "zzshared", kGood);
  EXPECT_EQ(addMonitoredExtension(".zzq"), 0);
  EXPECT_EQ(list(), "ZZT;zzq;");
  EXPECT_EQ(snapshot("Ext", ".zzq"), "zzshared");
  EntryList entries("Tavrin", 315);
  ASSERT_EQ(enumerateFileTypes(entries), 2);
  EXPECT_EQ(entries.detail(1) + entries.key(1), ".zzqzzshared");

  EXPECT_EQ(removeMonitoredExtension("zzt"), 1);
  EXPECT_EQ(list(), "zzq;");
  EXPECT_EQ(snapshot("Ext", ".zzt"), "<missing>");
  EXPECT_EQ(snapshot("Class", "zzshared"), kGood) << ".zzq still uses it";
  removeMonitoredExtension("ZZQ");
  EXPECT_EQ(snapshot("Class", "zzshared"), "<missing>");
}

TEST_F(FileTypes, RestoreWritesBackWhatWasSnapshottedAndReportsAFailedWrite) {
  const std::string expandable = "\"%ProgramFiles%\\Probe\\good.exe\" \"%1\"";
  setClass(".zzt", "zztfile", expandable, REG_EXPAND_SZ);
  testutil::setString(HKEY_CURRENT_USER, kFileExts, "Application", "zzapp.exe");
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("Applications\\zzapp.exe"), "", kGood);
  setList("ZZT;");
  ASSERT_EQ(createClassInfo(), 2);
  // The extension is pointed elsewhere and both commands are rewritten.
  setClass(".zzt", "evilfile", kEvil);
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", kEvil);
  testutil::setString(HKEY_CURRENT_USER, kFileExts, "Application", "evil.exe");
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("Applications\\zzapp.exe"), "", kEvil);
  EXPECT_EQ(restoreAssociation(".ZZT", 1), 1);
  EXPECT_EQ(restoreAssociation("zzt", 2), 1);
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, kClasses + ".zzt", ""), "zztfile");
  DWORD type = 0;
  EXPECT_EQ(command("zztfile", &type), expandable + '\0');
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kFileExts, "Application"), "zzapp.exe");
  EXPECT_EQ(command("Applications\\zzapp.exe"), kGood + '\0');

  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", kEvil);
  testutil::ReadOnlyKey locked(HKEY_LOCAL_MACHINE, commandKey("zztfile"));
  ASSERT_TRUE(locked.ok());
  EXPECT_EQ(restoreAssociation(".ZZT", 1), 0);
  EXPECT_EQ(restoreAssociation(".zzq", 1), 0) << "nothing was snapshotted";
}

namespace {

class FileTypeCheck : public FileTypes {
 protected:
  void SetUp() override {
    FileTypes::SetUp();
    for (const char* name : {"Start", "IEHelpers", "Hidden", "HostFile", "StartPage", "Sound"}) setOption(name, "0");
    setOption("HideBramble", "1");
    setOption("FileType", "1");
    prepareMonitorState(state_);
    setClass(".zzt", "zztfile", good_);
    setList("ZZT;");
    createClassInfo();
  }
  static void setOption(const char* name, const char* value) {
    testutil::setString(HKEY_CURRENT_USER, kStore + "Options", name, value);
  }
  int alertsDuring(const std::function<void(HWND)>& user) {
    return driver::answerDialogsDuring([&] { checkFileTypes(state_); }, user);
  }
  static void yes(HWND alert) { driver::pressButton(alert, IDYES); }

  MonitorState state_;
  std::string good_ = "\"" + testutil::testDir() + "\\ver_plain.dll\" \"%1\"";
};

}  // namespace

TEST_F(FileTypeCheck, AlertShowsTheExtensionNoRestoresYesKeepsAFolderMoveIsNoChangeAndAFailedLockAsks) {
  loadMonitorOptions(state_);
  const std::string moved = "\"" + testutil::testDir() + "\\ver_none.dll\" \"%1\"";
  setClass(".zzt", "zztfile", moved);
  EXPECT_EQ(alertsDuring([](HWND alert) {
              EXPECT_EQ(driver::dialogItemText(alert, 1121), ".ZZT");
              EXPECT_NE(driver::dialogItemText(alert, 1117).find("ver_none.dll"), std::string::npos);
              Sleep(300);
              driver::screenshot("alert-file-type-change");
              driver::pressButton(alert, IDNO);
            }),
            1);
  EXPECT_EQ(command("zztfile"), good_ + '\0');
  std::string file = testutil::testDir() + "\\VER_NONE.DLL";
  CharUpperA(&file[0]);
  EXPECT_NE(valueOf(HKEY_CURRENT_USER, "Software\\Quennet\\Detected\\FileTypes", file), "<missing>");

  setClass(".zzt", "zztfile", moved);
  EXPECT_EQ(alertsDuring(yes), 1);
  EXPECT_EQ(command("zztfile"), moved + '\0');
  EXPECT_EQ(alertsDuring(yes), 0) << "the new baseline";
  setClass(".zzt", "zztfile", "\"C:\\Elsewhere\\ver_none.dll\" \"%1\"");
  EXPECT_EQ(alertsDuring(yes), 0) << "the same program in another folder";
  // A lock that cannot put the association back asks.
  setOption("LockFileTypes", "1");
  loadMonitorOptions(state_);
  setClass(".zzt", "zztfile", kEvil);
  testutil::ReadOnlyKey locked(HKEY_LOCAL_MACHINE, commandKey("zztfile"));
  ASSERT_TRUE(locked.ok());
  int answered = 0;  // No in the alert, then OK to the failed restore's message
  EXPECT_EQ(alertsDuring([&](HWND dialog) { driver::pressButton(dialog, answered++ ? IDOK : IDNO); }), 2);
  EXPECT_EQ(command("zztfile"), kEvil + '\0');
}
