#include "dialog.h"

#include <windowsx.h>

#include <vector>

namespace tavrin {

std::string DialogWindow::itemText(int id) const {
  HWND control = item(id);
  const int length = control ? GetWindowTextLengthA(control) : 0;
  if (length <= 0) return "";
  std::vector<char> text(length + 1);
  GetWindowTextA(control, text.data(), length + 1);
  return text.data();
}

INT_PTR DialogWindow::attach(HWND window, DialogWindow* self) {
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  if (!self) return FALSE;
  self->window_ = window;
  return self->onInit();
}

INT_PTR DialogWindow::route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR DialogWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
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

INT_PTR Dialog::runModal(HINSTANCE instance, int templateId, HWND owner) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, reinterpret_cast<LPARAM>(this));
}

BOOL Dialog::focusDefaultButton() {
  const LRESULT id = SendMessageA(window_, DM_GETDEFID, 0, 0);
  if (HIWORD(id) != DC_HASDEFID) return TRUE;
  SetFocus(item(LOWORD(id)));
  return FALSE;
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return attach(window, reinterpret_cast<Dialog*>(lParam));
  return route(window, message, wParam, lParam);
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return DialogWindow::dispatch(message, wParam, lParam);
  const int id = LOWORD(wParam);
  if (onCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
  if (id == IDOK) onOk();
  else if (id == IDCANCEL) onCancel();
  else return FALSE;
  return TRUE;
}

PROPSHEETPAGEA PropertyPage::record(HINSTANCE instance, int templateId, const std::string& title, HICON icon) {
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

INT_PTR CALLBACK PropertyPage::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    return attach(window, page ? reinterpret_cast<PropertyPage*>(page->lParam) : nullptr);
  }
  return route(window, message, wParam, lParam);
}

INT_PTR PropertyPage::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NOTIFY) return DialogWindow::dispatch(message, wParam, lParam);
  LRESULT result = 0;
  switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
      onSetActive();  // 0: the page becomes the current one
      break;
    case PSN_KILLACTIVE:
      result = onKillActive() ? FALSE : TRUE;
      break;
    case PSN_QUERYCANCEL:
      result = onQueryCancel() ? FALSE : TRUE;
      break;
    default:
      return DialogWindow::dispatch(message, wParam, lParam);
  }
  SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
  return TRUE;
}

bool registerMainWindowClass(HINSTANCE instance, WNDPROC procedure, int iconId, const std::string& className) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszClassName = className.c_str();
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace tavrin
