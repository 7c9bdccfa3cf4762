#include <algorithm>
#include <cwchar>
#include <initializer_list>

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "media/FrameClock.h"
#include "media/VideoPlayer.h"
#include "recording/RecordingFolder.h"
#include "resources/ImageIds.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/PlayButton.h"
#include "ui/controls/PlayTrackBar.h"
#include "ui/controls/TrackToolTip.h"
#include "ui/main/ConsolePanel.h"
#include "ui/main/PanelOwner.h"
#include "ui/main/PlaybackReadout.h"

namespace {

constexpr int kPlayTip = 5072;
constexpr int kStopTip = 5073;
constexpr int kPreviousTip = 5074;
constexpr int kNextTip = 5075;
constexpr int kFrameForwardTip = 5076;
constexpr int kFrameBackTip = 5077;
constexpr int kPreviousChapterTip = 5514;
constexpr int kNextChapterTip = 5515;

// The bar starts where the step buttons end and leaves room on the right for the offset.
constexpr int kBarLeft = 249;
constexpr int kBarTop = 26;
constexpr int kBarHeight = 30;
constexpr int kBarMargin = 344;

constexpr int kMaxOffsetCharacters = 256;
constexpr wchar_t kNoOffset[] = L"\u00b100.0";

std::unique_ptr<AlphaImage> load(int id) {
    return std::make_unique<AlphaImage>(id);
}

std::array<std::unique_ptr<AlphaImage>, 10> loadDigits() {
    std::array<std::unique_ptr<AlphaImage>, 10> digits;
    for (int d = 0; d < 10; ++d) digits[static_cast<std::size_t>(d)] = load(IDB_OFFSET_DIGIT_0 + d);
    return digits;
}

bool decoded(const std::unique_ptr<AlphaImage>& picture) {
    return picture && picture->image();
}

bool isOpen(int playState) {
    return playState == VideoPlayer::statePlaying || playState == VideoPlayer::stateStopped ||
           playState == VideoPlayer::statePaused;
}

bool isVideoMemory() {
    return displayMode == DisplayModeVideo;
}

}  // namespace

ConsolePanel::ConsolePanel(HWND parent, PanelOwner& owner, VideoPlayer& player)
    : owner_(owner),
      player_(player),
      // Loaded before the window exists, so an absent picture leaves no window
      // behind bound to an object that was never finished.
      leftPicture_(load(IDB_CONSOLE_LEFT)),
      middleTile_(load(IDB_CONSOLE_MIDDLE)),
      rightPicture_(load(IDB_CONSOLE_RIGHT)),
      disabledTile_(load(IDB_CONSOLE_DISABLED_MIDDLE)),
      disabledRight_(load(IDB_CONSOLE_DISABLED_RIGHT)),
      digits_(loadDigits()),
      point_(load(IDB_OFFSET_POINT)),
      plus_(load(IDB_OFFSET_PLUS)),
      minus_(load(IDB_OFFSET_MINUS)),
      plusMinus_(load(IDB_OFFSET_PLUS_MINUS)) {
    create(WS_EX_CONTROLPARENT, defaultClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
           nullptr, GetModuleHandleW(nullptr), nullptr);
    createButtons();
    createPositionBar();
    createToolTip();
    readout_ = std::make_unique<PlaybackReadout>();
}

ConsolePanel::~ConsolePanel() {
    PlaybackReadout::attach(nullptr);
}

void ConsolePanel::createButtons() {
    playButton_ = new PlayButton(handle(), 23, 11, 40, 40);
    playButton_->setImages(IDB_PLAY, IDB_PLAY_PRESSED, IDB_PLAY_DISABLED);
    playButton_->loadPauseImages();
    playButton_->bordered = false;
    playButton_->listener = this;

    const auto makeButton = [this](int x, int y, int size, int normal, int pressed, int disabled, bool bordered) {
        auto* button = new ImageButton(handle(), x, y, size, size);
        button->setImages(normal, pressed, disabled);
        button->bordered = bordered;
        button->listener = this;
        return button;
    };
    stopButton_ = makeButton(67, 18, 26, IDB_STOP, IDB_STOP_PRESSED, IDB_STOP_DISABLED, false);
    previousButton_ = makeButton(107, 17, 30, IDB_PREVIOUS_RECORDING, IDB_PREVIOUS_RECORDING_PRESSED,
                                 IDB_PREVIOUS_RECORDING_DISABLED, true);
    nextButton_ =
        makeButton(140, 17, 30, IDB_NEXT_RECORDING, IDB_NEXT_RECORDING_PRESSED, IDB_NEXT_RECORDING_DISABLED, true);
    frameForwardButton_ =
        makeButton(220, 22, 22, IDB_FRAME_FORWARD, IDB_FRAME_FORWARD_PRESSED, IDB_FRAME_FORWARD_DISABLED, true);
    frameBackButton_ = makeButton(198, 22, 22, IDB_FRAME_BACK, IDB_FRAME_BACK_PRESSED, IDB_FRAME_BACK_DISABLED, true);
}

void ConsolePanel::createPositionBar() {
    positionBar_ = new PlayTrackBar(handle());
    positionBar_->setImages(IDB_POSITION_THUMB, IDB_POSITION_TRACK, IDB_POSITION_FILL);
    positionBar_->sliced = true;
    positionBar_->listener = this;
}

void ConsolePanel::createToolTip() {
    toolTip_ = new TrackToolTip(handle());
    toolTip_->addTool(loadText(kPlayTip), playButton_->handle());
    toolTip_->addTool(loadText(kStopTip), stopButton_->handle());
    toolTip_->addTool(loadText(kPreviousTip), previousButton_->handle());
    toolTip_->addTool(loadText(kNextTip), nextButton_->handle());
    toolTip_->addTool(loadText(kFrameForwardTip), frameForwardButton_->handle());
    toolTip_->addTool(loadText(kFrameBackTip), frameBackButton_->handle());
    // While the thumb is dragged: the date and time of the frame under it.
    PlaybackReadout::attach(&player_);
    positionBar_->toolTip = toolTip_;
    positionBar_->valueFormatter = &PlaybackReadout::positionTip;
    toolTip_->addTrackingTool(positionBar_->handle(), positionBar_->valueText());
}

LRESULT ConsolePanel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            onSize(LOWORD(lParam));
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

// ---- Operations for the main window ----

void ConsolePanel::update() {
    if (!isEnabled()) return;
    const PlayerState state = readPlayer();
    updateButtons(state);
    updatePositionBar(state);
}

void ConsolePanel::setModeTooltips(int mode) {
    if (!toolTip_) return;
    const bool chapters = mode == DisplayModeVideo;
    toolTip_->setToolText(frameForwardButton_->handle(), loadText(chapters ? kNextChapterTip : kFrameForwardTip));
    toolTip_->setToolText(frameBackButton_->handle(), loadText(chapters ? kPreviousChapterTip : kFrameBackTip));
}

void ConsolePanel::setControlsEnabled(bool enabled) {
    for (Window* control :
         std::initializer_list<Window*>{playButton_, stopButton_, frameForwardButton_, frameBackButton_,
                                        previousButton_, nextButton_, positionBar_}) {
        control->setEnabled(enabled);
    }
    for (Window* control : std::initializer_list<Window*>{frameForwardButton_, frameBackButton_, positionBar_}) {
        control->setVisible(enabled);
    }
}

void ConsolePanel::resetPosition() {
    positionBar_->setValue(0, false);
}

std::wstring ConsolePanel::eventOffsetText(bool hasInformation, int triggerKind, int currentFrame, int referenceFrame,
                                           int framesPerSecond) {
    // An event kind without a reference frame (a recording without frames) has
    // no moment to count from.
    if (!hasInformation || (triggerKind != 1 && triggerKind != 2) || referenceFrame < 0 || framesPerSecond <= 0) {
        return kNoOffset;
    }
    // Tenths of a second, truncated toward zero.
    const int tenths = (currentFrame - referenceFrame) * 10 / framesPerSecond;
    if (tenths == 0) return kNoOffset;
    const int magnitude = tenths < 0 ? -tenths : tenths;
    wchar_t text[kMaxOffsetCharacters];
    std::swprintf(text, kMaxOffsetCharacters, tenths > 0 ? L"+%02d.%d" : L"-%02d.%d", magnitude / 10, magnitude % 10);
    return text;
}

// ---- Listener operations ----

void ConsolePanel::onClick(ImageButton* button) {
    if (button == playButton_) {
        playOrPause();
    } else if (button == stopButton_) {
        player_.seek(0);
    } else if (button == nextButton_) {
        owner_.openNeighbourFolder(PanelOwner::nextFolder);
    } else if (button == previousButton_) {
        owner_.openNeighbourFolder(PanelOwner::previousFolder);
    } else if (isVideoMemory()) {
        // The step buttons are chapter buttons here, acting on the click only.
        if (button == frameForwardButton_) stepChapter(1);
        if (button == frameBackButton_) stepChapter(-1);
    }
}

// Also every 100 ms while held, so holding a step button keeps stepping until
// update disables it at the first or last frame.
void ConsolePanel::onPress(ImageButton* button) {
    if (isVideoMemory()) return;
    if (button == frameForwardButton_) stepFrame(1);
    if (button == frameBackButton_) stepFrame(-1);
}

void ConsolePanel::onTrackBegin(ImageTrackBar* /*bar*/) {
    dragState_ = player_.playState();
}

// Seeking stops a playing recording, so the picture follows the thumb.
void ConsolePanel::onTrackChange(ImageTrackBar* bar) {
    int frame = bar->value();
    if (isVideoMemory()) frame -= player_.chapter() * kFramesPerChapter;
    player_.seek(frame);
}

// A drag over an empty bar must not open a chapter of a recording that is no longer open.
void ConsolePanel::onTrackEnd(ImageTrackBar* bar) {
    if (player_.playState() == VideoPlayer::stateClosed) return;
    if (isVideoMemory()) {
        player_.seekAbsolute(bar->value(), dragState_);
    } else if (dragState_ == VideoPlayer::statePlaying) {
        playOrResume();
    }
}

void ConsolePanel::playOrPause() {
    if (playButton_->state() == 1) {
        player_.pause();
    } else if (isVideoMemory() && isAtEndOfLastChapter()) {
        player_.seekAbsolute(0, VideoPlayer::statePlaying);
    } else {
        playOrResume();
    }
}

void ConsolePanel::playOrResume() {
    if (player_.playState() == VideoPlayer::statePaused) {
        player_.resume();
    } else {
        player_.playFrom(player_.currentFrame());
    }
}

bool ConsolePanel::isAtEndOfLastChapter() const {
    const int chapter = player_.chapter();
    return chapter >= player_.chapterCount() - 1 &&
           player_.currentFrame() + chapter * kFramesPerChapter + 1 >= player_.totalFrames() &&
           player_.playState() == VideoPlayer::stateStopped;
}

void ConsolePanel::stepChapter(int step) {
    const int target = player_.chapter() + step;
    if (target < 0 || target >= player_.chapterCount()) return;
    player_.seekAbsolute(target * kFramesPerChapter, player_.playState());
}

void ConsolePanel::stepFrame(int step) {
    player_.seek(player_.currentFrame() + step);
}

// ---- Mirroring the player ----

ConsolePanel::PlayerState ConsolePanel::readPlayer() const {
    PlayerState state;
    const IVideoInfo* info = player_.info();
    state.hasInformation = info != nullptr;
    state.last = (info ? info->frameCount() : 0) - 1;
    state.current = player_.currentFrame();
    state.playState = player_.playState();
    state.referenceFrame = info ? info->referenceFrame() : -1;
    state.triggerKind = info ? info->triggerKind() : 0;
    return state;
}

void ConsolePanel::updateButtons(const PlayerState& state) {
    if (!isOpen(state.playState)) {
        for (ImageButton* button : {static_cast<ImageButton*>(playButton_), stopButton_, previousButton_, nextButton_,
                                    frameForwardButton_, frameBackButton_}) {
            button->setEnabled(false);
        }
        // Nothing plays: a pause face left from a recording that was closed
        // while playing would say otherwise.
        playButton_->setPlaying(0);
        return;
    }
    playButton_->setEnabled(true);
    playButton_->setPlaying(state.playState == VideoPlayer::statePlaying ? 1 : 0);
    stopButton_->setEnabled(state.current > 0);
    previousButton_->setEnabled(true);
    nextButton_->setEnabled(true);
    if (isVideoMemory()) {
        frameForwardButton_->setEnabled(player_.chapter() < player_.chapterCount() - 1);
        frameBackButton_->setEnabled(player_.chapter() > 0);
    } else {
        frameForwardButton_->setEnabled(state.current < state.last);
        frameBackButton_->setEnabled(state.current > 0);
    }
}

void ConsolePanel::updatePositionBar(const PlayerState& state) {
    // In video memory the bar counts over all chapters.
    const int maximum = isVideoMemory() ? player_.totalFrames() - 1 : state.last;
    // The bar is repainted for a new range or marker only: a moving thumb
    // repaints it by itself, and a repaint every frame cost more than the picture.
    const bool changed = positionBar_->minimum() != 0 || positionBar_->maximum() != maximum ||
                         positionBar_->markerValue != state.referenceFrame ||
                         positionBar_->markerKind != state.triggerKind;
    positionBar_->setRange(0, maximum);
    positionBar_->markerValue = state.referenceFrame;
    positionBar_->markerKind = state.triggerKind;
    if (changed) {
        InvalidateRect(positionBar_->handle(), nullptr, FALSE);
        UpdateWindow(positionBar_->handle());
    }
    // While the user drags the thumb it follows the pointer: a refresh in between
    // would put it back on the frame shown, and the next tick would seek there.
    const bool dragging = positionBar_->isHeld();
    if (!isVideoMemory()) {
        if (!dragging) positionBar_->setValue(state.current, false);
        drawEventOffsetNow();
    } else if (state.playState != VideoPlayer::stateClosed && !dragging) {
        positionBar_->setValue(state.current + player_.chapter() * kFramesPerChapter, false);
    }
    if (readout_) readout_->drawNow(handle(), player_);
}

// ---- Drawing ----

void ConsolePanel::onSize(int width) {
    MoveWindow(positionBar_->handle(), kBarLeft, kBarTop, std::max(0, width - kBarMargin), kBarHeight, TRUE);
}

// Video memory shows no offset: its recordings have no event moment.
void ConsolePanel::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle(), &paint);
    if (dc && !isVideoMemory()) drawEventOffset(dc);
    if (dc && isEnabled() && readout_) {
        RECT client;
        GetClientRect(handle(), &client);
        readout_->draw(dc, client.right, player_);
    }
    EndPaint(handle(), &paint);
    // A paint covers only its update region, which may have cut through the
    // offset: the next refresh draws it whole.
    shownOffset_.clear();
}

void ConsolePanel::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    paintBackground(dc, client);
    shownOffset_.clear();  // painted over
    if (readout_) readout_->forgetShown();
    update();
}

void ConsolePanel::paintBackground(HDC dc, const RECT& client) {
    const bool painted = isEnabled() ? paintEnabledBackground(dc, client) : paintDisabledBackground(dc, client);
    if (!painted) FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

// The middle tile stretches between the left picture and the right one; the
// left picture goes last so that it wins on a panel narrower than both.
bool ConsolePanel::paintEnabledBackground(HDC dc, const RECT& client) {
    if (!decoded(leftPicture_) || !decoded(middleTile_) || !decoded(rightPicture_)) return false;
    const int middleLeft = leftPicture_->width();
    const int rightLeft = client.right - rightPicture_->width();
    if (rightLeft > middleLeft) middleTile_->draw(dc, middleLeft, 0, rightLeft - middleLeft, middleTile_->height());
    rightPicture_->draw(dc, rightLeft, 0);
    leftPicture_->draw(dc, 0, 0);
    return true;
}

// One-shot memory: the tile covers the last quarter of the left picture, where
// the hidden step buttons sat, and everything up to the plain right end.
bool ConsolePanel::paintDisabledBackground(HDC dc, const RECT& client) {
    if (!decoded(leftPicture_) || !decoded(disabledTile_) || !decoded(disabledRight_)) return false;
    leftPicture_->draw(dc, 0, 0);
    const int tileLeft = leftPicture_->width() - leftPicture_->width() / 4;
    const int rightLeft = client.right - disabledRight_->width();
    if (tileLeft < rightLeft) disabledTile_->draw(dc, tileLeft, 0, rightLeft - tileLeft, disabledTile_->height());
    disabledRight_->draw(dc, rightLeft, 0);
    return true;
}

// The offset changes every third frame at most; the same text is not drawn again.
void ConsolePanel::drawEventOffsetNow() {
    if (!isEnabled() || currentOffsetText() == shownOffset_) return;
    HDC dc = GetDC(handle());
    if (!dc) return;
    drawEventOffset(dc);
    ReleaseDC(handle(), dc);
}

// Every text has the same width (sign, two digits, point, digit), so a new one
// covers the old one completely.
void ConsolePanel::drawEventOffset(HDC dc) {
    if (!isEnabled()) return;
    const std::wstring text = currentOffsetText();
    RECT client;
    GetClientRect(handle(), &client);
    drawCharacterPictures(dc, text, client.right - offsetFromRight, offsetTop,
                          [this](wchar_t c) { return offsetPicture(c); });
    shownOffset_ = text;
}

std::wstring ConsolePanel::currentOffsetText() const {
    const PlayerState state = readPlayer();
    return eventOffsetText(state.hasInformation, state.triggerKind, state.current, state.referenceFrame,
                           FrameClock::forMode(displayMode).framesPerSecond());
}

const AlphaImage* ConsolePanel::offsetPicture(wchar_t character) const {
    if (character >= L'0' && character <= L'9') return digits_[static_cast<std::size_t>(character - L'0')].get();
    switch (character) {
        case L'.':
            return point_.get();
        case L'+':
            return plus_.get();
        case L'-':
            return minus_.get();
        case L'\u00b1':
            return plusMinus_.get();
        default:
            return nullptr;
    }
}
