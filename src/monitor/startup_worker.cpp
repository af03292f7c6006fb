#include "startup_worker.h"

#include <objbase.h>

namespace tavrin {

bool StartupWorker::start(HWND window, const std::string& caption) {
  if (thread_.joinable()) return false;
  list_ = EntryList(caption, 315);
  thread_ = std::thread([this, window] {
    // The task scheduler's inventory speaks COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    result_ = initialiseStore(Program::Monitor, options_, list_);
    if (SUCCEEDED(com)) CoUninitialize();
    PostMessageA(window, kStartupDoneMessage, 0, 0);
  });
  return true;
}

void StartupWorker::wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace tavrin
