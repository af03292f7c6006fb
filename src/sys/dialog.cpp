#include "dialog.h"

#include <windowsx.h>

#include <vector>

namespace tavrin {

INT_PTR Dialog::runModal(HINSTANCE instance, int templateId, HWND owner) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, reinterpret_cast<LPARAM>(this));
}

PROPSHEETPAGEA Dialog::pageRecord(HINSTANCE instance, int templateId, const std::string& title, HICON icon) {
  PROPSHEETPAGEA page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USETITLE | (icon ? PSP_USEHICON : 0);
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEA(templateId);
  page.hIcon = icon;
  page.pszTitle = title.c_str();
  page.pfnDlgProc = procedure;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return page;
}

BOOL Dialog::focusDefaultButton() {
  const LRESULT id = SendMessageA(window_, DM_GETDEFID, 0, 0);
  if (HIWORD(id) != DC_HASDEFID) return TRUE;
  SetFocus(item(LOWORD(id)));
  return FALSE;
}

std::string Dialog::itemText(int id) const {
  HWND control = item(id);
  const int length = control ? GetWindowTextLengthA(control) : 0;
  if (length <= 0) return "";
  std::vector<char> text(length + 1);
  GetWindowTextA(control, text.data(), length + 1);
  return text.data();
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // A page gets its PROPSHEETPAGE; a dialog gets the object itself.
    Dialog* self = nullptr;
    auto* page = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
    if (page && GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
      self = reinterpret_cast<Dialog*>(page->lParam);
    else
      self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    if (!self) return FALSE;
    self->window_ = window;
    return self->onInit();
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!onNotify(reinterpret_cast<NMHDR*>(lParam), result)) return FALSE;
      SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_CONTEXTMENU:
      return onContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_DESTROY:
      onDestroy();
      return FALSE;
    default: {
      INT_PTR result = FALSE;
      if (onMessage(message, wParam, lParam, result)) return result;
      return FALSE;
    }
  }
}

}  // namespace tavrin
