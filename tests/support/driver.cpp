#include "driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <utility>

#include "base/text.h"

namespace driver {

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (handle_) CloseHandle(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    pid_ = std::exchange(other.pid_, 0);
  }
  return *this;
}

Process::~Process() {
  if (handle_) CloseHandle(handle_);
}

bool Process::waitExit(DWORD timeoutMs, DWORD* code) {
  if (!handle_ || WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (code) GetExitCodeProcess(handle_, code);
  return true;
}

Process start(const std::string& exePath, const std::string& arguments) {
  std::string commandLine = "\"" + exePath + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info))
    return Process();
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId);
}

HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs) {
  HWND found = nullptr;
  waitUntil([&] { return (found = FindWindowA(className, title)) != nullptr; }, timeoutMs);
  return found;
}

namespace {
struct ProcessWindowSearch {
  DWORD pid;  // 0: any process
  const char* className;
  const char* title;  // null: any title
  const std::vector<HWND>& except;
  HWND found;
};

BOOL CALLBACK matchProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessWindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  char title[256] = {};
  if (search->title) GetWindowTextA(window, title, sizeof title);
  const auto& except = search->except;
  if ((search->pid == 0 || pid == search->pid) && std::find(except.begin(), except.end(), window) == except.end() &&
      IsWindowVisible(window) && lstrcmpiA(name, search->className) == 0 &&
      (!search->title || lstrcmpA(title, search->title) == 0)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

namespace {
HWND waitForVisible(DWORD pid, const char* className, const char* title, DWORD timeoutMs,
                    const std::vector<HWND>& except) {
  ProcessWindowSearch search{pid, className, title, except, nullptr};
  waitUntil(
      [&] {
        EnumWindows(matchProcessWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}
}  // namespace

HWND waitForProcessWindow(DWORD pid, const char* className, DWORD timeoutMs, const std::vector<HWND>& except) {
  return waitForVisible(pid, className, nullptr, timeoutMs, except);
}

HWND waitForShownWindow(const char* className, const char* title, DWORD timeoutMs) {
  return waitForVisible(0, className, title, timeoutMs, {});
}

namespace {
struct DialogSearch {
  const std::string& words;
  HWND found;
};
BOOL CALLBACK matchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0 &&
      (windowText(window) + "\n" + messageBoxText(window)).find(search->words) != std::string::npos)
    search->found = window;
  return search->found == nullptr;
}
}  // namespace

HWND waitForDialogWith(const std::string& words, DWORD timeoutMs) {
  DialogSearch search{words, nullptr};
  waitUntil([&] { return EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search)), search.found != nullptr; },
            timeoutMs);
  return search.found;
}

bool waitUntilGone(const char* className, DWORD timeoutMs) {
  return waitUntil([&] { return FindWindowA(className, nullptr) == nullptr; }, timeoutMs);
}

bool appears(const char* className, DWORD timeoutMs) { return waitForWindow(className, nullptr, timeoutMs) != nullptr; }

std::string windowText(HWND window) {
  char buffer[4096] = {};
  // WM_GETTEXT crosses processes (the system marshals the text).
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return buffer;
}

std::string dialogItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? windowText(item) : std::string();
}

std::string messageBoxText(HWND box) { return dialogItemText(box, 0xFFFF); }

std::vector<std::string> dialogsDuring(const std::function<void()>& work, const std::function<void(HWND)>& answer) {
  std::vector<std::string> captions;
  std::atomic<bool> done{false};
  std::thread player([&] {
    while (!done) {
      HWND dialog = waitForProcessWindow(GetCurrentProcessId(), "#32770", 100);
      if (!dialog) continue;
      captions.push_back(windowText(dialog));
      if (answer) {
        answer(dialog);
      } else {
        for (int id : {IDNO, IDCANCEL, IDOK}) {
          if (!GetDlgItem(dialog, id)) continue;
          pressButton(dialog, id);
          break;
        }
      }
      waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000);
    }
  });
  work();
  done = true;
  player.join();
  return captions;
}

HWND focusOf(HWND window) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
  return gui.hwndFocus;
}

void pressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool pressAndClose(HWND dialog, int id, DWORD timeoutMs) {
  pressButton(dialog, id);
  return waitUntil([&] { return !IsWindow(dialog); }, timeoutMs);
}

std::string commandLineOf(DWORD pid) {
  using QueryInformation = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  struct BasicInformation {
    LONG exitStatus;
    void* peb;
    ULONG_PTR affinity;
    LONG basePriority;
    ULONG_PTR pid;
    ULONG_PTR parentPid;
  };
  struct CountedWideText {
    USHORT length;
    USHORT maximumLength;
    wchar_t* buffer;
  };
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto query = reinterpret_cast<QueryInformation>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationProcess")));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!query || !process) return std::string();
  std::string result;
  BasicInformation basic{};
  void* parameters = nullptr;
  CountedWideText text{};
  // 32-bit layouts: PEB.ProcessParameters at 0x10, its CommandLine at 0x40.
  if (query(process, 0, &basic, sizeof basic, nullptr) == 0 &&
      ReadProcessMemory(process, static_cast<char*>(basic.peb) + 0x10, &parameters, sizeof parameters, nullptr) &&
      ReadProcessMemory(process, static_cast<char*>(parameters) + 0x40, &text, sizeof text, nullptr)) {
    std::wstring wide(text.length / sizeof(wchar_t), L'\0');
    if (ReadProcessMemory(process, text.buffer, &wide[0], text.length, nullptr)) {
      int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
      result.resize(static_cast<std::size_t>(n));
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &result[0], n, nullptr, nullptr);
    }
  }
  CloseHandle(process);
  return result;
}

std::vector<DWORD> processesNamed(const char* exeName) {
  std::vector<DWORD> pids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return pids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, exeName) == 0) pids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return pids;
}

void killAll(const char* exeName) {
  for (DWORD pid : processesNamed(exeName)) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

bool screenshot(const std::string& name) {
  char folder[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("TAVRIN_SHOT_DIR", folder, sizeof folder);
  if (n == 0 || n >= sizeof folder) return false;
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(stride * static_cast<DWORD>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), &pixels[0], reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string path = std::string(folder, n) + "\\" + name + ".bmp";
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

int answerDialogsDuring(const std::function<void()>& run, const std::function<void(HWND)>& user) {
  std::atomic<bool> done{false};
  int shown = 0;
  std::thread player([&] {
    while (!done) {
      HWND dialog = waitForProcessWindow(GetCurrentProcessId(), "#32770", 200);
      if (!dialog) continue;
      ++shown;
      user(dialog);
      waitUntil([&] { return !IsWindow(dialog); }, 5000);
    }
  });
  run();
  done = true;
  player.join();
  return shown;
}

}  // namespace driver
