#pragma once
// The pages' Help and Monitor icons: static pictures that act as buttons, and
// their owner-drawn captions that light up with them.
#include <windows.h>

#include "explorer_state.h"
#include "resource.h"

namespace tavrin {

// Makes `button` show `hover` while the mouse is over it and `pressed` while
// held, and post WM_COMMAND `command` to its parent when clicked. Calling it
// again only changes the images and the command.
void makeImageButton(HWND button, HBITMAP normal, HBITMAP pressed, HBITMAP hover, int command);

// The Monitor icon of a patrol that is off, on or watching in real time; it
// posts `command` (the Options page has three such icons).
void showMonitorIcon(const ButtonImages& images, HWND button, bool on, bool realtime, int command = IDC_MONITOR_ICON);

// Draws an owner-drawn caption with a shadow, blue while the mouse is over it
// or over the image button above it.
void drawImageButtonCaption(const DRAWITEMSTRUCT& draw, HFONT font);

}  // namespace tavrin
