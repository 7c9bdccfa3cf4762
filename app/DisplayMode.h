#pragma once
// Which kind of recording is being viewed; set by opening a folder and by the
// folder dialog, read by the engine, the thumbnail strip and the panels.
enum DisplayModeValue {
    DisplayModeEvent = 0,    // "Video.dvt"
    DisplayModeOneShot = 1,  // "*.dpc"
    DisplayModeVideo = 2     // "Video????.dmv"
};

extern int displayMode;
