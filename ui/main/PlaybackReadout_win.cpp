#include "ui/main/PlaybackReadout.h"

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "media/FrameClock.h"
#include "media/VideoPlayer.h"
#include "recording/FrameTimes.h"
#include "recording/RecordingFolder.h"
#include "resources/ImageIds.h"

namespace {

constexpr int kSpeedText = 5530;

// Where the offset's box sits in the panel's right picture, from the right edge.
constexpr int kBoxFromRight = 91;
constexpr int kBoxWidth = 64;
constexpr int kBoxTop = 19;
constexpr int kBoxHeight = 27;
constexpr int kBoxInset = 3;
constexpr int kSpeedTop = 2;
constexpr COLORREF kSpeedColour = RGB(0xFF, 0xC8, 0x40);
constexpr COLORREF kClockColour = RGB(0x10, 0x1C, 0x30);

const VideoPlayer* attachedPlayer = nullptr;

HFONT makeFont(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void drawText(HDC dc, const std::wstring& text, RECT area, HFONT font, COLORREF colour, UINT format) {
    const HGDIOBJ previousFont = SelectObject(dc, font);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
}

// The frame's clock counted over all chapters. A chapter other than the open
// one is not read while the thumb moves: chapters follow each other minute by
// minute, so the open chapter's clock is carried on.
std::int64_t timeAtBarValue(const VideoPlayer& player, int value) {
    const IVideoInfo* info = player.info();
    if (!info) return 0;
    if (displayMode != DisplayModeVideo) {
        return FrameTimes::timeOf(*info, value, FrameClock::eventFramesPerSecond);
    }
    const int frame = value - player.chapter() * kFramesPerChapter;
    if (frame >= 0 && frame < info->frameCount()) return FrameTimes::timeOf(*info, frame, FrameClock::videoFramesPerSecond);
    const std::int64_t start = FrameTimes::timeOf(*info, 0, FrameClock::videoFramesPerSecond);
    if (start == 0) return 0;
    const int seconds = frame >= 0 ? frame / FrameClock::videoFramesPerSecond
                                   : -((-frame + FrameClock::videoFramesPerSecond - 1) / FrameClock::videoFramesPerSecond);
    return start + seconds;
}

}  // namespace

PlaybackReadout::PlaybackReadout()
    : background_(std::make_unique<AlphaImage>(IDB_CONSOLE_RIGHT)),
      font_(makeFont(11, FW_BOLD)),
      boldFont_(makeFont(12, FW_BOLD)) {}

PlaybackReadout::~PlaybackReadout() {
    DeleteObject(font_);
    DeleteObject(boldFont_);
}

void PlaybackReadout::draw(HDC dc, int clientRight, const VideoPlayer& player) {
    drawSpeed(dc, clientRight, player);
    if (displayMode == DisplayModeVideo) drawFrameClock(dc, clientRight, player);
    // A paint may have covered only part of the read-outs.
    shown_.reset();
}

// The read-outs change once a second at most while playing; what is already on
// screen is not drawn again.
void PlaybackReadout::drawNow(HWND panel, const VideoPlayer& player) {
    std::wstring now = speedText(player);
    if (displayMode == DisplayModeVideo) now += L'\n' + frameClockText(player);
    if (shown_ && *shown_ == now) return;
    HDC dc = GetDC(panel);
    if (!dc) return;
    RECT client;
    GetClientRect(panel, &client);
    draw(dc, client.right, player);
    ReleaseDC(panel, dc);
    shown_ = now;
}

void PlaybackReadout::forgetShown() { shown_.reset(); }

void PlaybackReadout::attach(const VideoPlayer* player) { attachedPlayer = player; }

std::wstring PlaybackReadout::positionTip(int value) {
    if (!attachedPlayer) return std::wstring();
    return FrameTimes::text(timeAtBarValue(*attachedPlayer, value));
}

void PlaybackReadout::restoreBackground(HDC dc, int clientRight, const RECT& area) const {
    if (!background_->image()) return;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    background_->draw(dc, clientRight - background_->width(), 0);
    RestoreDC(dc, saved);
}

// Above the box, so that the offset itself stays as it is.
void PlaybackReadout::drawSpeed(HDC dc, int clientRight, const VideoPlayer& player) const {
    const RECT area{clientRight - kBoxFromRight - 20, kSpeedTop, clientRight - kBoxFromRight + kBoxWidth, kBoxTop};
    restoreBackground(dc, clientRight, area);
    const std::wstring text = speedText(player);
    if (!text.empty()) drawText(dc, text, area, font_, kSpeedColour, DT_RIGHT | DT_TOP);
}

// Empty at normal speed and while nothing is open.
std::wstring PlaybackReadout::speedText(const VideoPlayer& player) {
    if (player.speed().isNormal() || player.playState() == VideoPlayer::stateClosed) return std::wstring();
    std::wstring text = loadText(kSpeedText);
    const std::size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, player.speed().label());
    return text;
}

void PlaybackReadout::drawFrameClock(HDC dc, int clientRight, const VideoPlayer& player) const {
    const RECT box{clientRight - kBoxFromRight + kBoxInset, kBoxTop + kBoxInset,
                   clientRight - kBoxFromRight + kBoxWidth - kBoxInset, kBoxTop + kBoxHeight - kBoxInset};
    restoreBackground(dc, clientRight, box);
    const std::wstring clock = frameClockText(player);
    if (!clock.empty()) drawText(dc, clock, box, boldFont_, kClockColour, DT_CENTER | DT_VCENTER);
}

// The box holds the time of day; the date is in the information panel. Empty
// while nothing is open.
std::wstring PlaybackReadout::frameClockText(const VideoPlayer& player) {
    if (player.playState() == VideoPlayer::stateClosed || !player.info()) return std::wstring();
    const std::wstring full = FrameTimes::text(
        FrameTimes::timeOf(*player.info(), player.currentFrame(), FrameClock::videoFramesPerSecond));
    return full.size() >= 8 ? full.substr(full.size() - 8) : L"--:--:--";
}
