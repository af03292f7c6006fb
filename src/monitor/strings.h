#pragma once
#include "inventory/string_ids.h"

// Window class
#define IDS_CLASS_NAME                    1

// Tray tooltips
#define IDS_TIP_ON_PATROL                 820
#define IDS_TIP_TASKS                     823
#define IDS_TIP_NUTS                      824
#define IDS_TIP_PAGES                     829

// Tray menu
#define IDS_MENU_STARTUP                  503
#define IDS_MENU_ACTIVE_TASKS             504
#define IDS_MENU_COOKIES                  505
#define IDS_MENU_EXIT                     508
#define IDS_MENU_SERVICES                 509
#define IDS_MENU_FILE_TYPES               510
#define IDS_MENU_OPTIONS                  610
#define IDS_MENU_SCHEDULED                685
#define IDS_MENU_IE_HELPERS               697
#define IDS_MENU_HIDDEN                   1018
#define IDS_MENU_DELAYED                  1020

// Start and exit messages
#define IDS_CONFIRM_EXIT                  17
#define IDS_EXPLORER_NOT_FOUND            795

// Browser start, search and desktop pages
#define IDS_VALUE_START_PAGE              624
#define IDS_START_PAGE_CHANGED            625
#define IDS_VALUE_SEARCH_PAGE             675
#define IDS_SEARCH_PAGE_CHANGED           676
#define IDS_KEY_DESKTOP_COMPONENT         1016
#define IDS_DESKTOP_PAGE_CHANGED          1017

// Approved-list mark of a program moved to Delayed Start
#define IDS_DELAY_START_MARK              1103

// Alert dialogs
#define IDS_ALERT_NEW_STARTUP             7
#define IDS_LABEL_VERSION_PLAIN           630
#define IDS_ALERT_NEW_TASK                692
#define IDS_BTN_YES                       719
#define IDS_BTN_NO                        720
#define IDS_ALERT_WHEN_RUN                765
#define IDS_ALERT_WHEN_RUNONCE            766
#define IDS_ALERT_WHEN_WININI             767
#define IDS_ALERT_WHEN_STARTUP_FOLDER     768
#define IDS_ALERT_DELAYED_RETURNED        1022
#define IDS_ALERT_DELAYED_CAPTION         1023

// File-type associations (a text of our own: a refused change that could not be undone)
#define IDS_FILE_TYPE_NOT_RESTORED        764
