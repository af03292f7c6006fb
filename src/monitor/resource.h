#pragma once
// Resource ids of the Monitor; the numbers are the system's own.
#include "strings.h"

#define IDC_STATIC (-1)

// Tray and program icons
#define IDI_TRAY_IDLE 101
#define IDI_TRAY_PASS_FIRST 157
#define IDI_TRAY_PASS_SECOND 158
#define IDI_TRAY_IDLE_9X 159
#define IDI_TRAY_ALERT 161

// Sound played when no sound file is chosen for an event
#define IDW_ALERT 170
