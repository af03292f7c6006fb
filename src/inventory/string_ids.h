#pragma once
// String ids both programs use: their tables hold these under the same numbers,
// and the shared library loads some of them. Also the one other resource both
// programs hold for the shared library.

// Sound played when no sound file is chosen for an event
#define IDW_ALERT                         170

// Identity and message language
#define IDS_CAPTION                       2
// Alternative Run-key name of the Monitor.
#define IDS_ALT_RUN_NAME                  622
#define IDS_LANGUAGE                      634

// Registry keys and window classes kept in the table
#define IDS_KEY_HTTP_OPEN_COMMAND         5
#define IDS_MOZILLA_WINDOW_CLASS          11
#define IDS_KEY_IEXPLORE_APP_PATH         12

// Texts used across pages and dialogs
#define IDS_NO_SELECTION                  57
#define IDS_BTN_CLOSE                     304
#define IDS_COL_TITLE                     627
#define IDS_COL_COMMAND                   628
#define IDS_LOCAL_FILE_NOT_FOUND          730

// Protected startup locations
#define IDS_WARNING_REMOVE_ANYWAY         906
#define IDS_WARNING_DEFAULT_CONDITION     907
#define IDS_WARNING_MICROSOFT_FILE        909
#define IDS_WARNING_CAPTION               972
#define IDS_CONFIRM_REMOVE_KEY_LOCATION   1013

// Delayed Start
#define IDS_DELAY_ALL_USERS_WARNING       1120
#define IDS_BTN_RESTORE_ALL_DELAYED       1125
#define IDS_DELAY_NOT_ALLOWED             1130
#define IDS_DELAY_ASK_REMOVE              1134
#define IDS_OPEN_NORMAL                   1138
#define IDS_OPEN_MINIMIZED                1139
#define IDS_OPEN_MAXIMIZED                1140

// IE helpers
#define IDS_CONFIRM_REMOVE_IE_HELPER      698
#define IDS_ALERT_NEW_IE_HELPER           701

// Scheduled tasks
#define IDS_TIME_NEVER                    686
#define IDS_CONFIRM_REMOVE_TASK           687
#define IDS_TASK_STATUS_READY             688
#define IDS_TASK_STATUS_RUNNING           689
#define IDS_TASK_STATUS_NOT_SCHEDULED     690

// Services: start types and run states
#define IDS_START_UNKNOWN                 616
#define IDS_STATE_STOPPED                 652
#define IDS_STATE_START_PENDING           653
#define IDS_STATE_STOP_PENDING            654
#define IDS_STATE_RUNNING                 655
#define IDS_STATE_CONTINUE_PENDING        656
#define IDS_STATE_PAUSE_PENDING           657
#define IDS_STATE_PAUSED                  658
#define IDS_START_AUTOMATIC               664
#define IDS_START_MANUAL                  665
#define IDS_START_DISABLED                666
#define IDS_CHECK_NON_MICROSOFT_SERVICES  721
#define IDS_ALERT_NEW_SERVICE             900
#define IDS_ALERT_SERVICE_STATUS          901

// Running programs
#define IDS_CONFIRM_STOP_PROGRAM          707

// File-type associations
#define IDS_NO_ASSOCIATED_FILE            742
#define IDS_EXECUTABLE                    746
#define IDS_DEFAULT_FILE_TYPES            750
#define IDS_ALERT_FILE_TYPE_INTRO         756
#define IDS_ALERT_FILE_TYPE_OLD           757
#define IDS_ALERT_FILE_TYPE_NEW           758
#define IDS_ALERT_FILE_TYPE_ASK           759
#define IDS_ALERT_FILE_TYPE_CAPTION       760
#define IDS_FILE_TYPE_INVALID             761
#define IDS_FILE_TYPE_ALREADY_MONITORED   762
#define IDS_FILE_TYPE_LIST_FULL           763

// Cookies and cookie filters
#define IDS_ASK_NEW_COOKIES               16
#define IDS_NUT_LIMIT                     729
#define IDS_TRUE                          779
#define IDS_SELECT_COOKIE_FOLDER          799
#define IDS_COOKIE_FOLDER_NOT_FOUND       968

// Hidden files
#define IDS_ALERT_CAPTION                 718
#define IDS_CONFIRM_DELETE_ON_REBOOT      800
#define IDS_MENU_DELETE_ON_REBOOT         801
#define IDS_MENU_VIEW_NOTEPAD             913
#define IDS_CONFIRM_DELETE_HIDDEN         926
#define IDS_BTN_UNHIDE                    931
#define IDS_ALERT_NEW_HIDDEN_FILE         1015

// Watched system files and restart commands
#define IDS_ASK_VIEW_RESTART_COMMANDS     28
#define IDS_RESTART_COMMANDS_CAPTION      30
#define IDS_NO_RESTART_COMMANDS           59
#define IDS_MENU_RESTART_COMMANDS         507
#define IDS_BTN_VIEW_HOSTS                734
#define IDS_HOSTS_NOT_FOUND               736
#define IDS_FILE_CHANGE_CAPTION           1000
#define IDS_FILE_CHANGE_INTRO             1001
#define IDS_FILE_CHANGE_ACCEPT_HINT       1002
#define IDS_FILE_CHANGE_REJECT_HINT       1003
#define IDS_LABEL_FILENAME                1004
#define IDS_LABEL_LOCATION                1005
#define IDS_BTN_VIEW_NEW_FILE             1006
#define IDS_BTN_VIEW_PREVIOUS_FILE        1007
#define IDS_BTN_ACCEPT_CHANGE             1008
#define IDS_BTN_REJECT_CHANGE             1009
#define IDS_CHECK_STOP_MONITORING_FILE    1010

// History log
#define IDS_HISTORY_INTRO                 710
#define IDS_BTN_CLEAR_FILE                711
#define IDS_HISTORY_CAPTION               712
#define IDS_COL_DATE_MODIFIED             713
#define IDS_COL_ACTION                    715
#define IDS_BTN_RESTORE                   717

// Tray tooltips set by the category checks
#define IDS_TIP_STARTUP                   821
#define IDS_TIP_IE_HELPERS                822
#define IDS_TIP_NEW_COOKIES               826
#define IDS_TIP_FILE_TYPES                827
#define IDS_TIP_SYSTEM_FILES              828

// Browser start, search and desktop pages
#define IDS_KEY_IE_MAIN                   623

// Alert dialogs
#define IDS_BTN_INFO                      301
#define IDS_BTN_DISABLE                   633
#define IDS_LABEL_VERSION                 644
#define IDS_BTN_DELETE                    925

// Texts of our own where the system names a string but gives none
#define IDS_BTN_ONLINE_INFO               641

// Loaded by number, but the table has no text for them: they load empty.
#define IDS_NO_FILE_TYPE_SELECTION        60
