#pragma once
// The framework's own resource ids: button results, its commands (files, recent files, views,
// help), the status bar's indicators and its strings. A program's tables give these ids their texts,
// menus and images; the numbers are those of the platform the program was designed for.

// ---- Standard dialog and button results / control ids
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDC_STATIC (-1)

// ---- The framework's commands
#define ID_SEPARATOR 0
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_CLOSE 57602
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_FILE_MRU_FILE1 57616
#define ID_FILE_MRU_FILE2 57617
#define ID_FILE_MRU_FILE3 57618
#define ID_FILE_MRU_FILE4 57619
#define ID_FILE_MRU_FILE16 57631
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_HELP_FINDER 57667
#define ID_HELP_USING 57668
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_DEFAULT_HELP 57671
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// ---- The framework's strings
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345
#define AFX_IDS_UNTITLED 61443
#define AFX_IDS_ALLFILTER 61447
#define AFX_IDS_OPENFILE 61448
#define AFX_IDS_SAVEFILE 61449
#define AFX_IDP_INVALID_FILENAME 61696
#define AFX_IDP_FAILED_TO_OPEN_DOC 61697
#define AFX_IDP_FAILED_TO_SAVE_DOC 61698
#define AFX_IDP_ASK_TO_SAVE 61699
#define AFX_IDP_FAILED_TO_CREATE_DOC 61700
#define AFX_IDP_PARSE_INT 61704
#define AFX_IDP_FILE_NONE 61728
#define AFX_IDP_FILE_GENERIC 61729
#define AFX_IDP_FILE_NOT_FOUND 61730
#define AFX_IDP_FILE_BAD_PATH 61731
#define AFX_IDP_FILE_TOO_MANY_OPEN 61732
#define AFX_IDP_FILE_ACCESS_DENIED 61733
#define AFX_IDP_FILE_INVALID_FILE 61734
#define AFX_IDP_FILE_REMOVE_CURRENT 61735
#define AFX_IDP_FILE_DIR_FULL 61736
#define AFX_IDP_FILE_BAD_SEEK 61737
#define AFX_IDP_FILE_HARD_IO 61738
#define AFX_IDP_FILE_SHARING 61739
#define AFX_IDP_FILE_LOCKING 61740
#define AFX_IDP_FILE_DISKFULL 61741
#define AFX_IDP_FILE_EOF 61742
#define AFX_IDP_ARCH_BADFORMAT 61749
