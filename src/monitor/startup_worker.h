#pragma once
// The start-up initialisation off the window's thread: a first run on a
// crowded machine lists, approves and dates thousands of entries, and
// meanwhile the tray icon, its menu and a quit request are answered. The
// patrol starts only once it is done, so nothing it has not approved yet is
// alerted on.
#include <windows.h>

#include <string>
#include <thread>

#include "inventory/entry_list.h"
#include "inventory/first_run.h"
#include "inventory/options.h"

namespace tavrin {

// Posted to the window when the initialisation is done.
constexpr UINT kStartupDoneMessage = WM_APP + 24;

class StartupWorker {
 public:
  StartupWorker() = default;
  StartupWorker(const StartupWorker&) = delete;
  StartupWorker& operator=(const StartupWorker&) = delete;
  // Waits for a running initialisation.
  ~StartupWorker() { wait(); }

  // Runs initialiseStore for the Monitor on its own thread, over a list with
  // the program's caption; false when the thread could not be started.
  bool start(HWND window, const std::string& caption);
  // Until it is done. Called on quitting too: the initialisation completes,
  // so nothing is left half-made (a process ended meanwhile makes it again at
  // its next start, each baseline being marked done only after its values).
  void wait();
  // From start() until wait() has returned.
  bool running() const { return thread_.joinable(); }
  // What it found; read after wait().
  const StartupState& result() const { return result_; }

 private:
  std::thread thread_;
  StartupState result_;
  Options options_;
  EntryList list_{"Tavrin", 315};
};

}  // namespace tavrin
