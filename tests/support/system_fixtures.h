#pragma once
// Real tasks and services for the tests, made through the platform's own
// interfaces and removed again.
#include <windows.h>

#include <string>

namespace fixtures {

// A Task Scheduler work item running `application`, with one run-once trigger
// at `once` (none when null). COM must be initialised. True when saved.
bool createTask(const std::string& name, const std::string& application, const std::string& comment,
                const SYSTEMTIME* once);
bool createTask(const std::wstring& name, const std::string& application, const std::string& comment,
                const SYSTEMTIME* once);
// The task's file in the Windows Tasks folder.
std::string taskFile(const std::string& name);
// Starts the "Schedule" service and waits until it runs.
bool startScheduler();

// A service key the registry holds but the service manager was never told of,
// with ImagePath (expandable), DisplayName "Display of <key>", Description
// "About <key>", Start and, when given, Parameters\ServiceDll (expandable).
void registryService(const std::string& key, const std::string& imagePath, DWORD start, const std::string& dll);

// A service installed with the service manager for the length of a test;
// stopped and deleted again when it goes.
class TestService {
 public:
  TestService(std::string keyName, const std::string& displayName, const std::string& imagePath,
              DWORD startType = SERVICE_DEMAND_START);
  ~TestService();
  TestService(const TestService&) = delete;
  TestService& operator=(const TestService&) = delete;

  bool installed() const { return installed_; }
  bool start(const char* argument = nullptr) const;
  // The current state once it equals `state` or `ms` have passed.
  DWORD waitForState(DWORD state, DWORD ms) const;
  DWORD startType() const;
  const std::string& keyName() const { return key_; }

 private:
  std::string key_;
  bool installed_ = false;
};

// A Firefox profile in the user's application-data folder, and the default
// browser pointed at a Firefox, for the length of a test; the Mozilla folder
// goes and the HTTP command comes back when it goes.
class MozillaProfile {
 public:
  MozillaProfile();
  ~MozillaProfile();
  MozillaProfile(const MozillaProfile&) = delete;
  MozillaProfile& operator=(const MozillaProfile&) = delete;

  const std::string& folder() const { return folder_; }
  std::string cookiesFile() const { return folder_ + "\\cookies.txt"; }

 private:
  std::string mozilla_, folder_, httpCommand_;
};
// One cookies.txt line expiring in 2100; the include-subdomains flag follows
// the domain's leading dot, as browsers write it.
std::string cookieLine(const std::string& domain, const std::string& name, const char* secure = "FALSE",
                       const std::string& value = "v");
// A window of the class a running Mozilla browser shows; the caller destroys it.
HWND openMozillaWindow();

}  // namespace fixtures
