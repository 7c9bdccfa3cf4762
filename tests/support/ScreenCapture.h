#pragma once
// The screen as a monitor would show it, popups included: read from the file
// in which the virtual X server keeps its framebuffer (ORVELLE_FRAMEBUFFER,
// set by cmake/wine-run.sh). A capture through the display (a window's device
// context, or a dump of the X root window) shows Wine's popup windows as black
// boxes; this one does not. Screen coordinates are framebuffer coordinates.
#include <windows.h>

#include <string>

#include "support/WindowPixels.h"

class ScreenCapture {
public:
    // Whether a framebuffer can be read; reason tells why not.
    static bool available(std::string& reason);
    // The pixels of area (screen coordinates) after Wine has had time to hand
    // what was drawn to the X server; empty when there is no framebuffer.
    static WindowPixels area(const RECT& area);
    // The same without waiting: for a thread other than the one drawing.
    static WindowPixels areaAsIs(const RECT& area);
    // A window's outer rectangle, caption and edges included.
    static WindowPixels window(HWND window);
    // A window's client area.
    static WindowPixels client(HWND window);
    // Keeps pixels as name.png in the working directory (the test's build
    // folder) for people to look at.
    static bool keep(const std::string& name, const WindowPixels& pixels);
};
