#include "image_button.h"

#include <string>

#include "resource.h"

namespace tavrin {
namespace {

constexpr char kImageButtonProp[] = "TavrinImageButton";

// An image button: normal, pressed and hover images and the command it sends.
struct ImageButton {
  HBITMAP normal = nullptr, pressed = nullptr, hover = nullptr;
  int command = 0;
  bool tracking = false;
  WNDPROC original = nullptr;
};

void showImage(HWND button, HBITMAP image) {
  if (image) SendMessageA(button, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

// The owner-drawn captions show in blue while the mouse is over their button,
// so they are redrawn whenever that changes.
BOOL CALLBACK redrawIfCaption(HWND child, LPARAM) {
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW) InvalidateRect(child, nullptr, TRUE);
  return TRUE;
}

void redrawCaptions(HWND button) { EnumChildWindows(GetParent(button), redrawIfCaption, 0); }

LRESULT CALLBACK imageButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ImageButton*>(GetPropA(button, kImageButtonProp));
  if (!self) return DefWindowProcA(button, message, wParam, lParam);
  const WNDPROC original = self->original;
  switch (message) {
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // the hand
      return TRUE;
    case WM_MOUSEMOVE:
      if (!self->tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        self->tracking = TrackMouseEvent(&track) != FALSE;
        showImage(button, self->hover);
        redrawCaptions(button);
      }
      return 0;
    case WM_MOUSELEAVE:
      self->tracking = false;
      showImage(button, self->normal);
      redrawCaptions(button);
      return 0;
    case WM_LBUTTONDOWN:
      showImage(button, self->pressed);
      SetCapture(button);
      return 0;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
      if (GetCapture() == button) ReleaseCapture();
      showImage(button, self->normal);
      PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(self->command, 0), 0);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropA(button, kImageButtonProp);
      delete self;
      return CallWindowProcA(original, button, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcA(original, button, message, wParam, lParam);
}

// A caption counts as under the mouse when the mouse is over it or over the
// image button above it (the one whose middle lies within its width).
bool isUnderMouse(HWND caption) {
  POINT cursor;
  if (!GetCursorPos(&cursor)) return false;
  HWND below = WindowFromPoint(cursor);
  if (below == caption) return true;
  if (!below || GetParent(below) != GetParent(caption) || !GetPropA(below, kImageButtonProp)) return false;
  RECT captionRect, buttonRect;
  GetWindowRect(caption, &captionRect);
  GetWindowRect(below, &buttonRect);
  const LONG middle = (buttonRect.left + buttonRect.right) / 2;
  return middle >= captionRect.left && middle <= captionRect.right;
}
}  // namespace

void makeImageButton(HWND button, HBITMAP normal, HBITMAP pressed, HBITMAP hover, int command) {
  if (!button) return;
  auto* self = static_cast<ImageButton*>(GetPropA(button, kImageButtonProp));
  if (!self) {
    self = new ImageButton;
    SetPropA(button, kImageButtonProp, self);
    self->original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(imageButtonProc)));
  }
  self->normal = normal;
  self->pressed = pressed;
  self->hover = hover;
  self->command = command;
  showImage(button, normal);
}

void showMonitorIcon(const ButtonImages& images, HWND button, bool on, bool realtime, int command) {
  HBITMAP normal = (realtime ? images.monitorRealtime : on ? images.monitorOn : images.monitorOff).get();
  HBITMAP hover = (realtime ? images.monitorRealtime : on ? images.monitorOnHover : images.monitorOffHover).get();
  HBITMAP pressed = (on ? images.monitorPressed : images.monitorOffPressed).get();
  makeImageButton(button, normal, pressed, hover, command);
}

void drawImageButtonCaption(const DRAWITEMSTRUCT& draw, HFONT font) {
  char text[128] = {};
  GetWindowTextA(draw.hwndItem, text, sizeof text);
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  const UINT format = std::string(text).find('\n') != std::string::npos ? DT_WORDBREAK | DT_CENTER
                                                                         : DT_CENTER | DT_SINGLELINE | DT_VCENTER;
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, RGB(192, 192, 192));
  DrawTextA(dc, text, -1, &shadow, format);
  SetTextColor(dc, isUnderMouse(draw.hwndItem) ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, text, -1, &r, format);
  SelectObject(dc, oldFont);
}


}  // namespace tavrin
