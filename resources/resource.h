#pragma once

// Resource ids shared by the resource script and the code. Plain #defines so
// that windres can read this header too.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icons
#define IDI_PROGRAM 128
#define IDI_PLAYING 205
#define IDI_PAUSED 206

// Frame (caption, class icons) and tray menu
#define IDR_FRAME 128
#define IDR_TRAYMENU 201

// Dialog templates
#define IDD_ABOUT 100
#define IDD_SETTINGS 203

// String table
#define IDS_FRAME_CAPTION 128
#define IDS_PRODUCT 129
#define IDS_CONFIRM_DELETE 130
#define IDS_WARNING 131
#define IDS_COLUMN_PATH 138
#define IDS_PAUSE 139
#define IDS_START 140
#define IDS_STRETCH 141
#define IDS_TILE 142
#define IDS_CENTER 143
#define IDS_CHOOSE_FOLDER 144
#define IDS_FOLDER_LISTED 146
#define IDS_COLUMN_CURRENT 147
#define IDS_CONFIRM_NO_FOLDERS 148

// Tray menu commands
#define ID_NEXT_PICTURE 32777
#define ID_DELETE_PICTURE 32779
#define ID_PREVIOUS_PICTURE 32781
#define ID_SETTINGS 32783
#define ID_PAUSE_START 32788
#define ID_CLEAR_DESKTOP 32791
#define ID_OPEN_FOLDER 32794
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57670

// About dialog
#define IDC_WEB_LINK 1006
#define IDC_MAIL_LINK 1007

// Settings dialog
#define IDC_INTERVAL 1002
#define IDC_INTERVAL_SPIN 1003
#define IDC_FOLDER_LIST 1009
#define IDC_ADD_FOLDER 1010
#define IDC_DELETE_FOLDER 1011
#define IDC_AUTORUN 1012
#define IDC_STYLE 1013
#define IDC_GO_TO 1014
