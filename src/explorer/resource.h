#pragma once
// Resource ids of the Explorer; the numbers are the system's own.
#include "strings.h"

#define IDC_STATIC (-1)

#define IDI_PROGRAM 101

// Sound played when no sound file is chosen for an event
#define IDW_ALERT 170
