#include "placement.h"

#include "inventory/options.h"
#include "sheet.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

bool readNumber(const std::string& name, int& value) {
  std::string text;
  if (!reg::valueExists(HKEY_CURRENT_USER, kSystemKey, name)) return false;
  reg::readString(HKEY_CURRENT_USER, kSystemKey, name, text);
  value = std::atoi(text.c_str());
  return true;
}

void writeNumber(const std::string& name, long value) {
  reg::writeString(HKEY_CURRENT_USER, kSystemKey, name, std::to_string(value));
}

SIZE virtualScreen() { return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}; }

}  // namespace

void writeStartTab(ExplorerState& state) {
  const int page = state.sheet ? state.sheet->currentPage() : Sheet::kNoPage;
  if (page == Sheet::kNoPage) return;  // no page yet: the stored one stays
  state.options.set("StartTab", page);
}

void savePlacement(ExplorerState& state, HWND window, const std::string& name) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return;
  writeNumber("x" + name, r.left);
  writeNumber("y" + name, r.top);
  writeNumber("dx" + name, r.right - r.left);
  writeNumber("dy" + name, r.bottom - r.top);
  writeStartTab(state);
}

void centreWindow(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void restoreDialogPlacement(ExplorerState& state, HWND window, const std::string& name) {
  writeStartTab(state);
  int x = 0, y = 0;
  if (!readNumber("x" + name, x) || !readNumber("y" + name, y)) {
    centreWindow(window);
    return;
  }
  const SIZE screen = virtualScreen();
  if (x > screen.cx) x = screen.cx / 2;
  if (y > screen.cy) y = screen.cy / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void restoreDialogSize(HWND window, const std::string& name, SIZE minimum) {
  int width = 0, height = 0;
  if (!readNumber("dx" + name, width) || !readNumber("dy" + name, height)) return;
  const SIZE screen = virtualScreen();
  if (width < minimum.cx || height < minimum.cy || width > screen.cx || height > screen.cy) return;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void restoreSheetPlacement(HWND sheet) {
  int x = 0, y = 0;
  if (!readNumber("xPos", x) || !readNumber("yPos", y)) {
    centreWindow(sheet);
    return;
  }
  const SIZE screen = virtualScreen();
  if (x > screen.cx) x = 0;
  if (y > screen.cy) y = 0;
  int width = 0, height = 0;
  if (readNumber("dxPos", width) && readNumber("dyPos", height)) {
    if (width > screen.cx) width = 0;
    if (height > screen.cy) height = 0;
    // A zero or negative size would leave no sheet to see: keep the template's.
    if (width > 0 && height > 0) {
      SetWindowPos(sheet, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
  }
  SetWindowPos(sheet, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavrin
