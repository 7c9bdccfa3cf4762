#pragma once
// The console's play/pause button: an image button that carries a second set
// of faces (pause) and swaps them in while the player is playing.
#include <windows.h>

#include <memory>

#include "ui/controls/ImageButton.h"

class PlayButton : public ImageButton {
public:
    PlayButton(HWND parent, int x, int y, int width, int height);
    ~PlayButton() override;

    // Loads the pause face (normal, pressed, disabled) as the face not shown.
    void loadPauseImages();
    // 1 shows the pause face, 0 the play face; the same state again does nothing.
    void setPlaying(int newState);
    int state() const { return state_; }

private:
    int state_ = 0;
    std::unique_ptr<AlphaImage> altNormalImage_;
    std::unique_ptr<AlphaImage> altPressedImage_;
    std::unique_ptr<AlphaImage> altDisabledImage_;
};
