#pragma once
// What the panels ask of the window that holds them (the main window): moving
// to the recording folder next to the open one, and choosing a folder to open.
// Both report their own failures to the user.
class PanelOwner {
public:
    // 0 the next folder in name order, 1 the previous one.
    static constexpr int nextFolder = 0;
    static constexpr int previousFolder = 1;

    virtual void openNeighbourFolder(int direction) = 0;
    virtual void chooseAndOpenFolder() = 0;

protected:
    // The owner is a window object, freed with its window, never through this interface.
    ~PanelOwner() = default;
};
