#pragma once
// Numbers of the program's resources: dialogs, their controls, bitmaps, and
// the strings, which are addressed as LangBase plus a relative ID (banks) or
// by their own number (bank-less strings).

// Dialogs
#define IDD_DESTINATION       1
#define IDD_LANGUAGE          2
#define IDD_INSTALL_TYPE      3
#define IDD_DISK_PROMPT       9

// Destination dialog
#define IDC_DEST_TEXT         201
#define IDC_DEST_EDIT         200
#define IDC_DEST_COMMON       203

// Language dialog: radio buttons 1001 to 1008, one per language index
#define IDC_LANGUAGE_FIRST    1001
#define IDC_LANGUAGE_COUNT    8

// Install-type dialog
#define IDC_TYPE_BACKUP       301
#define IDC_TYPE_JOBSCOPE     302
#define IDC_TYPE_REMOTE       303
#define IDC_TYPE_BACKUP_TEXT  304
#define IDC_TYPE_REMOTE_TEXT  305
#define IDC_TYPE_JOBSCOPE_TEXT 306
#define IDC_TYPE_QUIT_TEXT    307

// Disk prompt
#define IDC_DISK_ICON         602
#define IDC_DISK_WHERE        801
#define IDC_DISK_PATH         802
#define IDC_DISK_MISSING      803

// Bitmaps
#define IDB_GAUGE_FILL        102
#define IDB_BILLBOARD_256     104
#define IDB_BACKGROUND_256    105
#define IDB_BILLBOARD_16      106
#define IDB_PATTERN_16        107

// Bank-less strings
#define IDS_TOTAL_KILOBYTES   2
#define IDS_BILLBOARD_COUNT   10
#define IDS_LANGUAGE_BUTTONS  30
#define IDS_LANGUAGES_OFFERED 31
#define IDS_LANGUAGE_NAME     40   // + language index
#define IDS_LANGUAGE_CODE     50   // + language index

// Bank strings, relative to LangBase
#define IDS_FRAME_CAPTION     1
#define IDS_WELCOME           4
#define IDS_DEST_CAPTION      10
#define IDS_DEST_TEXT         11
#define IDS_DEST_COMMON       13
#define IDS_CANCEL            20
#define IDS_OK                21
#define IDS_CANCEL_TITLE      70
#define IDS_CANCEL_INSTALL    71
#define IDS_CANCEL_UNINSTALL  120
#define IDS_TYPE_CAPTION      404   // 404 to 411: caption, three buttons, four texts
#define IDS_DEFAULT_DIRECTORY 250

// Command-line options, relative to LangBase
#define IDS_OPT_MAINTENANCE   300
#define IDS_OPT_UNATTENDED    301
#define IDS_OPT_BACKUP_SERVER 302
#define IDS_OPT_REMOTE_ADMIN  303
#define IDS_OPT_JOBSCOPE_ONLY 304
#define IDS_OPT_DESTINATION   307
