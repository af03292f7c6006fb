#pragma once
#include "inventory/string_ids.h"

// Main window and tab sheet
#define IDS_EX_CLASS_NAME                 9
#define IDS_ABNORMAL_CONDITION            24
#define IDS_LOADING                       833

// Tab titles, also the report section titles
#define IDS_TAB_STARTUP                   606
#define IDS_TAB_ACTIVE_TASKS              607
#define IDS_TAB_COOKIES                   608
#define IDS_TAB_DELAYED                   609
#define IDS_TAB_OPTIONS                   610
#define IDS_TAB_SERVICES                  636
#define IDS_TAB_SCHEDULED                 680
#define IDS_TAB_IE_HELPERS                694
#define IDS_TAB_FILE_TYPES                739
#define IDS_TAB_HIDDEN                    973

// List page buttons, labels and context menu
#define IDS_HELP_CAPTION                  31
#define IDS_BTN_REMOVE                    302
#define IDS_BTN_REFRESH                   305
#define IDS_BTN_KILL_TASK                 306
#define IDS_BTN_LOG                       310
#define IDS_BTN_ADD                       311
#define IDS_LABEL_HELP                    793
#define IDS_LABEL_MONITOR                 794
#define IDS_MENU_VIEW_NOTE                971
#define IDS_MENU_EXPLORE_FOLDER           1135
#define IDS_MENU_PROPERTIES               1136

// List columns
#define IDS_COL_MODULE                    629
#define IDS_COL_PROGRAM_DESCRIPTION       631
#define IDS_COL_STATUS                    648
#define IDS_COL_STARTUP                   651
#define IDS_COL_NAME                      681
#define IDS_COL_LAST_RUN                  682
#define IDS_COL_NEXT_RUN                  683
#define IDS_COL_PROGRAM                   684
#define IDS_COL_COMPANY                   699
#define IDS_COL_TYPE                      714
#define IDS_COL_CLASS                     747
#define IDS_COL_EXTENSION                 748
#define IDS_COL_PATH                      776
#define IDS_COL_FIRST_DETECTED            912
#define IDS_COL_LAST_WRITTEN              914
#define IDS_COL_DELAY_TIME                1119

// Startup Programs page
#define IDS_CONFIRM_REMOVE_STARTUP        15
#define IDS_DISABLED_MARK                 626
#define IDS_BTN_ENABLE                    632
#define IDS_STARTUP_LOCATION              646
#define IDS_BTN_RESET                     677
#define IDS_LOC_IE_TOOLBAR                724
#define IDS_LOC_IE_BHO                    725
#define IDS_LOC_TASK_SCHEDULER            726
#define IDS_PATROL_STARTUP                784
#define IDS_ADD_PROGRAM_TITLE             902
#define IDS_ADD_PROGRAM_FILTER            903
#define IDS_MENU_MOVE_TO_DELAYED          1116

// Delayed Start page and its dialogs
#define IDS_BTN_APPLY                     662
#define IDS_DELAY_INTRO                   1100
#define IDS_DELAY_OPTIONS_HEADING         1111
#define IDS_DELAY_OPTIONS_CAPTION         1112
#define IDS_LABEL_MINUTES                 1113
#define IDS_LABEL_SECONDS                 1114
#define IDS_MENU_LAUNCH_PROGRAM           1117
#define IDS_MENU_DELAY_OPTIONS            1118
#define IDS_UNIT_MINUTES                  1121
#define IDS_UNIT_SECONDS                  1122
#define IDS_MENU_RESTORE_TO_STARTUP       1124
#define IDS_SCOPE_QUESTION                1126
#define IDS_SCOPE_ALL_USERS               1127
#define IDS_SCOPE_CURRENT_USER            1128
#define IDS_SCOPE_CAPTION                 1129
#define IDS_LABEL_TITLE                   1131
#define IDS_BTN_DELAY_OPTIONS             1132
#define IDS_DELAY_HINT                    1133
#define IDS_LABEL_OPEN_AS                 1141

// Inventory pages
#define IDS_LOCATION                      716
#define IDS_BTN_ADD_FILE_TYPE             753
#define IDS_PATROL_IE_HELPERS             785
#define IDS_PATROL_TASKS                  786
#define IDS_PATROL_FILE_TYPES             788
#define IDS_FILE_IN_USE                   923
#define IDS_PATROL_HIDDEN                 924
#define IDS_PATROL_SERVICES               957

// Program information dialog
#define IDS_LABEL_COMPANY                 643
#define IDS_LABEL_COPYRIGHT               645
#define IDS_BTN_STOP                      650
#define IDS_LABEL_STARTUP_TYPE            667
#define IDS_LABEL_STATUS                  668
#define IDS_BTN_FREE_INFO                 731
#define IDS_FILE_TYPE_EXTENSION           755
#define IDS_STATUS_READY                  831
#define IDS_BTN_RUN                       832
#define IDS_LABEL_DATE_CREATED            915
#define IDS_LABEL_LAST_SAVED              917
#define IDS_BTN_EXPAND                    918
#define IDS_BTN_SHRINK                    919
#define IDS_LABEL_FILE_SIZE               920
#define IDS_LABEL_DETECTED                921
#define IDS_BTN_CREATE_NOTE               969
#define IDS_BTN_SAVE_NOTE                 970

// Options page and Set Patrol Time dialog
#define IDS_OPTIONS_GROUP                 253
#define IDS_OPT_RUN_AT_START              353
#define IDS_OPT_SOUNDS                    354
#define IDS_OPT_WATCH_RESTART_FILE        355
#define IDS_OPT_WATCH_IE_PAGES            635
#define IDS_OPT_HISTORY                   709
#define IDS_BTN_VIEW_HISTORY              727
#define IDS_OPT_WATCH_HOSTS               735
#define IDS_OPT_CONFIRM_EXIT              749
#define IDS_PATROL_MINUTES                783
#define IDS_PATROL_COOKIES                787
#define IDS_PATROL_COOKIE_FILTER          789
#define IDS_PATROL_WININIT                790
#define IDS_PATROL_IE_PAGES               791
#define IDS_PATROL_HOSTS                  792
#define IDS_PATROL_ZERO_OFF               802
#define IDS_BTN_EXPORT_SETTINGS           853
#define IDS_PATROL_REALTIME               905
#define IDS_OPT_LOCK_FILE_TYPES           928
#define IDS_OPT_HIDE_TRAY_ICON            974
#define IDS_BTN_HIJACK_LOG                1137
#define IDS_BTN_SPREADSHEET               1145
#define IDS_OPT_ORIGINAL_TRAY_ICON        1148

// Cookie pages
#define IDS_COOKIE_VIEWER_CAPTION         29
#define IDS_NO_COOKIE_SELECTION           58
#define IDS_BTN_REMOVE_UNCHECKED          303
#define IDS_BTN_VIEW                      659
#define IDS_COL_CREATION_DATE             669
#define IDS_BTN_REMOVE_CHECKED            708
#define IDS_COOKIES_PAGE_TITLE            722
#define IDS_CONFIRM_REMOVE_UNCHECKED      728
#define IDS_CONFIRM_REMOVE_CHECKED        738
#define IDS_BTN_VIEW_COOKIES              774
#define IDS_COL_EXPIRES                   775
#define IDS_COL_VALUE                     777
#define IDS_COL_SSL                       778
#define IDS_FALSE                         780
#define IDS_COL_DOMAIN_COOKIE             781
#define IDS_CHECK_ALWAYS_VIEW_COOKIES     796
#define IDS_RADIO_MOZILLA                 797
#define IDS_RADIO_IE                      798
#define IDS_COOKIE_PATROL_ADVICE          965
#define IDS_COOKIE_FILTERS_HEADING        967

// Reports
#define IDS_LOG_RUNNING_PROCESSES         818
#define IDS_EXPORT_DONE                   854

// Texts of our own where the system names a string but gives none
#define IDS_INFO_DEFAULT_NOTE             647
#define IDS_INFO_MICROSOFT_FILE           908

// Loaded by number, but the table has no text for them: they load empty.
#define IDS_STARTUP_INTRO                 211
#define IDS_ACTIVE_TASKS_INTRO_1          221
#define IDS_ACTIVE_TASKS_INTRO_2          222
#define IDS_COOKIE_LIST_INTRO_1           231
#define IDS_COOKIE_LIST_INTRO_2           232
#define IDS_OPTIONS_INTRO                 251
#define IDS_SERVICES_INTRO_1              638
#define IDS_SERVICES_INTRO_2              639
#define IDS_TASKS_INTRO_1                 678
#define IDS_TASKS_INTRO_2                 679
#define IDS_IE_HELPERS_INTRO_1            695
#define IDS_IE_HELPERS_INTRO_2            696
#define IDS_FILE_TYPES_INTRO_1            740
#define IDS_FILE_TYPES_INTRO_2            741
#define IDS_ADD_FILE_TYPE_INTRO           751
#define IDS_ADD_FILE_TYPE_CAPTION         752
#define IDS_COOKIES_INTRO_1               771
#define IDS_COOKIES_INTRO_2               772
#define IDS_COOKIES_INTRO_3               773
#define IDS_PATROL_INTRO                  782
#define IDS_HIDDEN_INTRO_1                910
#define IDS_HIDDEN_INTRO_2                911
#define IDS_HIDE_TRAY_ICON_NOTE           927
