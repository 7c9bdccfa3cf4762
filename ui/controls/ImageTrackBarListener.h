#pragma once
// How an image track bar reports to its owner; the sender tells an owner with
// several bars which one moved.
class ImageTrackBar;

class ImageTrackBarListener {
public:
    // The value may have changed; also sent every 100 ms while the bar is held.
    virtual void onTrackChange(ImageTrackBar* bar) = 0;
    // The left mouse button went down on the bar.
    virtual void onTrackBegin(ImageTrackBar* bar) = 0;
    // The left mouse button was released after a drag.
    virtual void onTrackEnd(ImageTrackBar* bar) = 0;

protected:
    // Owners are window objects deleted through Window, never through this.
    ~ImageTrackBarListener() = default;
};
