// Numeric ids shared by the resource script and the code.
#pragma once

#define IDR_APP_MANIFEST 1
#define IDV_VERSION 1

// Main window, About box, folder dialog and help page.
#define IDM_MAIN_MENU 101
#define IDD_ABOUT 132
#define IDC_ABOUT_VERSION 1035
#define IDC_ABOUT_SUPPORT_LINK 1038
#define IDC_ABOUT_APP_NAME 1053
#define IDC_ABOUT_ICON 1054
#define IDC_FOLDER_KIND_LABEL 1007
#define IDC_FOLDER_KIND_LIST 5503
#define IDI_APP_ICON 294
#define IDC_MENU_OPEN 40004
#define IDC_MENU_EXIT 40005
#define IDC_MENU_DEVICE_SETTINGS 40012
#define IDC_MENU_CLOCK_SETTINGS 40015
#define IDC_MENU_HELP 40019
#define IDC_MENU_ABOUT 40020
#define IDC_MENU_RESTORE 40024
#define IDH_HELP_PAGE 22100
#define IDH_HELP_FIRST_PICTURE 22101
#define IDH_HELP_LAST_PICTURE 22131

// Video player: the context menu of a still image.
#define IDM_PLAYER_IMAGE_MENU 449
#define IDC_PLAYER_COPY 40026

// Export from the ファイル menu: the open record as an AVI file, the picture on screen as a
// PNG file, the telemetry as a CSV file, and the progress dialog of the first and the last.
#define IDC_MENU_EXPORT_VIDEO 40100
#define IDC_MENU_SAVE_PICTURE 40101
#define IDC_MENU_EXPORT_TELEMETRY 40102
#define IDC_MENU_EXPORT_OVERLAY 40103
#define IDD_EXPORT_PROGRESS 600
#define IDC_EXPORT_PROGRESS_TEXT 601
#define IDC_EXPORT_PROGRESS_BAR 602

// Keyboard control of the main window: the accelerator table and its 再生 menu.
#define IDR_PLAYBACK_KEYS 603
#define IDC_MENU_PLAY_PAUSE 40104
#define IDC_MENU_PREVIOUS_FRAME 40105
#define IDC_MENU_NEXT_FRAME 40106
#define IDC_MENU_FIRST_FRAME 40107
#define IDC_MENU_LAST_FRAME 40108
#define IDC_MENU_PREVIOUS_CHAPTER 40109
#define IDC_MENU_NEXT_CHAPTER 40110
#define IDC_MENU_COPY_PICTURE 40111
#define IDS_EXPORT_VIDEO_FILTER 5600
#define IDS_EXPORT_PICTURE_FILTER 5601
#define IDS_EXPORT_TELEMETRY_FILTER 5602
#define IDS_EXPORT_VIDEO_PROGRESS 5603
#define IDS_EXPORT_FAILED 5604
#define IDS_EXPORT_VIDEO_FAILED 5605
#define IDS_EXPORT_VIDEO_TOO_LARGE 5606
#define IDS_EXPORT_NO_PICTURE 5607
#define IDS_EXPORT_TELEMETRY_PROGRESS 5608
