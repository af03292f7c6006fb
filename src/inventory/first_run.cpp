#include "first_run.h"

#include "base/text.h"
#include "date_text.h"
#include "delayed_start.h"
#include "detection_store.h"
#include "file_types.h"
#include "monitor_registration.h"
#include "program_file.h"
#include "startup_actions.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "sys/version.h"
#include "system_files.h"
#include "tavrin_version.h"
#include "version_text.h"

namespace tavrin {
namespace {

constexpr char kProductVersion[] = TAVRIN_VERSION;

// The Monitor registered under its own name only, and the approved startup
// list made afresh: registered first, its own entry is approved with the rest
// from the same listing, which the baselines after it reuse.
void createInitialValues(EntryList& list) {
  trace::line("Create Initial Values", "");
  const std::string oldName = loadString(IDS_ALT_RUN_NAME, 260);
  if (!oldName.empty()) removeStartupEntry({oldName, "tavrin.exe", "", 1}, nullptr);
  registerMonitor(true);
  forgetSharedListings();
  initialiseApprovedStartups(list);
}

void upgradeStoredVersion(Options& options, EntryList& list) {
  std::string version;
  if (reg::readString(HKEY_CURRENT_USER, kSystemKey, "Version", version) > 0) {
    if (!contains(version, kProductVersion)) {
      rebuildApprovedStartups(list);
      reg::writeString(HKEY_CURRENT_USER, kSystemKey, "Version", kProductVersion);
      createInitialValues(list);
    }
    if (readOption("Cleanup") != 0) {
      rebuildApprovedStartups(list);
      writeOption("Cleanup", 0);
      options.cleanup = 0;
    }
  } else {
    rebuildApprovedStartups(list);
    reg::writeString(HKEY_CURRENT_USER, kSystemKey, "Version", kProductVersion);
  }
}

// True when the store was made now.
bool createStoreOnFirstRun(EntryList& list) {
  std::string firstRun;
  if (reg::readString(HKEY_CURRENT_USER, kSystemKey, "", firstRun) > 0) return false;
  trace::line("Get Initial Values", "FIRSTTIME");
  reg::createKey(HKEY_CURRENT_USER, "Software\\Quennet");
  reg::createKey(HKEY_CURRENT_USER, kSystemKey);
  const std::string now = currentDateTimeText();
  for (const char* sub : {"Nuts", "Cookies", "Options", "Run", "IEHelpers", "HostFile", "Tasks"})
    reg::createKey(HKEY_CURRENT_USER, std::string(kSystemKey) + "\\" + sub);
  createInitialValues(list);
  // The approvals just made are this version's: no upgrade makes them again.
  reg::writeString(HKEY_CURRENT_USER, kSystemKey, "Version", kProductVersion);
  // Written last: its presence is what marks the first run as done.
  reg::writeString(HKEY_CURRENT_USER, kSystemKey, "", now);
  return true;
}

}  // namespace

StartupState firstRunInitialisation(Program program, Options& options, EntryList& list) {
  takeLanguageAndTraceSwitch();
  return initialiseStore(program, options, list);
}

void takeLanguageAndTraceSwitch() {
  trace::switchOff();
  setLanguageFromStrings();
  if (readOption("Debug") != 0) trace::switchOn();
}

StartupState initialiseStore(Program program, Options& options, EntryList& list) {
  {
    // The baselines below list the same machine several times over, and ask
    // about the same folders' files.
    SharedListings listings;
    FolderListings folders;
    const bool storeMade = createStoreOnFirstRun(list);
    // Each program names itself: the Explorer's own begin line would come before tracing is on.
    trace::line(program == Program::Monitor ? "-------------------------------------Begin Tavrin"
                                            : "-------------------------------------Begin TavrinEx",
                versionText());
    initialiseDetectionDates(list);
    initialiseApprovedServices(list);
    initialiseApprovedTasks(list);
    initialiseApprovedHidden(list, storeMade);
    upgradeStoredVersion(options, list);
  }
  std::string watched;
  if (reg::readString(HKEY_LOCAL_MACHINE, std::string(kSystemKey) + "\\Sysfiles", "", watched) == 0)
    setUpWatchedSystemFiles();
  createClassInfo();
  options.load(program, isWindowsNtFamily());
  list.setCookieLimit(options.maxCookie);
  list.clear();
  StartupState state;
  state.runRegistered = isMonitorRegistered();
  state.delayedTotal = countDelayedPrograms();
  return state;
}

}  // namespace tavrin
