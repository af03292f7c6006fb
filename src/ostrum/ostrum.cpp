// ostrum.dll: watches the autostart keys of the registry and asks the Monitor
// for a check (message 9024) when one changes. It waits on change
// notifications, so it costs nothing while nothing changes.
#include <windows.h>

#include "base/entry_tables.h"

namespace {

constexpr UINT kCheckNowMessage = 9024;
constexpr DWORD kMinimumGapMs = 2000;  // at most one request per two seconds

// The autostart keys the patrol reads, watched in both hives with their subkeys.
const char* const kOtherWatchedKeys[] = {
    tavrin::kWinlogonKey,
    tavrin::kWindowsNtKey,
    tavrin::kDelayLoadKey,
    tavrin::kSharedTaskSchedulerKey,
    tavrin::kShellExecuteHooksKey,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
};

struct Watch {
  HKEY key = nullptr;
  HANDLE event = nullptr;
  // A missing key is waited for on its parent: a Run key created later (RunOnce
  // often is) must be watched from then on.
  bool forMissingKey = false;
  HKEY root = nullptr;
  char path[MAX_PATH] = "";
};

// Whether a change of `path` in `root` already reaches the watch: the key
// itself for a parent watch, the key or any key below it otherwise.
bool covers(const Watch& watch, HKEY root, const char* path) {
  if (watch.root != root) return false;
  const int length = lstrlenA(watch.path);
  if (watch.forMissingKey || lstrlenA(path) <= length || path[length] != '\\')
    return lstrcmpiA(watch.path, path) == 0;
  char head[MAX_PATH];
  lstrcpynA(head, path, length + 1);
  return lstrcmpiA(watch.path, head) == 0;
}

struct Watcher {
  HWND target = nullptr;
  HANDLE stop = nullptr;
  HANDLE armed = nullptr;  // set once every key is watched
  HANDLE thread = nullptr;
};

Watcher g_watcher;  // one per loaded library: the Monitor has one window

bool arm(Watch& watch) {
  // A parent is watched for keys coming and going under it, not for its whole subtree.
  const DWORD filter = watch.forMissingKey ? REG_NOTIFY_CHANGE_NAME : REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
  return RegNotifyChangeKeyValue(watch.key, watch.forMissingKey ? FALSE : TRUE, filter, watch.event, TRUE) ==
         ERROR_SUCCESS;
}

// Fixed arrays: the library stays free of the C++ runtime.
struct Watches {
  Watch items[MAXIMUM_WAIT_OBJECTS - 1];
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];  // [0] is the stop event
  DWORD count = 0;
};

bool add(Watches& watches, const Watch& wanted) {
  if (watches.count == MAXIMUM_WAIT_OBJECTS - 1) {
    RegCloseKey(wanted.key);
    return false;
  }
  Watch watch = wanted;
  watch.event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!watch.event || !arm(watch)) {
    if (watch.event) CloseHandle(watch.event);
    RegCloseKey(watch.key);
    return false;
  }
  watches.items[watches.count] = watch;
  watches.handles[++watches.count] = watch.event;
  return true;
}

// The nearest existing ancestor of a missing key, unless a watch reaches it already.
void watchParentOf(Watches& watches, HKEY root, const char* path) {
  Watch watch;
  watch.forMissingKey = true;
  watch.root = root;
  lstrcpyA(watch.path, path);
  for (;;) {
    char* cut = watch.path + lstrlenA(watch.path);
    while (cut > watch.path && *cut != '\\') --cut;
    if (cut == watch.path) return;
    *cut = '\0';
    for (DWORD i = 0; i < watches.count; ++i)
      if (covers(watches.items[i], root, watch.path)) return;
    if (RegOpenKeyExA(root, watch.path, 0, KEY_NOTIFY, &watch.key) != ERROR_SUCCESS) continue;
    add(watches, watch);
    return;
  }
}

void watchKey(Watches& watches, HKEY root, const char* path) {
  if (lstrlenA(path) >= MAX_PATH) return;
  Watch watch;
  watch.root = root;
  lstrcpyA(watch.path, path);
  if (RegOpenKeyExA(root, path, 0, KEY_NOTIFY, &watch.key) == ERROR_SUCCESS)
    add(watches, watch);
  else
    watchParentOf(watches, root, path);
}

void openWatches(Watches& watches) {
  watches.handles[0] = g_watcher.stop;
  watches.count = 0;
  const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
  for (HKEY root : roots) {
    for (const char* path : tavrin::kRunKeyPaths) watchKey(watches, root, path);
    for (const char* path : kOtherWatchedKeys) watchKey(watches, root, path);
  }
}

void closeWatches(Watches& watches) {
  for (DWORD i = 0; i < watches.count; ++i) {
    RegCloseKey(watches.items[i].key);
    CloseHandle(watches.items[i].event);
  }
  watches.count = 0;
}

Watches g_watches;  // the watcher thread's alone

DWORD WINAPI watch(void*) {
  Watches& watches = g_watches;
  openWatches(watches);
  SetEvent(g_watcher.armed);
  DWORD handleCount = watches.count + 1;
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
      Watch& fired = watches.items[result - WAIT_OBJECT_0 - 1];
      if (fired.forMissingKey) {
        // A key came or went: watch the set anew (a new key may already hold values).
        closeWatches(watches);
        openWatches(watches);
        handleCount = watches.count + 1;
      } else {
        arm(fired);
      }
      pending = true;
    }
    if (pending && GetTickCount() - lastPost >= kMinimumGapMs) {
      PostMessageA(g_watcher.target, kCheckNowMessage, 0, 0);
      lastPost = GetTickCount();
      pending = false;
    }
  }
  closeWatches(watches);
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
