#pragma once
// Ids of the menu resources and of their commands, shared by the resource
// script and the code.

// The playback window's context menu in one-shot mode: one item, the copy.
#define IDR_ONESHOT_MENU 449
#define IDM_COPY_PICTURE 40026
