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

// Alert dialogs
#define IDD_ALERT_NEW_STARTUP 131
#define IDD_ALERT_NEW_TASK 138
#define IDD_ALERT_NEW_IE_HELPER 140
#define IDD_ALERT_FILE_TYPE 143
#define IDD_ALERT_NEW_SERVICE 171
#define IDD_ALERT_NEW_HIDDEN_FILE 191
#define IDD_ALERT_DELAYED_RETURNED 192

// Controls shared by the alerts
#define IDC_NAME_LINE 100
#define IDC_PROGRAM_ICON 117
#define IDC_DONT_ASK_AGAIN 1014
#define IDC_PATH 1026
#define IDC_VERSION 1029
#define IDC_COMPANY 1030
#define IDC_DESCRIPTION 1031
#define IDC_COPYRIGHT 1032
#define IDC_EXPLANATION 1036
#define IDC_ONLINE_INFO 1067
#define IDC_VERSION_LABEL 1097

// New service alert
#define IDC_SERVICE_INTRO 1143
#define IDC_SERVICE_STATUS 1144

// File-type change alert: the four sentences, the two programs, the extension
#define IDC_FILE_TYPE_INTRO 1025
#define IDC_FILE_TYPE_OLD_LABEL 1026
#define IDC_FILE_TYPE_NEW_LABEL 1027
#define IDC_FILE_TYPE_ASK 1028
#define IDC_OLD_PROGRAM_NAME 1111
#define IDC_OLD_PROGRAM_ICON 1112
#define IDC_OLD_PROGRAM_PATH 1113
#define IDC_OLD_PROGRAM_COMPANY 1114
#define IDC_OLD_PROGRAM_INFO 1115
#define IDC_NEW_PROGRAM_ICON 1116
#define IDC_NEW_PROGRAM_PATH 1117
#define IDC_NEW_PROGRAM_NAME 1118
#define IDC_NEW_PROGRAM_COMPANY 1119
#define IDC_NEW_PROGRAM_INFO 1120
#define IDC_FILE_TYPE_EXTENSION 1121
