#pragma once
// Resource identifiers of Keyloft: dialog templates, controls, menus, commands and strings.
// The numbers are fixed: settings, the hand-over between instances and the help texts rely on them.
// The framework's own ids (IDOK, ID_FILE_*, AFX_IDS_*, ...) come from its AfxRes.h.

#include "framework/AfxRes.h"

// ---- Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_PROPERTIES 105
#define IDD_PASSWORD 106
#define IDD_MASTER_PASSWORD 107
#define IDD_NEW_ENTRY 108
#define IDD_PASTE 109
#define IDD_CONFIRM_PASSWORD 113
#define IDD_README 114
#define IDD_OPTIONS 115
#define IDD_LICENSE 117
#define IDD_CONFIRM_REPLACE 118

// ---- Menus, icons, the document template, the tray icon
#define IDR_TRAYICON 102     // tray icon, its tip string and its menu
#define IDR_MAINFRAME 103    // program icon, menu bar, accelerators, toolbar, document template strings
#define IDR_CONTEXT_MENU 116 // the entry list's context menu

// ---- Controls
#define IDC_VIEW_LIST 101          // the entry list inside the main view
#define IDC_REVEAL 1001            // Properties, Confirm Replace
#define IDC_PASTE_LIST 1002        // Paste dialog
#define IDC_SYSTEM 1003            // New entry, Properties
#define IDC_USERNAME 1004          // New entry, Properties
#define IDC_PASSWORD 1005          // New entry, Properties, Enter password
#define IDC_WITH_SYSTEM 1006       // Confirm Replace, incoming side
#define IDC_PASTE_PASSWORD 1007    // Paste dialog
#define IDC_WITH_USERNAME 1008     // Confirm Replace, incoming side
#define IDC_PASTE_USERNAME 1009    // Paste dialog
#define IDC_WITH_PASSWORD 1010     // Confirm Replace, incoming side
#define IDC_DAYS 1011              // Properties
#define IDC_WITH_LASTMODIFIED 1012 // Confirm Replace, incoming side
#define IDC_HOTKEY 1013            // Options
#define IDC_PASTE_CLOSE 1014       // Paste dialog
#define IDC_ORIGINAL_PASSWORD 1015 // Master password
#define IDC_NEW_PASSWORD 1016      // Master password
#define IDC_PRINT 1024             // text viewers
#define IDC_PASTE_TO 1026          // Paste dialog
#define IDC_APP_ICON 1030          // About box
#define IDC_CONFIRM 1031           // Confirm password
#define IDC_SHOW_README 1033       // ReadMe viewer
#define IDC_TRAY 1035              // Options
#define IDC_ENABLE_HOTKEY 1036     // Options
#define IDC_STARTUP_FILE 1037      // Options
#define IDC_BROWSE 1038            // Options
#define IDC_PRODUCT_NAME 1040      // About box
#define IDC_COPYRIGHT 1041         // About box
#define IDC_PRODUCT_VERSION 1042   // About box
#define IDC_CUR_SYSTEM 1043        // Confirm Replace, current side
#define IDC_CUR_USERNAME 1044      // Confirm Replace, current side
#define IDC_CUR_PASSWORD 1045      // Confirm Replace, current side
#define IDC_CUR_LASTMODIFIED 1046  // Confirm Replace, current side
#define IDC_TEXT 1047              // text viewers

// ---- The program's commands
#define ID_EDIT_ADD 32771
#define ID_EDIT_DELETE 32772
#define ID_TRAY_CONFIGURE 32790
#define ID_TRAY_PASTE 32791
#define ID_TRAY_ADD 32795
#define ID_VIEW_OPTIONS 32799
#define ID_FILE_PASSWORD 32800
#define ID_TRAY_EXIT 32801
#define ID_HELP_README 32802
#define ID_FILE_MERGE 32803
#define ID_HELP_LICENSE 32805
#define ID_EDIT_PROPERTIES 32808

// ---- The program's strings (the tray tip is IDR_TRAYICON, the template strings IDR_MAINFRAME)
#define IDS_SWITCHES 61204
#define IDS_INVALID_PASSWORD 61205
#define IDS_CONFIRM_MISMATCH 61206
#define IDS_ORIGINAL_INCORRECT 61213
#define IDS_DEFAULT_FILE_CREATED 61215
#define IDS_ENCRYPTED_EDITION 61216
#define IDS_FILE_NOT_SAVED 61217
#define IDS_DELETE_MARKED 61218
#define IDS_ENTER_PASSWORD 61222
#define IDS_ENTER_PASSWORD_FOR 61223
#define IDS_DELETE_ENTRY 61229
#define IDS_NEED_SYSTEM_NAME 61230
#define IDS_PRINT_ERROR 61231
#define IDS_MERGE_COMPLETE 61232
#define IDS_DUPLICATE_SYSTEM 61233
#define IDS_PASSWORD_TOO_LONG 61240
// Texts that the program formats or shows without a number of their own in older builds.
#define IDS_NO_PASTE_TARGET 61250
#define IDS_TARGET_GONE 61251
#define IDS_AUTOSTART_FOLDER_FAILED 61252
#define IDS_AUTOSTART_ENTRY_FAILED 61253
#define IDS_TEXT_FILE_MISSING 61254
#define IDS_ABORT_SETUP_ERROR 61255
#define IDS_PRODUCT_LINE 61256
#define IDS_VERSION_LINE 61257
#define IDS_README_TITLE 61258
#define IDS_LICENSE_TITLE 61259
// Texts of this program's own.
#define IDS_FILE_CHANGED_ELSEWHERE 61270
#define IDS_INSTANCE_UNREACHABLE 61271
#define IDS_NO_PRIVATE_FOLDER 61272
#define IDS_CHARACTERS_NOT_TYPED 61273
#define IDS_CANNOT_TYPE_HERE 61274
#define IDS_TYPING_STOPPED 61275
#define IDS_INVALID_PASSWORD_OR_DAMAGED 61280
#define IDS_OPEN_FILTER 61281 // the types that Open and Merge take, in the file dialog's filter form
#define IDS_SAVE_FILTER 61282 // the types that Save As offers
#define IDS_USAGE 61290
#define IDS_STARTUP_FOLDER_MISSING 61291
#define IDS_ASK_STARTUP_FOLDER_MISSING 61292
