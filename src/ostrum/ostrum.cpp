// ostrum.dll: watches the autostart keys of the registry and asks the Monitor
// for a check (message 9024) when one changes. It waits on change
// notifications, so it costs nothing while nothing changes.
#include <windows.h>

namespace {

constexpr UINT kCheckNowMessage = 9024;
constexpr DWORD kMinimumGapMs = 2000;  // at most one request per two seconds

const char* const kWatchedKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer\\Run",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
    "Software\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad",
};

struct Watch {
  HKEY key = nullptr;
  HANDLE event = nullptr;
};

struct Watcher {
  HWND target = nullptr;
  HANDLE stop = nullptr;
  HANDLE armed = nullptr;  // set once every key is watched
  HANDLE thread = nullptr;
};

Watcher g_watcher;  // one per loaded library: the Monitor has one window

bool arm(Watch& watch) {
  return RegNotifyChangeKeyValue(watch.key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                 watch.event, TRUE) == ERROR_SUCCESS;
}

// Fixed arrays: the library stays free of the C++ runtime.
struct Watches {
  Watch items[MAXIMUM_WAIT_OBJECTS - 1];
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];  // [0] is the stop event
  DWORD count = 0;
};

void openWatches(Watches& watches) {
  watches.handles[0] = g_watcher.stop;
  const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
  for (HKEY root : roots) {
    for (const char* path : kWatchedKeys) {
      if (watches.count == MAXIMUM_WAIT_OBJECTS - 1) return;
      Watch watch;
      if (RegOpenKeyExA(root, path, 0, KEY_NOTIFY, &watch.key) != ERROR_SUCCESS) continue;
      watch.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
      if (!watch.event || !arm(watch)) {
        if (watch.event) CloseHandle(watch.event);
        RegCloseKey(watch.key);
        continue;
      }
      watches.items[watches.count] = watch;
      watches.handles[++watches.count] = watch.event;
    }
  }
}

DWORD WINAPI watch(void*) {
  Watches watches;
  openWatches(watches);
  SetEvent(g_watcher.armed);
  const DWORD handleCount = watches.count + 1;
  DWORD lastPost = GetTickCount() - kMinimumGapMs;
  bool pending = false;
  for (;;) {
    DWORD timeout = INFINITE;
    if (pending) {
      DWORD since = GetTickCount() - lastPost;
      timeout = since >= kMinimumGapMs ? 0 : kMinimumGapMs - since;
    }
    DWORD result = WaitForMultipleObjects(handleCount, watches.handles, FALSE, timeout);
    if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) break;
    if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handleCount) {
      arm(watches.items[result - WAIT_OBJECT_0 - 1]);
      pending = true;
    }
    if (pending && GetTickCount() - lastPost >= kMinimumGapMs) {
      PostMessageA(g_watcher.target, kCheckNowMessage, 0, 0);
      lastPost = GetTickCount();
      pending = false;
    }
  }
  for (DWORD i = 0; i < watches.count; ++i) {
    RegCloseKey(watches.items[i].key);
    CloseHandle(watches.items[i].event);
  }
  return 0;
}

}  // namespace

extern "C" {

// Ordinal 2: start watching for the given window. A second call replaces nothing.
// It returns once the keys are watched, so no change made after it is missed.
void WINAPI OstrumStart(HWND monitorWindow) {
  if (g_watcher.thread) return;
  g_watcher.target = monitorWindow;
  g_watcher.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  g_watcher.armed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (g_watcher.stop && g_watcher.armed) {
    // It waits and nothing more: a small stack is plenty.
    g_watcher.thread = CreateThread(nullptr, 64 * 1024, watch, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  }
  if (!g_watcher.thread) {
    if (g_watcher.stop) CloseHandle(g_watcher.stop);
    if (g_watcher.armed) CloseHandle(g_watcher.armed);
    g_watcher = Watcher{};
    return;
  }
  // A registry that does not answer must not hold up the Monitor's start.
  const HANDLE either[] = {g_watcher.armed, g_watcher.thread};
  WaitForMultipleObjects(2, either, FALSE, 5000);
}

// Ordinal 3: stop the watcher and wait for it.
void WINAPI OstrumStop() {
  if (!g_watcher.thread) return;
  SetEvent(g_watcher.stop);
  WaitForSingleObject(g_watcher.thread, INFINITE);
  CloseHandle(g_watcher.thread);
  CloseHandle(g_watcher.stop);
  CloseHandle(g_watcher.armed);
  g_watcher = Watcher{};
}

}  // extern "C"
