// File-type associations against the prefix's registry: the snapshot at
// start, Add, Remove and Restore, and the patrol's check with a second thread
// playing the user. Classes live under HKLM Software\Classes, which is what
// HKEY_CLASSES_ROOT shows under Wine.
#include <gtest/gtest.h>

#include <aclapi.h>

#include <atomic>
#include <thread>

#include "checks.h"
#include "inventory/file_types.h"
#include "monitor_state.h"
#include "patrol.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

const std::string kStore = "Software\\Quennet\\Tavrin\\";
const std::string kClasses = "Software\\Classes\\";
const std::string kFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.zzt";
const std::string kGood = "\"C:\\Program Files\\Probe\\good.exe\" \"%1\"";
const std::string kEvil = "\"C:\\Program Files\\Probe\\evil.exe\" \"%1\"";

std::string commandKey(const std::string& name) { return kClasses + name + "\\shell\\open\\command"; }

// Data as stored (with its terminator) and its type; "<none>" when missing.
std::string stored(HKEY root, const std::string& key, const std::string& name, DWORD* type = nullptr) {
  std::string data;
  DWORD t = 0;
  if (!testutil::rawValue(root, key, name, data, t)) return "<none>";
  if (type) *type = t;
  return data;
}
std::string text(HKEY root, const std::string& key, const std::string& name) {
  const std::string data = stored(root, key, name);
  return data == "<none>" ? data : std::string(data.c_str());
}

// Only reading is granted on the key until the end of the scope.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) { ok_ = setAccess(KEY_READ); }
  ~ReadOnlyKey() { setAccess(KEY_ALL_ACCESS); }
  bool ok() const { return ok_; }

 private:
  bool setAccess(DWORD rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions = rights | READ_CONTROL | WRITE_DAC;
    access.grfAccessMode = SET_ACCESS;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    const bool done = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS &&
                      SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
    if (acl) LocalFree(acl);
    FreeSid(everyone);
    RegCloseKey(key);
    return done;
  }
  HKEY root_;
  std::string path_;
  bool ok_ = false;
};

class FileTypes : public ::testing::Test {
 protected:
  void SetUp() override {
    store_.clearValues();
    removeFixtures();
  }
  void TearDown() override { removeFixtures(); }

  static void removeFixtures() {
    for (const char* key : {".zzt", ".zzq", "zztfile", "zzqfile", "zzshared", "evilfile", "Applications\\zzapp.exe"})
      testutil::deleteTree(HKEY_LOCAL_MACHINE, kClasses + key);
    testutil::deleteTree(HKEY_CURRENT_USER, kFileExts);
  }
  static void setClass(const std::string& extension, const std::string& name, const std::string& command,
                       DWORD type = REG_SZ) {
    testutil::setString(HKEY_LOCAL_MACHINE, kClasses + extension, "", name);
    testutil::setString(HKEY_LOCAL_MACHINE, commandKey(name), "", command, type);
  }
  static void setList(const std::string& list) {
    testutil::setString(HKEY_CURRENT_USER, kStore + "Class", "", list);
    testutil::setString(HKEY_CURRENT_USER, kStore + "Ext", "", "Do not edit.");
  }
  static std::string list() { return text(HKEY_CURRENT_USER, kStore + "Class", ""); }

  testutil::RegistrySnapshot store_{
      HKEY_CURRENT_USER,
      {kStore + "Class", kStore + "Ext", kStore + "ExtApp", kStore + "ExtProgID", kStore + "ExtType",
       kStore + "ExtRoot", kStore + "ClassRoot", "Software\\Quennet\\Detected\\FileTypes", kStore + "Options"}};
};

}  // namespace

TEST_F(FileTypes, StartSnapshotsCommandsVerbatimAndNeverRetakesOrResetsAList) {
  setClass(".zzt", "zztfile", kGood);
  setList("LONGEXTENSION;ZZT;");
  EXPECT_EQ(createClassInfo(), 1);
  EXPECT_EQ(stored(HKEY_CURRENT_USER, kStore + "Class", "zztfile"), kGood + '\0');
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Ext", ".ZZT"), "zztfile");
  EXPECT_EQ(list(), "LONGEXTENSION;ZZT;") << "a first token of ten characters or more is a list";

  // Changed while no program ran: the next start does not make it the baseline.
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", kEvil);
  EXPECT_EQ(createClassInfo(), 0);
  EXPECT_EQ(stored(HKEY_CURRENT_USER, kStore + "Class", "zztfile"), kGood + '\0');

  // An emptied list and no marker: the default list and the marker come back.
  testutil::setString(HKEY_CURRENT_USER, kStore + "Class", "", "");
  testutil::deleteValue(HKEY_CURRENT_USER, kStore + "Ext", "");
  createClassInfo();
  EXPECT_EQ(list().rfind("AVI;BAT;", 0), 0u) << list();
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Ext", ""), "Do not edit.");
}

TEST_F(FileTypes, AddRefusesDuplicatesAndTokensThatWouldAddressOtherKeys) {
  setList("TXT;ZZT;");
  for (const char* same : {".zzt", "ZZT", ".Txt"}) EXPECT_EQ(addMonitoredExtension(same), 762) << same;
  for (const char* bad : {"a;b", "x\\y", ".", "a b"}) EXPECT_EQ(addMonitoredExtension(bad), 761) << bad;
  EXPECT_EQ(list(), "TXT;ZZT;");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Ext", ".x\\y"), "<none>");

  setClass(".zzq", "zzqfile", "C:\\Q\\q.exe %1");
  EXPECT_EQ(addMonitoredExtension(".zzq"), 0);
  EXPECT_EQ(list(), "TXT;ZZT;zzq;");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Ext", ".zzq"), "zzqfile");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Class", "zzqfile"), "C:\\Q\\q.exe %1");
}

TEST_F(FileTypes, RemoveKeepsTheCommandOfAClassAnotherTypeStillUses) {
  setClass(".zzt", "zzshared", kGood);
  setClass(".zzq", "zzshared", kGood);
  setList("ZZT;ZZQ;");
  ASSERT_EQ(createClassInfo(), 2);
  EntryList entries("Tavrin", 315);
  ASSERT_EQ(enumerateFileTypes(entries), 2);
  EXPECT_EQ(entries.detail(1), ".ZZQ");
  EXPECT_EQ(entries.flag(1), 1);

  EXPECT_EQ(removeMonitoredExtension("zzt"), 1);
  EXPECT_EQ(list(), "ZZQ;");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Ext", ".zzt"), "<none>");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Class", "zzshared"), kGood);
  removeMonitoredExtension("ZZQ");
  EXPECT_EQ(text(HKEY_CURRENT_USER, kStore + "Class", "zzshared"), "<none>");
}

TEST_F(FileTypes, RestoreWritesBackWhatWasSnapshottedAndReportsAFailedWrite) {
  const std::string expandable = "\"%ProgramFiles%\\Probe\\good.exe\" \"%1\"";
  setClass(".zzt", "zztfile", expandable, REG_EXPAND_SZ);
  testutil::setString(HKEY_CURRENT_USER, kFileExts, "Application", "zzapp.exe");
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("Applications\\zzapp.exe"), "", kGood);
  setList("ZZT;");
  ASSERT_EQ(createClassInfo(), 2);

  // A hijacker points the extension elsewhere and rewrites both commands.
  setClass(".zzt", "evilfile", kEvil);
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", kEvil);
  testutil::setString(HKEY_CURRENT_USER, kFileExts, "Application", "evil.exe");
  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("Applications\\zzapp.exe"), "", kEvil);
  EXPECT_EQ(restoreAssociation(".ZZT", 1), 1);
  EXPECT_EQ(restoreAssociation("zzt", 2), 1);
  DWORD type = 0;
  EXPECT_EQ(text(HKEY_LOCAL_MACHINE, kClasses + ".zzt", ""), "zztfile");
  EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", &type), expandable + '\0');
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(text(HKEY_CURRENT_USER, kFileExts, "Application"), "zzapp.exe");
  EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, commandKey("Applications\\zzapp.exe"), ""), kGood + '\0');

  testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", kEvil);
  ReadOnlyKey locked(HKEY_LOCAL_MACHINE, commandKey("zztfile"));
  ASSERT_TRUE(locked.ok());
  EXPECT_EQ(restoreAssociation(".ZZT", 1), 0);
  EXPECT_EQ(restoreAssociation(".zzq", 1), 0) << "nothing was snapshotted";
}

namespace {

class FileTypeCheck : public FileTypes {
 protected:
  void SetUp() override {
    FileTypes::SetUp();
    for (const char* name : {"Start", "IEHelpers", "Hidden", "HostFile", "StartPage", "Sound"}) setOption(name, 0);
    setOption("HideBramble", 1);
    setOption("FileType", 1);
    state_.caption = "Tavrin";
    state_.instance = GetModuleHandleA(nullptr);
    state_.fonts.create();
    good_ = "\"" + testutil::testDir() + "\\ver_plain.dll\" \"%1\"";
    setClass(".zzt", "zztfile", good_);
    setList("ZZT;");
    createClassInfo();
  }
  static void setOption(const char* name, int value) {
    testutil::setString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
  }
  static void setCommand(const std::string& command) {
    testutil::setString(HKEY_LOCAL_MACHINE, commandKey("zztfile"), "", command);
  }
  static std::string command() { return stored(HKEY_LOCAL_MACHINE, commandKey("zztfile"), ""); }

  // Runs the check; every alert it shows is handed to `user`, which must end it.
  template <typename User>
  int alertsDuring(User user) {
    std::atomic<bool> done{false};
    int alerts = 0;
    std::thread player([&] {
      while (!done) {
        HWND dialog = driver::waitForProcessWindow(GetCurrentProcessId(), "#32770", 200);
        if (!dialog) continue;
        ++alerts;
        user(dialog);
        driver::waitUntil([&] { return !IsWindow(dialog); }, 5000);
      }
    });
    checkFileTypes(state_);
    done = true;
    player.join();
    return alerts;
  }

  MonitorState state_;
  std::string good_;
};

}  // namespace

TEST_F(FileTypeCheck, LockedChangeIsPutBackInTheNextGroupAPassWithoutAsking) {
  setOption("LockFileTypes", 1);
  loadMonitorOptions(state_);
  setCommand(kEvil);
  std::atomic<int> dialogs{0};
  std::thread watcher([&] {
    if (driver::waitForProcessWindow(GetCurrentProcessId(), "#32770", 3000)) ++dialogs;
  });
  EXPECT_EQ(runPatrolPass(state_), 1);
  watcher.join();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(command(), good_ + '\0');
}

TEST_F(FileTypeCheck, AlertShowsTheExtensionNoRestoresYesKeepsAndAFolderMoveIsNoChange) {
  loadMonitorOptions(state_);
  const std::string moved = "\"" + testutil::testDir() + "\\ver_none.dll\" \"%1\"";
  setCommand(moved);
  EXPECT_EQ(alertsDuring([](HWND alert) {
              EXPECT_EQ(driver::windowText(alert), "Tavrin File Type Change Alert");
              EXPECT_EQ(driver::dialogItemText(alert, 1121), ".ZZT");
              EXPECT_NE(driver::dialogItemText(alert, 1117).find("ver_none.dll"), std::string::npos);
              Sleep(300);
              driver::screenshot("alert-file-type-change");
              driver::pressButton(alert, IDNO);
            }),
            1);
  EXPECT_EQ(command(), good_ + '\0');
  // Both programs were dated on the way.
  const std::string detected = "Software\\Quennet\\Detected\\FileTypes";
  std::string file = testutil::testDir() + "\\VER_NONE.DLL";
  CharUpperA(&file[0]);
  EXPECT_NE(text(HKEY_CURRENT_USER, detected, file), "<none>");

  setCommand(moved);
  EXPECT_EQ(alertsDuring([](HWND alert) { driver::pressButton(alert, IDYES); }), 1);
  EXPECT_EQ(command(), moved + '\0');
  EXPECT_EQ(alertsDuring([](HWND alert) { driver::pressButton(alert, IDYES); }), 0) << "the new baseline";

  // The same program in another folder raises nothing.
  setCommand("\"C:\\Elsewhere\\ver_none.dll\" \"%1\"");
  EXPECT_EQ(alertsDuring([](HWND alert) { driver::pressButton(alert, IDYES); }), 0);
}
