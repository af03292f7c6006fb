// Options, strings, sounds, the Monitor's registration and the start-up
// initialisation against the real registry. Linked with the Monitor's resources.
#include <gtest/gtest.h>

#include "base/text.h"
#include "checks.h"
#include "inventory/first_run.h"
#include "inventory/help_pages.h"
#include "inventory/monitor_registration.h"
#include "inventory/options.h"
#include "inventory/sound_events.h"
#include "inventory/string_loader.h"
#include "support/win_test_util.h"
#include "sys/paths.h"
#include "sys/version.h"

using namespace tavrin;

namespace {

const char* const kOptions = "Software\\Quennet\\Tavrin\\Options";
const char* const kSystem = "Software\\Quennet\\Tavrin";
const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string value(HKEY root, const std::string& key, const std::string& name) { return testutil::valueOf(root, key, name); }

// Each test starts from a machine that never ran the programs.
class Settings : public ::testing::Test {
 protected:
  void SetUp() override { forget(); }
  void TearDown() override { forget(); }
  static void forget() {
    testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet");
    testutil::deleteTree(HKEY_LOCAL_MACHINE, "Software\\Quennet");
    testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "Tavrin");
    testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor");
    setLanguageFromStrings();
  }
};

}  // namespace

TEST_F(Settings, OptionsReadWriteMarkUpdateLoadPerProgramAndTheBulkWriteKeepsNewerValues) {
  EXPECT_EQ(readOption("Start", 2), 2);  // missing
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Start", "");
  EXPECT_EQ(readOption("Start", 2), 2);  // empty
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Start", "abc");
  EXPECT_EQ(readOption("Start", 2), 0);
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Start", "7 passes");
  EXPECT_EQ(readOption("Start", 2), 7);
  testutil::setBinary(HKEY_CURRENT_USER, kOptions, "Start", std::string("\x01\x02\x03\x04", 4));
  EXPECT_EQ(readOption("Start", 2), 0);  // binary junk: not a number
  EXPECT_EQ(writeOption("Tasks", 4), 1);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Tasks"), "4");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Update"), "1");
  // Each program loads its own defaults; the bulk write keeps newer values.
  testutil::deleteValue(HKEY_CURRENT_USER, kOptions, "Tasks");
  Options options, monitor;
  options.load(Program::Explorer, true);
  monitor.load(Program::Monitor, isWindowsNtFamily());
  EXPECT_NE(monitor.maxCookie, options.maxCookie);
  EXPECT_EQ(monitor.trayIcon != options.trayIcon, !TAVRIN_EXPECT_NT) << "the 9x tray takes another icon";
  // Another page (or program) writes after this record was loaded.
  testutil::setString(HKEY_CURRENT_USER, kOptions, "ViewCookies", "1");
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Browser", "6");
  EXPECT_EQ(options.set("hostfile", 7), 1);  // any case names the one value
  EXPECT_EQ(options.patrol.hostFile, 7);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "HostFile"), "7");
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Update", "0");
  options.writeBulk({"ViewCookies", "HOSTFile", "Tasks"});
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "ViewCookies"), "1");
  EXPECT_EQ(options.viewCookies, 1);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "HostFile"), "7");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Tasks"), std::to_string(optionDefault("Tasks")));  // was missing
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Update"), "1");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Browser"), "6");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Sound"), "<missing>");
}

TEST_F(Settings, StringOverridesAndHelpPagesApplyOnlyOutsideEnglish) {
  testutil::setString(HKEY_LOCAL_MACHINE, kSystem, "LString610", "&Einstellungen...%nmehr%");
  setLanguageFromStrings();
  EXPECT_EQ(languageId(), 9);
  EXPECT_EQ(loadString(610), "&Options...");
  // An override of the language text switches the program to another language.
  testutil::setString(HKEY_LOCAL_MACHINE, kSystem, "LString634", "de");
  setLanguageFromStrings();
  EXPECT_EQ(languageId(), 7);
  EXPECT_EQ(loadString(610), "&Einstellungen...\nmehr%");
  EXPECT_EQ(loadString(610, 5), "&Ein");
  EXPECT_EQ(loadString(508), "E&xit Program");  // no override: the table
  // Help pages by page and language.
  EXPECT_EQ(helpPageName(6039), "de_scheduler.html");
  EXPECT_EQ(helpPageName(1234), "de_features.html") << "a page without one of its own";
  EXPECT_EQ(helpWebLocation().back(), '/');
  testutil::setString(HKEY_LOCAL_MACHINE, kSystem, "HelpLocation", "http://intranet/help/");
  EXPECT_EQ(helpWebLocation(), "http://intranet/help/");
  testutil::setString(HKEY_LOCAL_MACHINE, kSystem, "LString634", "xx");
  setLanguageFromStrings();
  EXPECT_EQ(languageId(), 0);
}

TEST_F(Settings, SoundEventsPickTheirFile) {
  const std::string scheme = "AppEvents\\Schemes\\Apps\\Tavrin\\";
  testutil::setString(HKEY_CURRENT_USER, scheme + "Open\\.current", "", "c:\\sounds\\open.wav");
  testutil::setString(HKEY_CURRENT_USER, scheme + "SystemFile Alert\\.current", "", "c:\\sounds\\sys.wav");
  EXPECT_EQ(soundFileOfEvent(6), "c:\\sounds\\sys.wav");
  EXPECT_EQ(soundFileOfEvent(7), "c:\\sounds\\open.wav");
  EXPECT_EQ(soundFileOfEvent(-1), "c:\\sounds\\open.wav");
  EXPECT_EQ(soundFileOfEvent(3), "");  // none chosen: the program's own sound
  testutil::deleteTree(HKEY_CURRENT_USER, "AppEvents\\Schemes\\Apps\\Tavrin");
  // Playing never blocks the caller for long, with or without a sound device.
  Options options;
  const DWORD start = GetTickCount();
  playSoundEvent(1, options);
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST_F(Settings, MonitorRegistrationIsQuotedAndApproved) {
  EXPECT_FALSE(isMonitorRegistered());
  ASSERT_TRUE(registerMonitor(true));
  const std::string path = programFolder() + "\\tavrin.exe";
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRun, "Tavrin"), "\"" + path + "\"");
  EXPECT_EQ(value(HKEY_CURRENT_USER, std::string(kSystem) + "\\Run", path), "1");
  EXPECT_TRUE(isMonitorRegistered());
  ASSERT_TRUE(registerMonitor(false));
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRun, "Tavrin"), "<missing>");
  EXPECT_FALSE(isMonitorRegistered());
  EXPECT_FALSE(registerMonitor(false));  // nothing left to remove
  // The alternative name counts as registered too, and the toggle takes it away.
  testutil::setString(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor", "c:\\old\\tavrin.exe");
  EXPECT_TRUE(isMonitorRegistered());
  MonitorState state;
  toggleMonitorRegistration(state);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor"), "<missing>");
  EXPECT_FALSE(state.runRegistered);
  toggleMonitorRegistration(state);
  EXPECT_TRUE(state.runRegistered);
  EXPECT_NE(value(HKEY_LOCAL_MACHINE, kRun, "Tavrin"), "<missing>");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "Tavrin");
  // A default value of the Run key is no registration.
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor");
  testutil::setString(HKEY_LOCAL_MACHINE, kRun, "", "c:\\something.exe");
  EXPECT_FALSE(isMonitorRegistered());
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "");
}

TEST_F(Settings, FirstRunCreatesTheStoreASecondChangesNothingAndAnotherVersionIsUpgraded) {
  testutil::setString(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor", "c:\\old\\tavrin.exe");
  Options options;
  EntryList list("Tavrin", 315);
  StartupState state = firstRunInitialisation(Program::Monitor, options, list);
  const std::string firstRun = value(HKEY_CURRENT_USER, kSystem, "");
  EXPECT_NE(firstRun, "<missing>");
  EXPECT_GE(firstRun.size(), 10u);
  for (const char* sub : {"Nuts", "Cookies", "Options", "Run", "IEHelpers", "HostFile", "Tasks"}) {
    HKEY key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kSystem) + "\\" + sub).c_str(), 0, KEY_READ, &key), 0)
        << sub;
    RegCloseKey(key);
  }
  EXPECT_EQ(value(HKEY_CURRENT_USER, kSystem, "Version"), "12.0.2007.5");
  const std::string registered = value(HKEY_LOCAL_MACHINE, kRun, "Tavrin");
  EXPECT_EQ(registered, "\"" + programFolder() + "\\tavrin.exe\"");
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRun, "TavrinMonitor"), "<missing>");  // the old name went
  EXPECT_TRUE(state.runRegistered);
  EXPECT_EQ(options.maxCookie, 315);

  // A second start leaves all of it as it was, even a Monitor the user unregistered.
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "Tavrin");
  Sleep(1100);
  state = firstRunInitialisation(Program::Explorer, options, list);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kSystem, ""), firstRun);
  EXPECT_EQ(value(HKEY_LOCAL_MACHINE, kRun, "Tavrin"), "<missing>");
  EXPECT_FALSE(state.runRegistered);
  EXPECT_EQ(options.maxCookie, 4096);

  // Another stored version is upgraded, and Cleanup is reset.
  testutil::setString(HKEY_CURRENT_USER, kSystem, "Version", "11.0.2006.1");
  testutil::setString(HKEY_CURRENT_USER, kOptions, "Cleanup", "1");
  // The approved list is made afresh: a stale approval goes, a program added meanwhile is approved.
  const std::string approved = std::string(kSystem) + "\\Run";
  testutil::setString(HKEY_CURRENT_USER, approved, "c:\\gone\\stale.exe", "1");
  testutil::setString(HKEY_LOCAL_MACHINE, kRun, "TavrinUpgradeProbe", "c:\\probe\\new.exe");
  firstRunInitialisation(Program::Monitor, options, list);
  testutil::deleteValue(HKEY_LOCAL_MACHINE, kRun, "TavrinUpgradeProbe");
  EXPECT_EQ(value(HKEY_CURRENT_USER, approved, "c:\\gone\\stale.exe"), "<missing>");
  EXPECT_EQ(value(HKEY_CURRENT_USER, approved, "c:\\probe\\new.exe"), "1");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kSystem, "Version"), "12.0.2007.5");
  EXPECT_NE(value(HKEY_LOCAL_MACHINE, kRun, "Tavrin"), "<missing>");  // initial values made again
  EXPECT_EQ(value(HKEY_CURRENT_USER, kOptions, "Cleanup"), "0");
  EXPECT_EQ(options.cleanup, 0);
  // A version text that merely contains ours is left alone.
  testutil::setString(HKEY_CURRENT_USER, kSystem, "Version", "v12.0.2007.5b");
  firstRunInitialisation(Program::Monitor, options, list);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kSystem, "Version"), "v12.0.2007.5b");
}
