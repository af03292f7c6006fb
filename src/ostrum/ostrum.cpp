// ostrum.dll: watches the autostart keys of the registry and asks the Monitor
// for a check (message 9024) when one changes. It waits on change
// notifications, so it costs nothing while nothing changes.
#include <windows.h>

#include <vector>

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
  HANDLE thread = nullptr;
};

Watcher g_watcher;  // one per loaded library: the Monitor has one window

bool arm(Watch& watch) {
  return RegNotifyChangeKeyValue(watch.key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                 watch.event, TRUE) == ERROR_SUCCESS;
}

std::vector<Watch> openWatches() {
  std::vector<Watch> watches;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (const char* path : kWatchedKeys) {
      Watch watch;
      if (RegOpenKeyExA(root, path, 0, KEY_NOTIFY, &watch.key) != ERROR_SUCCESS) continue;
      watch.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
      if (!watch.event || !arm(watch)) {
        if (watch.event) CloseHandle(watch.event);
        RegCloseKey(watch.key);
        continue;
      }
      watches.push_back(watch);
      if (watches.size() + 1 >= MAXIMUM_WAIT_OBJECTS) return watches;
    }
  }
  return watches;
}

DWORD WINAPI watch(void*) {
  std::vector<Watch> watches = openWatches();
  std::vector<HANDLE> handles{g_watcher.stop};
  for (const Watch& w : watches) handles.push_back(w.event);
  DWORD lastPost = GetTickCount() - kMinimumGapMs;
  bool pending = false;
  for (;;) {
    DWORD timeout = INFINITE;
    if (pending) {
      DWORD since = GetTickCount() - lastPost;
      timeout = since >= kMinimumGapMs ? 0 : kMinimumGapMs - since;
    }
    DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
    if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) break;
    if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
      arm(watches[result - WAIT_OBJECT_0 - 1]);
      pending = true;
    }
    if (pending && GetTickCount() - lastPost >= kMinimumGapMs) {
      PostMessageA(g_watcher.target, kCheckNowMessage, 0, 0);
      lastPost = GetTickCount();
      pending = false;
    }
  }
  for (Watch& w : watches) {
    RegCloseKey(w.key);
    CloseHandle(w.event);
  }
  return 0;
}

}  // namespace

extern "C" {

// Ordinal 2: start watching for the given window. A second call replaces nothing.
void WINAPI OstrumStart(HWND monitorWindow) {
  if (g_watcher.thread) return;
  g_watcher.target = monitorWindow;
  g_watcher.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!g_watcher.stop) return;
  g_watcher.thread = CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
  if (!g_watcher.thread) {
    CloseHandle(g_watcher.stop);
    g_watcher.stop = nullptr;
  }
}

// Ordinal 3: stop the watcher and wait for it.
void WINAPI OstrumStop() {
  if (!g_watcher.thread) return;
  SetEvent(g_watcher.stop);
  WaitForSingleObject(g_watcher.thread, INFINITE);
  CloseHandle(g_watcher.thread);
  CloseHandle(g_watcher.stop);
  g_watcher = Watcher{};
}

}  // extern "C"
