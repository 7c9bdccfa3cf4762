#pragma once
// A stand-in for the main window that holds the strip and records what the
// strip asks of it, a message pump with a deadline, an answerer for warning
// boxes, and read-back of the miniatures in the strip's image list.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "media/Thumbnail.h"
#include "media/ThumbnailOwner.h"
#include "support/MessagePump.h"
#include "ui/framework/Window.h"

class StripOwner : public Window, public ThumbnailOwner {
public:
    static constexpr int width = 800;
    static constexpr int height = 200;
    static constexpr int stripTop = height - Thumbnail::stripHeight;

    // A visible top-level window holding a strip along its bottom edge.
    StripOwner();

    HWND ownerWindow() const override { return handle(); }
    // As the main window does: empties the strip.
    void resetToEmpty() override;
    void showOneShotPicture(int index) override { shown.push_back(index); }

    Thumbnail* strip = nullptr;
    std::vector<int> shown;
    int resets = 0;
};

// Each test gets a fresh owner with its strip, destroyed at the end.
class StripTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    StripOwner* owner = nullptr;  // a window object: freed with its window
    Thumbnail* strip = nullptr;
};

// Opens folder and dispatches messages until every miniature is in the row.
::testing::AssertionResult openAndLoad(Thumbnail& strip, const std::wstring& folder, bool* tooMany = nullptr);

// The pixels of image-list cell index, top row first, as 0x00BBGGRR.
std::vector<COLORREF> cellPixels(HIMAGELIST images, int index);
// The pixels of a resource picture scaled to a cell as the strip scales it.
std::vector<COLORREF> resourceCell(int id);
// The client area of a window as it stands on screen, top row first, and its width.
std::vector<COLORREF> screenPixels(HWND window, int& width);
// The item's caption as the list holds it.
std::wstring itemText(HWND list, int index);
// Left, top, right, bottom of the item's bounds in the list's client area.
RECT itemBounds(HWND list, int index);
