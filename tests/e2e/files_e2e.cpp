// Hidden files and the HOSTS file watched by the real Monitor: the alerts, the
// vault and the kept copy.
#include "e2e_fixture.h"

#include "base/file_watch_rules.h"

namespace {

constexpr const char* kAlertCaption = "Tavrin New Program Alert";
constexpr const char* kSysfiles = "Software\\Quennet\\Tavrin\\Sysfiles";
constexpr const char* kApprovedHidden = "Software\\Quennet\\Tavrin\\Hidden";

std::string dataFolder() {
  std::string appData;
  DWORD type = 0;
  testutil::rawValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "AppData", appData, type);
  return std::string(appData.c_str()) + "\\Tavrin";
}

std::string systemFolder() {
  char folder[MAX_PATH] = {};
  GetSystemDirectoryA(folder, MAX_PATH);
  return folder;
}

bool hasValue(HKEY root, const std::string& key, const std::string& name) {
  std::string data;
  DWORD type = 0;
  return testutil::rawValue(root, key, name, data, type);
}

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
    hosts_ = systemFolder() + "\\drivers\\etc\\HOSTS";
    original_ = testutil::readFile(hosts_);
    folder_ = systemFolder() + "\\hiddenprobe";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    ProgramsTest::TearDown();
    testutil::writeFile(hosts_, original_);
    testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfiles);
    for (const char* name : {"\\kept.dll", "\\bad.dll", ""}) {
      SetFileAttributesA((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((folder_ + name).c_str());
      testutil::deleteValue(HKEY_CURRENT_USER, kApprovedHidden, folder_ + name);
    }
    RemoveDirectoryA(folder_.c_str());
  }
  std::string hiddenFile(const char* name, const std::string& content) {
    const std::string path = folder_ + "\\" + name;
    testutil::writeFile(path, content);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return path;
  }
  // The next alert of the Monitor with this caption; a new-file alert only
  // when it names one of `paths`. Other new-file alerts are approved on the
  // way; one that names `never` fails the test.
  HWND nextAlert(const char* caption, const std::vector<std::string>& paths, const std::string& never = "") {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 100000) {
      HWND alert = driver::waitForProcessWindow(monitor_.pid(), "#32770", 1000);
      if (!alert) continue;
      const std::string title = driver::windowText(alert), shown = driver::dialogItemText(alert, 1026);
      if (title != kAlertCaption) {
        if (title == caption) return alert;
        continue;
      }
      for (const std::string& path : paths)
        if (equalsNoCase(shown, path)) return alert;
      EXPECT_FALSE(!never.empty() && equalsNoCase(shown, never)) << "asked again about " << never;
      driver::pressButton(alert, IDOK);
      driver::waitUntil([&] { return !IsWindow(alert); }, 3000);
    }
    return nullptr;
  }
  static bool equalsNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }
  int passesOfHiddenCheck() {
    const std::string trace = traceText();
    int count = 0;
    for (std::size_t at = trace.find("VERIFY: Hidden Files"); at != std::string::npos;
         at = trace.find("VERIFY: Hidden Files", at + 1))
      ++count;
    return count;
  }

  testutil::RegistrySnapshot options_{HKEY_CURRENT_USER, {kOptions}};
  std::string hosts_, original_, folder_;
  driver::Process monitor_;
};

}  // namespace

TEST_F(Files, HiddenFilesAreAskedAboutOnceAndHostsChangesAreRejected) {
  testutil::deleteTree(HKEY_LOCAL_MACHINE, kSysfiles);
  monitor_ = driver::start(monitorPath());
  ASSERT_TRUE(traceHas("Application Start: SetTimer", 10000));
  // The first start registered HOSTS and kept a copy of it.
  std::string size;
  DWORD type = 0;
  ASSERT_TRUE(testutil::rawValue(HKEY_LOCAL_MACHINE, std::string(kSysfiles) + "\\HOSTS", "Size", size, type));
  EXPECT_EQ(std::string(size.c_str()), std::to_string(original_.size()));
  EXPECT_TRUE(hasValue(HKEY_LOCAL_MACHINE, std::string(kSysfiles) + "\\HOSTS", "Type"));
  EXPECT_EQ(testutil::readFile(dataFolder() + "\\HOSTS"), original_);

  // Touched only: the same bytes with a later date raise nothing.
  testutil::writeFile(hosts_, original_);
  const std::string kept = hiddenFile("kept.dll", "kept"), bad = hiddenFile("bad.dll", "MZ bad bytes");
  HWND alert = nextAlert(kAlertCaption, {kept, bad});
  ASSERT_NE(alert, nullptr);
  driver::screenshot("alert-new-hidden-file");
  // Walk order decides which comes first: OK keeps one, Delete quarantines the other.
  const bool keptFirst = equalsNoCase(driver::dialogItemText(alert, 1026), kept);
  driver::pressButton(alert, keptFirst ? IDOK : IDCANCEL);
  alert = nextAlert(kAlertCaption, {keptFirst ? bad : kept});
  ASSERT_NE(alert, nullptr);
  driver::pressButton(alert, keptFirst ? IDCANCEL : IDOK);
  ASSERT_TRUE(driver::waitUntil([&] { return GetFileAttributesA(bad.c_str()) == INVALID_FILE_ATTRIBUTES; }, 5000));
  EXPECT_EQ(testutil::readFile(dataFolder() + "\\vault\\" + tavrin::vaultSlotName(bad)), "MZ bad bytes");
  EXPECT_NE(testutil::readFile(testutil::programDir() + "\\history.txt").find("*HIDDEN_DeleteFile\tTYPE_HIDDEN"),
            std::string::npos);
  EXPECT_FALSE(hasValue(HKEY_CURRENT_USER, kApprovedHidden, bad));
  EXPECT_TRUE(driver::waitUntil([&] { return hasValue(HKEY_CURRENT_USER, kApprovedHidden, kept); }, 5000));
  const int passes = passesOfHiddenCheck();
  EXPECT_EQ(driver::waitForProcessWindow(monitor_.pid(), "#32770", 1000), nullptr) << "the touch raised nothing";

  // An added line is a change; Reject writes the kept copy back.
  testutil::writeFile(hosts_, original_ + "10.0.0.1 example.test\r\n");
  alert = nextAlert("Tavrin: File Change Alert", {}, kept);
  ASSERT_NE(alert, nullptr);
  EXPECT_GT(passesOfHiddenCheck(), passes);
  EXPECT_EQ(driver::dialogItemText(alert, 1042), "HOSTS");
  Sleep(300);
  driver::screenshot("alert-hosts-changed");
  driver::pressButton(alert, 1052);
  EXPECT_TRUE(driver::waitUntil([&] { return testutil::readFile(hosts_) == original_; }, 5000));
}
