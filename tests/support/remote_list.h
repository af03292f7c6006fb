#pragma once
// Reading and selecting the rows of another process's list view, and finding
// the tab sheet's current page.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

inline HWND tabOf(HWND sheet) { return FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr); }
inline int currentTab(HWND sheet) { return static_cast<int>(SendMessageA(tabOf(sheet), TCM_GETCURSEL, 0, 0)); }
inline HWND currentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// Memory in another process for list-view messages that carry pointers.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    memory_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBuffer() {
    VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  std::string cellText(HWND view, int row, int column) {
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = memory_ + 512;
    cell.cchTextMax = 1024;
    WriteProcessMemory(process_, memory_, &cell, sizeof cell, nullptr);
    SendMessageA(view, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory_));
    char text[1024] = {};
    ReadProcessMemory(process_, memory_ + 512, text, sizeof text - 1, nullptr);
    return text;
  }
  std::string columnTitle(HWND view, int column) {
    LVCOLUMNA title{};
    title.mask = LVCF_TEXT;
    title.pszText = memory_ + 512;
    title.cchTextMax = 256;
    WriteProcessMemory(process_, memory_, &title, sizeof title, nullptr);
    SendMessageA(view, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(memory_));
    char text[256] = {};
    ReadProcessMemory(process_, memory_ + 512, text, sizeof text - 1, nullptr);
    return text;
  }
  void tick(HWND view, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(2);
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory_));
  }
  // Adds the row to the selection, as a Ctrl+click does.
  void alsoSelect(HWND view, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory_));
  }
  void select(HWND view, int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(memory_));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, memory_, &state, sizeof state, nullptr);
    SendMessageA(view, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(memory_));
  }

 private:
  HANDLE process_ = nullptr;
  char* memory_ = nullptr;
};

inline std::vector<std::string> columnTexts(HWND view, int column = 0) {
  RemoteBuffer buffer(view);
  std::vector<std::string> names;
  const int rows = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) names.push_back(buffer.cellText(view, row, column));
  return names;
}

// The row whose cell in `column` reads `text`; -1 when none does.
inline int rowWith(HWND view, int column, const std::string& text) {
  RemoteBuffer buffer(view);
  const int rows = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row)
    if (buffer.cellText(view, row, column) == text) return row;
  return -1;
}

