#pragma once
// What the playback engine asks of the window that holds it (the main window):
// keeping the panels in step with the engine's state and frame, and falling
// back to the empty view when the open folder has gone.
#include <windows.h>

class PlaybackOwner {
public:
    // Parent of the playback window and owner of the engine's warning boxes.
    virtual HWND ownerWindow() const = 0;
    // After every change of state or frame: the console panel's buttons, the
    // chart, and the keyboard focus kept in the application.
    virtual void refresh() = 0;
    // Closes everything (the engine's recording included), empties the
    // thumbnail strip and the chart, and sets the display mode to event memory.
    virtual void resetToEmpty() = 0;
    virtual void repaintInformationPanel() = 0;
    virtual void resetChart() = 0;

protected:
    // The owner is a window object, freed with its window, never through this interface.
    ~PlaybackOwner() = default;
};
