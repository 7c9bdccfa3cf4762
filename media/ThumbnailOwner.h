#pragma once
// What the thumbnail strip asks of the window that holds it (the main window):
// showing the picture the user chose, and falling back to the empty view when
// the open folder has gone. ownerWindow and resetToEmpty are declared exactly
// as in PlaybackOwner, so one main window answers both with one method each.
#include <windows.h>

class ThumbnailOwner {
public:
    // Parent of the strip and owner of its warning boxes.
    virtual HWND ownerWindow() const = 0;
    // Closes everything (the strip's folder included) and returns to event memory.
    virtual void resetToEmpty() = 0;
    // Shows one-shot entry index of the strip in the playback window.
    virtual void showOneShotPicture(int index) = 0;

protected:
    // The owner is a window object, freed with its window, never through this interface.
    ~ThumbnailOwner() = default;
};
