#pragma once
// Numbers of the program's resources: dialogs, their controls, bitmaps, and
// the strings, which are addressed as LangBase plus a relative ID (banks) or
// by their own number (bank-less strings).

// Dialogs
#define IDD_DESTINATION       1
#define IDD_LANGUAGE          2
#define IDD_INSTALL_TYPE      3
#define IDD_SERVICE_ACCOUNT   4
#define IDD_MAINTENANCE       5
#define IDD_FILE_IN_USE       6
#define IDD_RESTART           8
#define IDD_DISK_PROMPT       9
#define IDD_CONFIRM_PASSWORD  11

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

// Service account dialog; the confirmation's edit is IDC_ACCOUNT_PASSWORD too
#define IDC_ACCOUNT_USER      401
#define IDC_ACCOUNT_PASSWORD  402
#define IDC_ACCOUNT_DOMAIN    403
#define IDC_ACCOUNT_USER_LABEL 404
#define IDC_ACCOUNT_DOMAIN_LABEL 405
#define IDC_ACCOUNT_PASSWORD_LABEL 406
#define IDC_ACCOUNT_TEXT      407
#define IDC_CONFIRM_TEXT      450

// Disk prompt
#define IDC_DISK_ICON         602
#define IDC_DISK_WHERE        801
#define IDC_DISK_PATH         802
#define IDC_DISK_MISSING      803

// Maintenance menu: the two tasks' buttons (Cancel is IDCANCEL) and texts
#define IDC_MENU_LOADER       501
#define IDC_MENU_UNINSTALL    502
#define IDC_MENU_LOADER_TEXT  503
#define IDC_MENU_UNINSTALL_TEXT 504
#define IDC_MENU_EXIT_TEXT    505

// File-in-use dialog: Yes is IDYES, No IDNO, Cancel IDCANCEL
#define IDC_IN_USE_YES_TO_ALL 601
#define IDC_IN_USE_ICON       602
#define IDC_IN_USE_TEXT       603

// Restart dialog: restart is IDOK, continue IDCANCEL
#define IDC_RESTART_TEXT      901
#define IDC_RESTART_QUESTION  902

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
#define IDS_YES               22
#define IDS_NO                23
#define IDS_YES_TO_ALL        24
#define IDS_RETRY             25
#define IDS_ACTION_PERFORMING 30
#define IDS_ACTION_COPYING    31
#define IDS_ACTION_ADDING_ICONS 32
#define IDS_ACTION_COMPLETE   33
#define IDS_ACTION_INSTALLING_SERVICES 34
#define IDS_ACTION_CHECKING_SERVICES 35
#define IDS_ACTION_UNINSTALLING 36
#define IDS_ACTION_UNINSTALLED 37
#define IDS_BILLBOARD_FIRST   40
#define IDS_THANK_YOU         43
#define IDS_GROUP_NAME        50
#define IDS_JOB_LAUNCHER      63
#define IDS_CANCEL_TITLE      70
#define IDS_CANCEL_INSTALL    71
#define IDS_README_TITLE      72
#define IDS_README_QUESTION   73
#define IDS_NO_SPACE_TITLE    74
#define IDS_NO_SPACE_TEXT     75    // drive (%.2s), path
#define IDS_CREATE_PATH_TITLE 76
#define IDS_CREATE_PATH_TEXT  77
#define IDS_BAD_PATH_TITLE    78
#define IDS_BAD_PATH_TEXT     79
#define IDS_SOURCE_OPEN_TITLE 80
#define IDS_SOURCE_OPEN_TEXT  81    // source path
#define IDS_DEST_OPEN_TITLE   84
#define IDS_DEST_OPEN_TEXT    85    // destination path, product, job launcher
#define IDS_WRITE_TITLE       86
#define IDS_WRITE_TEXT        87    // destination path
#define IDS_READ_TITLE        88
#define IDS_READ_TEXT         89    // source path
#define IDS_FILE_NOT_FOUND_TITLE 90
#define IDS_FILE_NOT_FOUND_TEXT 91  // file path
#define IDS_REGISTRY_TITLE    92
#define IDS_REGISTRY_CREATE   93
#define IDS_REGISTRY_SET      94
#define IDS_REGISTRY_CLOSE    95
#define IDS_DRIVERS_TITLE     96
#define IDS_DRIVERS_TEXT      97
#define IDS_LOADER_NOT_ADMIN  100
#define IDS_PRIVILEGE_TITLE   101
#define IDS_WARNING_TITLE     102
#define IDS_NOT_FIXED_DRIVE   111
#define IDS_CANCEL_UNINSTALL  120
#define IDS_INSERT_LOADER     121   // drive
#define IDS_INSERT_DISK       122   // disk number, drive
#define IDS_UNINSTALL_TITLE   123
#define IDS_UNINSTALL_QUESTION 124
#define IDS_RESTART_NOT_PERMITTED 125
#define IDS_DELETE_FAILED     128   // path, error code
#define IDS_PRIOR_TITLE       129
#define IDS_PRIOR_QUESTION    130
#define IDS_IN_USE_TEXT       131   // file name
#define IDS_IN_USE_TITLE      132
#define IDS_DEFAULT_DIRECTORY 250
#define IDS_DATA_DIRECTORY    251
#define IDS_CATALOG_DIRECTORY 252
#define IDS_README_VIEWER     253
#define IDS_SERVICE_NAMING         255   // service names and display names
#define IDS_SERVICE_NAMING_DISPLAY 256
#define IDS_SERVICE_SERVER         257
#define IDS_SERVICE_SERVER_DISPLAY 258
#define IDS_SERVICE_BROWSER        259
#define IDS_SERVICE_BROWSER_DISPLAY 260
#define IDS_TYPE_CAPTION      404   // 404 to 411: caption, three buttons, four texts
#define IDS_TYPE_BACKUP       405
#define IDS_TYPE_REMOTE       406
#define IDS_TYPE_JOBSCOPE     407
#define IDS_TYPE_BACKUP_TEXT  408
#define IDS_TYPE_REMOTE_TEXT  409
#define IDS_TYPE_JOBSCOPE_TEXT 410
#define IDS_TYPE_QUIT_TEXT    411
#define IDS_NOT_PRODUCT_TITLE 146
#define IDS_NOT_PRODUCT_TEXT  147   // directory
#define IDS_RESTORE_TITLE     152
#define IDS_RESTORE_TEXT      153   // file path, path of its earlier copy
#define IDS_MENU_CAPTION      412   // 412 to 417: caption, two buttons, three texts
#define IDS_MENU_LOADER       413
#define IDS_MENU_UNINSTALL    414
#define IDS_MENU_UNINSTALL_TEXT 415
#define IDS_MENU_LOADER_TEXT  416
#define IDS_MENU_EXIT_TEXT    417
#define IDS_IN_USE_CAPTION    418
#define IDS_IN_USE_QUESTION   419   // file name
#define IDS_RESTART_CAPTION   420   // 420 to 424: caption, two texts, two buttons
#define IDS_RESTART_TEXT      421
#define IDS_RESTART_QUESTION  422
#define IDS_RESTART_NOW       423
#define IDS_RESTART_LATER     424
#define IDS_DISK_CAPTION      432
#define IDS_DISK_MISSING      433   // file name

// Another setup running, the options box, and the event log's texts,
// relative to LangBase
#define IDS_BUSY_TITLE        460
#define IDS_BUSY_TEXT         461
#define IDS_HELP_TITLE        462
#define IDS_HELP_TEXT         463
#define IDS_EVENT_START_INSTALL 464 // install type, destination, language code, bank, unattended
#define IDS_EVENT_START_MAINTENANCE 465 // task, product directory, language code, bank, unattended
#define IDS_EVENT_ANSWERED    466   // answer, after the box's title and text
#define IDS_EVENT_END         467   // outcome, exit code
#define IDS_TASK_UNINSTALL    468
#define IDS_TASK_LOADER       469
#define IDS_TASK_MENU         470
#define IDS_ASKED_IN_DIALOG   471
#define IDS_OUTCOME_COMPLETED 472
#define IDS_OUTCOME_RESTART   473
#define IDS_OUTCOME_NOT_COMPLETED 474
#define IDS_OUTCOME_BUSY      475

// File names, relative to LangBase: on the source disk and as installed
#define IDS_DISKNAME_TWWINNT_EXE   160
#define IDS_DISKNAME_TWWINNT_HLP   161
#define IDS_DISKNAME_README        162
#define IDS_DISKNAME_TWRESNT       163
#define IDS_DISKNAME_LDRDLL        165
#define IDS_DISKNAME_SETUP         166
#define IDS_DISKNAME_VSDTABLE      167
#define IDS_DISKNAME_JOBSCOPE_EXE  168
#define IDS_DISKNAME_TWSERVER      169
#define IDS_DISKNAME_NMSAPI        170
#define IDS_DISKNAME_TWEVENTS      171
#define IDS_DISKNAME_TWNETAPI      172
#define IDS_DISKNAME_TWNETAT       173
#define IDS_DISKNAME_TWNETSPX      174
#define IDS_DISKNAME_TWNETTCP      175
#define IDS_DISKNAME_TWNETUTL      176
#define IDS_DISKNAME_TWI_TAPE      177
#define IDS_DISKNAME_JOBSCOPE_HLP  178
#define IDS_DISKNAME_TWNETNS       179
#define IDS_DISKNAME_TWNSER        180
#define IDS_DISKNAME_DLG3D32       181
#define IDS_DISKNAME_TWDIAG        182
#define IDS_DISKNAME_CHECKSUMS     183   // the checksum list, on the first disk
#define IDS_FILENAME_TWWINNT_EXE   200
#define IDS_FILENAME_TWWINNT_HLP   201
#define IDS_FILENAME_README        202
#define IDS_FILENAME_TWRESNT       203
#define IDS_FILENAME_LDRDLL        205
#define IDS_FILENAME_SETUP         206
#define IDS_FILENAME_VSDTABLE      207
#define IDS_FILENAME_JOBSCOPE_EXE  209
#define IDS_FILENAME_TWSERVER      210
#define IDS_FILENAME_NMSAPI        211
#define IDS_FILENAME_TWEVENTS      212
#define IDS_FILENAME_TWNETAPI      213
#define IDS_FILENAME_TWNETAT       214
#define IDS_FILENAME_TWNETSPX      215
#define IDS_FILENAME_TWNETTCP      216
#define IDS_FILENAME_TWNETUTL      217
#define IDS_FILENAME_TWI_TAPE      218
#define IDS_FILENAME_JOBSCOPE_HLP  219
#define IDS_FILENAME_TWNETNS       220
#define IDS_FILENAME_TWNSER        221
#define IDS_FILENAME_DLG3D32       223
#define IDS_FILENAME_TWDIAG        224

// Program Manager item titles, relative to LangBase
#define IDS_ITEM_README       64
#define IDS_ITEM_SETUP        65
#define IDS_ITEM_HELP         66
#define IDS_ITEM_JOBSCOPE     67
#define IDS_ITEM_TAPEWRIGHT   69

// Command-line options, relative to LangBase
#define IDS_OPT_MAINTENANCE   300
#define IDS_OPT_UNATTENDED    301
#define IDS_OPT_BACKUP_SERVER 302
#define IDS_OPT_REMOTE_ADMIN  303
#define IDS_OPT_JOBSCOPE_ONLY 304
#define IDS_OPT_LOADER        305
#define IDS_OPT_UNINSTALL     306
#define IDS_OPT_DESTINATION   307
#define IDS_OPT_COMMON        308
#define IDS_OPT_USER          311
#define IDS_OPT_DOMAIN        312
#define IDS_OPT_PASSWORD      313
#define IDS_OPT_REBOOT        314
#define IDS_KEY_DEFAULT       315   // "$DEFAULT$"
#define IDS_KEY_LOCAL         316   // "$LOCAL$"
#define IDS_KEY_DOMAIN        317   // "$DOMAIN$"
#define IDS_KEY_RANDOM        318   // "$RANDOM$"

// Service account messages and dialogs, relative to LangBase
#define IDS_UNEXPECTED_TITLE  106
#define IDS_UNEXPECTED_TEXT   107   // error code
#define IDS_LOGON_FAILED_TITLE 112
#define IDS_LOGON_FAILED_TEXT 113
#define IDS_RIGHT_FAILED      114   // OS, Net, Nt error
#define IDS_ADMIN_FAILED      115   // OS, Net, Nt error
#define IDS_CREATE_FAILED     116   // OS, Net, Nt error
#define IDS_SERVICE_ERROR     117   // code in hexadecimal, code in decimal
#define IDS_FOREIGN_SERVICE_TITLE 118
#define IDS_FOREIGN_SERVICE_TEXT 119 // service name, its program
#define IDS_NO_ACCOUNT_TITLE  133
#define IDS_NO_ACCOUNT_QUESTION 134 // display name
#define IDS_CREATED_TITLE     135
#define IDS_CREATED_TEXT      136   // full name
#define IDS_ADMIN_TITLE       139
#define IDS_ADMIN_QUESTION    140   // display name
#define IDS_GRANTED_TITLE     141
#define IDS_RIGHT_GRANTED     142   // display name
#define IDS_ADMIN_GRANTED     143   // display name
#define IDS_MISMATCH_TITLE    144
#define IDS_MISMATCH_TEXT     145
#define IDS_ACCOUNT_CAPTION   425   // 425 to 429: caption, "User:", "From:", "Password:", description
#define IDS_CONFIRM_CAPTION   430
#define IDS_CONFIRM_TEXT      431
