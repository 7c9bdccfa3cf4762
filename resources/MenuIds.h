#pragma once
// Ids of the menu resources and of their commands, shared by the resource
// script and the code.

// The playback window's context menu in one-shot mode: one item, the copy.
#define IDR_ONESHOT_MENU 449
#define IDM_COPY_PICTURE 40026

// The main window's menu and its commands.
#define IDR_MAIN_MENU 101
#define IDM_OPEN 40004
#define IDM_EXIT 40005
#define IDM_RECORDER_SETTINGS 40012
#define IDM_DATE_TIME 40015
#define IDM_HELP 40019
#define IDM_ABOUT 40020
#define IDM_RESTORE_CARD 40024
#define IDM_EXPORT 40030
