#include "dialog.h"

namespace tavrin {

INT_PTR Dialog::run(HINSTANCE instance, int templateId, HWND owner) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
    return self->onInit() ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  INT_PTR result = 0;
  switch (message) {
    case WM_COMMAND:
      self->onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      self->onDestroy();
      SetWindowLongPtrA(window, DWLP_USER, 0);
      return TRUE;
    default:
      if (self->onMessage(message, wParam, lParam, result)) {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
  }
}

}  // namespace tavrin
