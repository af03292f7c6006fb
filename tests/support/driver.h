#pragma once
// Drives the real programs from outside, as a user would: starts them, finds
// their windows, reads texts, presses buttons, takes screenshots.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

class Process {
 public:
  Process() = default;
  Process(HANDLE handle, DWORD pid) : handle_(handle), pid_(pid) {}
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  explicit operator bool() const { return handle_ != nullptr; }
  DWORD pid() const { return pid_; }
  // True when the process ended within the time; its exit code goes to `code`.
  bool waitExit(DWORD timeoutMs, DWORD* code = nullptr);

 private:
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
};

Process start(const std::string& exePath, const std::string& arguments = "");

// Polls for a top-level window of the class (and title, when given).
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs);
// Polls for a visible top-level window of the class and title, from any process.
// A dialog turns visible only after its initialisation, so its items hold their texts.
HWND waitForShownWindow(const char* className, const char* title, DWORD timeoutMs);
// Polls for a visible top-level window of the class that belongs to the process,
// other than those in `except`.
HWND waitForProcessWindow(DWORD pid, const char* className, DWORD timeoutMs, const std::vector<HWND>& except = {});
// Polls for a shown dialog of any process whose caption or message text holds the words.
HWND waitForDialogWith(const std::string& words, DWORD timeoutMs);
bool waitUntilGone(const char* className, DWORD timeoutMs);
// True when a window of the class shows up within the time.
bool appears(const char* className, DWORD timeoutMs);

std::string windowText(HWND window);
std::string dialogItemText(HWND dialog, int id);
// Message box text (its static control has id 0xFFFF).
std::string messageBoxText(HWND box);
// The window that has the keyboard focus in the window's thread (Enter answers it).
HWND focusOf(HWND window);
// Posts a click on the dialog's button (posted: the caller never blocks on a modal loop).
void pressButton(HWND dialog, int id);
// Presses the button and waits until the dialog is gone.
bool pressAndClose(HWND dialog, int id, DWORD timeoutMs = 3000);

// Runs `work` on this thread while another one hands every dialog this process
// shows to `answer`, which must end it; returns their captions in order. An
// unexpected dialog is thus ended and reported, never left to hang the test.
// Without `answer`, each dialog is ended with No, else Cancel, else OK.
std::vector<std::string> dialogsDuring(const std::function<void()>& work,
                                       const std::function<void(HWND)>& answer = nullptr);

// The command line another process was started with.
std::string commandLineOf(DWORD pid);
std::vector<DWORD> processesNamed(const char* exeName);
// Ends every process with that file name (test clean-up).
void killAll(const char* exeName);

// Saves the screen as NAME.bmp in the run's screenshot folder (TAVRIN_SHOT_DIR).
bool screenshot(const std::string& name);

// Runs `run` in this thread while another hands every dialog this process
// shows to `user`, which must end it; the number of dialogs shown.
int answerDialogsDuring(const std::function<void()>& run, const std::function<void(HWND)>& user);

// Waits until the predicate holds, polling every 50 ms.
template <typename Predicate>
bool waitUntil(Predicate predicate, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (predicate()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
}

}  // namespace driver
