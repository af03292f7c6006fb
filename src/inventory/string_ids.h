#pragma once
// Strings the shared library loads; both programs' tables hold them under the same numbers.
#define IDS_CAPTION 2
#define IDS_ALT_RUN_NAME 622
#define IDS_LANGUAGE 634
#define IDS_LOCAL_FILE_NOT_FOUND 730
#define IDS_TIME_NEVER 686
#define IDS_CONFIRM_STOP_PROGRAM 707
