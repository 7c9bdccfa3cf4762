#pragma once
// The keyboard's playback commands: shared by the accelerator table, the main
// menu's playback and view menus, and the code that carries them out.

#define IDR_PLAYBACK_KEYS 102

#define IDM_PLAY_PAUSE 40101
#define IDM_FRAME_BACK 40102
#define IDM_FRAME_FORWARD 40103
#define IDM_SECOND_BACK 40104
#define IDM_SECOND_FORWARD 40105
#define IDM_TEN_SECONDS_BACK 40106
#define IDM_TEN_SECONDS_FORWARD 40107
#define IDM_FIRST_FRAME 40108
#define IDM_LAST_FRAME 40109
#define IDM_PREVIOUS_FOLDER 40110
#define IDM_NEXT_FOLDER 40111
#define IDM_GO_TO_TIME 40112
#define IDM_SLOWER 40113
#define IDM_FASTER 40114
#define IDM_FULL_SCREEN 40115
#define IDM_LEAVE_FULL_SCREEN 40116
#define IDM_VOLUME_UP 40117
#define IDM_VOLUME_DOWN 40118
#define IDM_COPY_SHOWN_PICTURE 40119

// "Go to time": one date-and-time picker.
#define IDD_GO_TO_TIME 451
#define IDC_GO_TO_TIME_PICKER 1060
