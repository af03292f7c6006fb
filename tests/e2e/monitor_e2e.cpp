// The Monitor driven from outside, in the test run's Wine prefix.
#include "support/programs_test.h"

namespace {

constexpr UINT kTrayCallback = 6035;
constexpr UINT kCheckNow = 9024;

class Monitor : public ProgramsTest {
 protected:
  // Starts the Monitor and waits until its tray icon is up and its patrol started.
  HWND startWithTrayIcon() {
    monitor_ = driver::start(monitorPath());
    EXPECT_TRUE(monitor_);
    HWND window = driver::waitForWindow("Tavrin", nullptr, 10000);
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(driver::waitUntil([&] { return trayIconPresent(window); }, 10000));
    EXPECT_TRUE(traceHas("Application Start: SetTimer", 30000));  // a first run on a busy machine takes seconds
    return window;
  }
  // The command line of the Explorer the Monitor opened.
  static std::string explorerCommandLine() {
    HWND explorer = driver::waitForWindow("TavrinEx", nullptr, 10000);
    DWORD pid = 0;
    if (explorer) GetWindowThreadProcessId(explorer, &pid);
    return explorer ? driver::commandLineOf(pid) : "<no Explorer>";
  }
};

// The key (tick count) of the first trace entry whose value ends with the text.
long traceTick(const std::string& trace, const std::string& text) {
  for (const std::string& line : testutil::lines(trace)) {
    std::size_t eq = line.find('=');
    if (eq != std::string::npos && line.size() >= text.size() &&
        line.compare(line.size() - text.size(), std::string::npos, text) == 0)
      return std::stol(line.substr(0, line.find('.')));
  }
  return -1;
}

}  // namespace

TEST_F(Monitor, FirstStartInitialisesAndASecondStartOpensTheExplorerUnlessNoOpen) {
  const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, run, "Tavrin");
  setOption("Debug", "1");
  HWND window = startWithTrayIcon();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(driver::windowText(window), "Tavrin");
  EXPECT_TRUE(traceHas("Get Initial Values: FIRSTTIME", 3000));
  EXPECT_NE(traceText().find("-------------------------------------Begin Tavrin: 12.0.2007.5:12.0.2007.5"),
            std::string::npos);
  driver::screenshot("monitor-started");
  // What the first run writes, and that a second leaves it alone, is the settings test's.
  EXPECT_NE(testutil::valueOf(HKEY_LOCAL_MACHINE, run, "Tavrin"), "<missing>");

  driver::Process quiet = driver::start(monitorPath(), "-noopen");
  ASSERT_TRUE(quiet.waitExit(10000));
  EXPECT_FALSE(driver::appears("TavrinEx", 3000));
  driver::Process second = driver::start(monitorPath());
  DWORD code = 99;
  ASSERT_TRUE(second.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_NE(explorerCommandLine().find("-START"), std::string::npos);
  EXPECT_EQ(driver::processesNamed("Tavrin.exe").size(), 1u);
  EXPECT_EQ(FindWindowA("Tavrin", nullptr), window);
}

TEST_F(Monitor, QuitInAnyCaseStartsNoneEndsARunningOneAndAsksFirstWithConfirmExit) {
  driver::Process none = driver::start(monitorPath(), "-Q");
  DWORD code = 99;
  ASSERT_TRUE(none.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FindWindowA("Tavrin", nullptr), nullptr);
  // It never got as far as the start-up initialisation, which writes the trace.
  EXPECT_EQ(GetFileAttributesA(tracePath().c_str()), INVALID_FILE_ATTRIBUTES);

  HWND window = startWithTrayIcon();
  driver::Process quit = driver::start(monitorPath(), "-q");
  ASSERT_TRUE(quit.waitExit(10000));
  code = 99;
  ASSERT_TRUE(monitor_.waitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(trayIconPresent(window));
  EXPECT_TRUE(traceHas("WM_DESTROY: tvmain", 1000));
  EXPECT_TRUE(traceHas("Application Exit: Tavrin", 1000));

  // With ConfirmExit it asks first; No keeps it running and opens the Explorer's options.
  setOption("ConfirmExit", "1");
  window = startWithTrayIcon();
  driver::start(monitorPath(), "-Q");
  HWND box = driver::waitForProcessWindow(monitor_.pid(), "#32770", 10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(driver::messageBoxText(box),
            "\nA request has been made to exit the Tavrin monitor.\n\n\nDo you want Tavrin.exe to Exit?\n");
  driver::screenshot("monitor-confirm-exit");
  driver::pressButton(box, IDNO);
  EXPECT_NE(explorerCommandLine().find("-RESTART"), std::string::npos);
  EXPECT_FALSE(monitor_.waitExit(1000));
  EXPECT_EQ(FindWindowA("Tavrin", nullptr), window);
  EXPECT_TRUE(trayIconPresent(window));

  driver::start(monitorPath(), "-q");
  box = driver::waitForProcessWindow(monitor_.pid(), "#32770", 10000);
  ASSERT_NE(box, nullptr);
  driver::pressButton(box, IDYES);
  EXPECT_TRUE(monitor_.waitExit(10000));
}

TEST_F(Monitor, MissingExplorerIsReported) {
  // A Monitor in a folder of its own, without the Explorer beside it.
  const std::string folder = testutil::freshFolder("alone");
  ASSERT_TRUE(CopyFileA(monitorPath().c_str(), (folder + "\\Tavrin.exe").c_str(), FALSE));
  monitor_ = driver::start(folder + "\\Tavrin.exe");
  HWND window = driver::waitForWindow("Tavrin", nullptr, 10000);
  ASSERT_NE(window, nullptr);
  for (UINT command : {6026u, 6040u}) {
    PostMessageA(window, WM_COMMAND, command, 0);
    HWND box = driver::waitForProcessWindow(monitor_.pid(), "#32770", 10000);
    ASSERT_NE(box, nullptr) << command;
    EXPECT_EQ(driver::windowText(box), "Tavrin");
    EXPECT_EQ(driver::messageBoxText(box),
              "\nProgram not found, blocked by your firewall or access has been canceled by the user.\n\n"
              "TavrinEx.exe must exist in the same folder as Tavrin.exe and allowed to run.");
    if (command == 6026u) driver::screenshot("monitor-explorer-missing");
    ASSERT_TRUE(driver::pressAndClose(box, IDOK, 5000));
  }
  // Running without its watcher library is fine too.
  EXPECT_NE(testutil::readFile(folder + "\\send2qn.txt").find("OSTRUM: not loaded"), std::string::npos);
}

TEST_F(Monitor, TrayRightClickShowsTheMenuTheRegistrationTogglesAndADoubleClickOpensTheExplorer) {
  const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  testutil::deleteValue(HKEY_LOCAL_MACHINE, run, "Tavrin");
  HWND window = startWithTrayIcon();
  PostMessageA(window, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
  HWND menu = driver::waitForProcessWindow(monitor_.pid(), "#32768", 5000);
  ASSERT_NE(menu, nullptr);
  RECT r;
  GetWindowRect(menu, &r);
  EXPECT_GT(r.bottom - r.top, 200);  // twelve items and three separators
  driver::screenshot("monitor-tray-menu");
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(driver::waitUntil([&] { return !IsWindowVisible(menu); }, 5000));
  PostMessageA(window, WM_COMMAND, 6031, 0);
  EXPECT_TRUE(becomes(HKEY_LOCAL_MACHINE, run, "Tavrin", "\"" + testutil::programDir() + "\\tavrin.exe\""));
  PostMessageA(window, WM_COMMAND, 6031, 0);
  EXPECT_TRUE(becomes(HKEY_LOCAL_MACHINE, run, "Tavrin", "<missing>"));
  // The callback finished: another one is served, and a double click opens Startup Programs.
  PostMessageA(window, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
  EXPECT_NE(explorerCommandLine().find("-START"), std::string::npos);
  EXPECT_TRUE(traceHas("Tray Action: Double Click", 1000));
}

// The watcher posts the check-now request; the next tick serves it.
TEST_F(Monitor, WatcherAsksForACheckWhenARunKeyChanges) {
  HWND window = startWithTrayIcon();
  ASSERT_NE(window, nullptr);
  Sleep(2500);  // let start-up settle and the first request window pass
  const std::string before = traceText();
  testutil::setString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "TavrinE2E",
                      "c:\\e2e.exe");
  const bool served = driver::waitUntil(
      [&] {
        std::string now = traceText();
        return now.size() > before.size() &&
               now.find("CheckTaskChanges(): tvmain", before.size()) != std::string::npos;
      },
      8000);
  testutil::deleteValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "TavrinE2E");
  EXPECT_TRUE(served);
}

TEST_F(Monitor, TrayIconFollowsTheHiddenOptionTheCommandAndTheShellsRestart) {
  setOption("HideBramble", "1");
  HWND window = startMonitor();
  ASSERT_NE(window, nullptr);
  // Started hidden: no icon at all, and showing does nothing while the option says hidden.
  PostMessageA(window, WM_COMMAND, 6053, 0);
  Sleep(1000);
  EXPECT_FALSE(trayIconPresent(window));
  EXPECT_EQ(traceText().find("Tray Message: ADD"), std::string::npos);
  // The Explorer's way: write HideBramble, then post the command (both ways: the Options page's test).
  setOption("HideBramble", "0");
  PostMessageA(window, WM_COMMAND, 6053, 0);
  EXPECT_TRUE(driver::waitUntil([&] { return trayIconPresent(window); }, 5000));
  // The shell lost its icons (as when the taskbar restarts) and announces itself again.
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  PostMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(driver::waitUntil([&] { return trayIconPresent(window); }, 5000));
}

TEST_F(Monitor, DelayedProgramStartsOnceItsDelayHasPassed) {
  const char* delay = "Software\\Quennet\\Tavrin\\Delay";
  const std::string folder = testutil::freshFolder("delayed-e2e");
  const std::string program = folder + "\\late.exe", mark = folder + "\\started.txt";
  ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\..\\win\\startup_worker.exe").c_str(), program.c_str(), FALSE));
  testutil::setString(HKEY_CURRENT_USER, delay, program, "11");
  testutil::setString(HKEY_CURRENT_USER, std::string(delay) + "\\Time", program, "10");
  testutil::setString(HKEY_CURRENT_USER, std::string(delay) + "\\Parameters", program, "touch \"" + mark + "\"");
  const DWORD start = GetTickCount();
  startWithTrayIcon();
  const bool started = driver::waitUntil(
      [&] { return GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES; }, 40000);
  const DWORD after = GetTickCount() - start;
  testutil::deleteTree(HKEY_CURRENT_USER, delay);
  ASSERT_TRUE(started);
  // The launcher's first call comes six ticks (12 s) after the patrol starts.
  EXPECT_GE(after, 10000u);
  EXPECT_LE(after, 30000u);
  EXPECT_TRUE(traceHas("Delayed Start: 10", 1000));
  EXPECT_EQ(testutil::readFile(mark), "started\n");
}

TEST_F(Monitor, LockedFileTypeIsSnapshottedAtStartAndPutBackByTheFirstPassSeventeenTicksLater) {
  const std::string store = "Software\\Quennet\\Tavrin\\", command = "Software\\Classes\\zzefile\\shell\\open\\command";
  const std::string good = "\"C:\\Program Files\\Probe\\good.exe\" \"%1\"";
  testutil::RegistrySnapshot saved(HKEY_CURRENT_USER, {store + "Class", store + "Ext", store + "Options"});
  testutil::setString(HKEY_LOCAL_MACHINE, "Software\\Classes\\.zze", "", "zzefile");
  testutil::setString(HKEY_LOCAL_MACHINE, command, "", good);
  testutil::setString(HKEY_CURRENT_USER, store + "Class", "", "ZZE;");
  setOption("FileType", "1");
  setOption("LockFileTypes", "1");
  startWithTrayIcon();
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, store + "Class", "zzefile"), good);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, store + "Ext", ""), "Do not edit.");
  testutil::setString(HKEY_LOCAL_MACHINE, command, "", "\"C:\\Program Files\\Probe\\evil.exe\" \"%1\"");
  EXPECT_TRUE(traceHas("Total Verify Time", 45000));
  const std::string trace = traceText();
  EXPECT_NEAR(traceTick(trace, ", : verify") - traceTick(trace, "Application Start: SetTimer"), 34000, 1500)
      << "the first pass comes seventeen ticks after the start";
  std::string data;
  DWORD type = 0;
  testutil::rawValue(HKEY_LOCAL_MACHINE, command, "", data, type);
  EXPECT_EQ(data, good + '\0');
  EXPECT_EQ(driver::waitForProcessWindow(monitor_.pid(), "#32770", 0), nullptr) << "put back without asking";
  testutil::deleteTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\.zze");
  testutil::deleteTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\zzefile");
}

// A first run over thousands of startup entries: the tray's menu answers while
// it runs, a quit meanwhile ends the Monitor once it is complete, and a real
// patrol pass over what it approved raises no alert.
TEST_F(Monitor, FirstRunOnACrowdedMachineKeepsTheTrayAnsweringAndApprovesEverything) {
  const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string folder = testutil::freshFolder("crowd");
  constexpr int kEntries = 4000, kFiles = 200;
  for (int i = 0; i < kFiles; ++i)
    CloseHandle(CreateFileA((folder + "\\prog" + std::to_string(i) + ".exe").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, run, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  auto command = [&](int i) { return "\"" + folder + "\\prog" + std::to_string(i % kFiles) + ".exe\" /k" + std::to_string(i); };
  for (int i = 0; i < kEntries; ++i) {
    const std::string data = command(i);
    RegSetValueExA(key, ("Crowd " + std::to_string(i)).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
  }
  testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet");
  setOption("Debug", "1");
  setOption("Start", "1");
  setOption("RealtimeStartup", "1");
  auto dated = [] { return testutil::valueOf(HKEY_CURRENT_USER, "Software\\Quennet\\Detected", "") != "<missing>"; };

  monitor_ = driver::start(monitorPath());
  HWND window = driver::waitForWindow("Tavrin", nullptr, 10000);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(driver::waitUntil([&] { return trayIconPresent(window); }, 10000));
  PostMessageA(window, kTrayCallback, kTrayIconId, WM_RBUTTONUP);
  HWND menu = driver::waitForProcessWindow(monitor_.pid(), "#32768", 5000);
  EXPECT_NE(menu, nullptr);
  EXPECT_FALSE(dated()) << "the menu came only after the first run";
  driver::screenshot("monitor-first-run-menu");
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(driver::waitUntil([&] { return !IsWindowVisible(menu); }, 5000));
  driver::start(monitorPath(), "-Q");
  DWORD code = 99;
  EXPECT_TRUE(monitor_.waitExit(60000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(dated()) << "quit before the first run was complete";
  EXPECT_NE(testutil::valueOf(HKEY_CURRENT_USER, "Software\\Quennet\\Tavrin", ""), "<missing>");

  // Started again on the store it made: the patrol's startup check passes every entry.
  DeleteFileA(tracePath().c_str());
  monitor_ = driver::start(monitorPath());
  window = driver::waitForWindow("Tavrin", nullptr, 10000);
  ASSERT_TRUE(window && traceHas("Application Start: SetTimer", 10000));
  PostMessageA(window, kCheckNow, 0, 0);  // a changed count of running programs forces a pass
  const bool passed = driver::waitUntil(
      [&] {
        return traceText().find("Total Verify Time") != std::string::npos ||
               driver::waitForProcessWindow(monitor_.pid(), "#32770", 0) != nullptr;
      },
      60000);
  EXPECT_TRUE(passed && traceHas("VERIFY: Startup Programs", 0));
  EXPECT_EQ(driver::waitForProcessWindow(monitor_.pid(), "#32770", 0), nullptr) << "an alert after the first run";
  stopAll();
  for (int i = 0; i < kEntries; ++i) RegDeleteValueA(key, ("Crowd " + std::to_string(i)).c_str());
  RegCloseKey(key);
  testutil::deleteTree(HKEY_CURRENT_USER, "Software\\Quennet");
  testutil::deleteValue(HKEY_LOCAL_MACHINE, run, "Tavrin");
}
