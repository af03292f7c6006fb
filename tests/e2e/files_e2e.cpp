// Hidden files and the HOSTS file watched by the real Monitor: the alerts, the
// vault and the kept copy.
#include "support/programs_test.h"
#include "support/remote_list.h"

#include "base/file_watch_rules.h"
#include "sys/paths.h"

namespace {

constexpr const char* kAlertCaption = "Tavrin New Program Alert";
constexpr const char* kSysfiles = "Software\\Quennet\\Tavrin\\Sysfiles";
constexpr const char* kApprovedHidden = "Software\\Quennet\\Tavrin\\Hidden";

using testutil::valueOf;

std::string dataFolder() {
  return valueOf(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                 "AppData") + "\\Tavrin";
}

bool sameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class Files : public ProgramsTest {
 protected:
  void SetUp() override {
    ProgramsTest::SetUp();
    options_.clearValues();
    setOption("Debug", "1");
    // Every group-A pass looks at hidden and system files, and at nothing else.
    for (const char* name : {"Start", "IEHelpers", "StartPage", "FileType"}) setOption(name, "0");
    setOption("Hidden", "1");
    setOption("HostFile", "1");
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    ProgramsTest::TearDown();
    driver::killAll("notepad.exe");
    testutil::writeFile(hosts_, original_);
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfiles);
    for (const std::string& path : {folder_ + "\\kept.dll", folder_ + "\\bad.dll"}) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
      testutil::deleteValue(HKEY_CURRENT_USER, kApprovedHidden, path);
    }
    RemoveDirectoryA(folder_.c_str());
  }
  std::string hiddenFile(const char* name, const std::string& content) {
    const std::string path = folder_ + "\\" + name;
    testutil::writeFile(path, content);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return path;
  }
  // The next alert with this caption; a new-file alert only when it names one
  // of `paths`. Other new-file alerts are approved on the way; one that names
  // `never` fails the test.
  HWND nextAlert(const char* caption, const std::vector<std::string>& paths, const std::string& never = "") {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 100000) {
      HWND alert = driver::waitForProcessWindow(monitor_.pid(), "#32770", 1000);
      if (!alert) continue;
      const std::string title = driver::windowText(alert), shown = driver::dialogItemText(alert, 1026);
      if (title == caption && title != kAlertCaption) return alert;
      if (title != kAlertCaption) continue;
      for (const std::string& path : paths)
        if (sameText(shown, path)) return alert;
      EXPECT_FALSE(!never.empty() && sameText(shown, never)) << "asked again about " << never;
      driver::pressAndClose(alert, IDOK);
    }
    return nullptr;
  }

  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptions}};
  const std::string hosts_ = tavrin::systemFolder() + "\\drivers\\etc\\HOSTS", original_ = testutil::readFile(hosts_);
  const std::string folder_ = tavrin::systemFolder() + "\\hiddenprobe";
};

}  // namespace

TEST_F(Files, HiddenFilesAreAskedAboutOnceAndHostsChangesAreRejected) {
  testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfiles);
  ASSERT_NE(startMonitor(), nullptr);
  // The first start registered HOSTS and kept a copy of it.
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, std::string(kSysfiles) + "\\HOSTS", "Size"), std::to_string(original_.size()));
  EXPECT_EQ(valueOf(HKEY_LOCAL_MACHINE, std::string(kSysfiles) + "\\HOSTS", "Type"), "0");
  EXPECT_EQ(testutil::readFile(dataFolder() + "\\HOSTS"), original_);

  testutil::writeFile(hosts_, original_);  // touched only: the same bytes, a later date
  const std::string kept = hiddenFile("kept.dll", "kept"), bad = hiddenFile("bad.dll", "MZ bad bytes");
  HWND alert = nextAlert(kAlertCaption, {kept, bad});
  ASSERT_NE(alert, nullptr);
  driver::screenshot("alert-new-hidden-file");
  // Walk order decides which comes first: OK keeps one, Delete quarantines the other.
  const bool keptFirst = sameText(driver::dialogItemText(alert, 1026), kept);
  driver::pressButton(alert, keptFirst ? IDOK : IDCANCEL);
  alert = nextAlert(kAlertCaption, {keptFirst ? bad : kept});
  ASSERT_NE(alert, nullptr);
  driver::pressButton(alert, keptFirst ? IDCANCEL : IDOK);
  ASSERT_TRUE(driver::waitUntil([&] { return GetFileAttributesA(bad.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000));
  EXPECT_EQ(testutil::readFile(dataFolder() + "\\vault\\" + tavrin::vaultSlotName(bad)), "MZ bad bytes");
  EXPECT_NE(testutil::readFile(testutil::programDir() + "\\history.txt").find("*HIDDEN_DeleteFile\tTYPE_HIDDEN"),
            std::string::npos);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, kApprovedHidden, bad), "<missing>");
  EXPECT_TRUE(driver::waitUntil([&] { return valueOf(HKEY_CURRENT_USER, kApprovedHidden, kept) != "<missing>"; }, 5000));
  EXPECT_EQ(driver::waitForProcessWindow(monitor_.pid(), "#32770", 1000), nullptr) << "the touch raised nothing";

  // An added line is a change; Reject writes the kept copy back.
  testutil::writeFile(hosts_, original_ + "10.0.0.1 example.test\r\n");
  alert = nextAlert("Tavrin: File Change Alert", {}, kept);
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(driver::dialogItemText(alert, 1042), "HOSTS");
  Sleep(300);
  driver::screenshot("alert-hosts-changed");
  // View Previous File: Notepad gets the kept copy's path in quotes.
  driver::pressButton(alert, 1047);
  std::string notepad = notepadCommandLine();
  EXPECT_NE(notepad.find("\"" + dataFolder() + "\\HOSTS\""), std::string::npos) << notepad;
  driver::pressButton(alert, 1052);
  EXPECT_TRUE(driver::waitUntil([&] { return testutil::readFile(hosts_) == original_; }, 5000));

  // Restore in the Explorer's History dialog brings the deleted file back, hidden and approved.
  driver::Process explorer = driver::start(explorerPath(), "-OPTIONS");
  HWND sheet = driver::waitForProcessWindow(explorer.pid(), "#32770", 15000), page = nullptr;
  ASSERT_TRUE(driver::waitUntil([&] { return sheet && (page = currentPage(sheet)); }, 5000));
  PostMessageA(page, WM_COMMAND, 1104, 0);
  HWND history = driver::waitForShownWindow("#32770", "Tavrin History", 5000);
  ASSERT_NE(history, nullptr);
  HWND view = GetDlgItem(history, 1000);
  RemoteBuffer rows(view);
  int row = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  while (--row >= 0 && rows.cellText(view, row, 1) != "*HIDDEN_DeleteFile") {
  }
  ASSERT_GE(row, 0);
  rows.select(view, row);
  ASSERT_TRUE(driver::waitUntil([&] { return IsWindowEnabled(GetDlgItem(history, 1104)) != FALSE; }, 3000));
  driver::pressButton(history, 1104);
  EXPECT_TRUE(driver::waitUntil([&] { return testutil::readFile(bad) == "MZ bad bytes"; }, 5000));
  EXPECT_EQ(GetFileAttributesA(bad.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(driver::waitUntil([&] { return valueOf(HKEY_CURRENT_USER, kApprovedHidden, bad) != "<missing>"; }, 3000));
  driver::pressButton(history, IDOK);

  // View HOSTS on the same page opens the live file, its path quoted.
  ASSERT_TRUE(driver::waitUntil([&] { return !IsWindow(history); }, 3000));
  PostMessageA(page, WM_COMMAND, 1105, 0);
  notepad = notepadCommandLine();
  EXPECT_NE(notepad.find("\"" + hosts_ + "\""), std::string::npos) << notepad;
}
