#pragma once
// How an image button reports to its owner. The sender is passed so that an
// owner with several buttons can tell them apart by pointer.
class ImageButton;

class ImageButtonListener {
public:
    // Released over the button (mouse button or Enter).
    virtual void onClick(ImageButton* button) = 0;
    // Went down, and again every 100 ms while it stays down.
    virtual void onPress(ImageButton* button) = 0;

protected:
    // Owners are window objects deleted through Window, never through this.
    ~ImageButtonListener() = default;
};
