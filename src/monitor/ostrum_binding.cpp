#include "ostrum_binding.h"

#include "sys/paths.h"
#include "sys/trace.h"

namespace tavrin {
namespace {
using StartWatcher = void(WINAPI*)(HWND);
using StopWatcher = void(WINAPI*)();
}  // namespace

bool OstrumBinding::start(HWND monitorWindow) {
  module_.reset(loadProgramFolderLibrary("ostrum.dll"));
  if (!module_) {
    trace::line("OSTRUM", "not loaded");
    return false;
  }
  auto startWatcher = reinterpret_cast<StartWatcher>(
      reinterpret_cast<void*>(GetProcAddress(module_.get(), MAKEINTRESOURCEA(2))));
  if (!startWatcher) {
    module_.reset();
    return false;
  }
  startWatcher(monitorWindow);
  return true;
}

void OstrumBinding::stop() {
  if (!module_) return;
  auto stopWatcher = reinterpret_cast<StopWatcher>(
      reinterpret_cast<void*>(GetProcAddress(module_.get(), MAKEINTRESOURCEA(3))));
  if (!stopWatcher) {
    module_.release();  // its watcher may still run: never unload code under a live thread
    return;
  }
  stopWatcher();
  module_.reset();
}

}  // namespace tavrin
