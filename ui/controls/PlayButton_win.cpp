#include "resources/ImageIds.h"
#include "ui/controls/PlayButton.h"

PlayButton::PlayButton(HWND parent, int x, int y, int width, int height) : ImageButton(parent, x, y, width, height) {}

PlayButton::~PlayButton() = default;

void PlayButton::loadPauseImages() {
    altNormalImage_.reset();
    altPressedImage_.reset();
    altDisabledImage_.reset();
    altNormalImage_ = std::make_unique<AlphaImage>(IDB_PAUSE);
    altPressedImage_ = std::make_unique<AlphaImage>(IDB_PAUSE_PRESSED);
    altDisabledImage_ = std::make_unique<AlphaImage>(IDB_PAUSE_DISABLED);
}

// All three faces change together, so a disabled or held button shows the
// face of the current state too.
void PlayButton::setPlaying(int newState) {
    if (newState == state_) return;
    normalImage_.swap(altNormalImage_);
    pressedImage_.swap(altPressedImage_);
    disabledImage_.swap(altDisabledImage_);
    state_ = newState;
    redrawNow();
}
