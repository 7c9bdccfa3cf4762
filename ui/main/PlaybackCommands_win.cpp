#include "ui/main/PlaybackCommands.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/Texts.h"
#include "media/FrameClock.h"
#include "media/PictureClipboard.h"
#include "media/Thumbnail.h"
#include "media/VideoPlayer.h"
#include "recording/ChapterList.h"
#include "recording/FrameTimes.h"
#include "resources/MenuIds.h"
#include "resources/PlaybackCommandIds.h"
#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/PlayButton.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/ConsolePanel.h"
#include "ui/main/FullScreenWindow.h"
#include "ui/main/GoToTimeDialog.h"
#include "ui/main/MainWindow.h"
#include "ui/main/PanelOwner.h"

namespace {

constexpr int kWarningCaption = 5005;
constexpr int kOutsideText = 5531;
constexpr wchar_t kUnknownTime[] = L"----/--/-- --:--:--";

// Fills the "%s" of a text in turn; the texts come from the string table, so
// no printf is trusted with them.
std::wstring fillIn(std::wstring text, std::initializer_list<std::wstring> values) {
    std::size_t from = 0;
    for (const std::wstring& value : values) {
        const std::size_t at = text.find(L"%s", from);
        if (at == std::wstring::npos) break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

std::wstring timeText(std::int64_t time) {
    const std::wstring text = FrameTimes::text(time);
    return text.empty() ? kUnknownTime : text;
}

}  // namespace

PlaybackCommands::PlaybackCommands(MainWindow& window) : window_(window) {}

PlaybackCommands::~PlaybackCommands() {
    if (fullScreen_) fullScreen_->leave();
}

bool PlaybackCommands::run(int command) {
    switch (command) {
        case IDM_PLAY_PAUSE: playOrPause(); return true;
        case IDM_FRAME_BACK: stepFrames(-1); return true;
        case IDM_FRAME_FORWARD: stepFrames(1); return true;
        case IDM_SECOND_BACK: stepSeconds(-1); return true;
        case IDM_SECOND_FORWARD: stepSeconds(1); return true;
        case IDM_TEN_SECONDS_BACK: stepSeconds(-10); return true;
        case IDM_TEN_SECONDS_FORWARD: stepSeconds(10); return true;
        case IDM_FIRST_FRAME:
            if (displayMode == DisplayModeOneShot) stepThumbnail(command); else showFrame(0);
            return true;
        case IDM_LAST_FRAME: showLastFrame(); return true;
        case IDM_PREVIOUS_FOLDER:
            if (displayMode != DisplayModeOneShot) window_.openNeighbourFolder(PanelOwner::previousFolder);
            return true;
        case IDM_NEXT_FOLDER:
            if (displayMode != DisplayModeOneShot) window_.openNeighbourFolder(PanelOwner::nextFolder);
            return true;
        case IDM_GO_TO_TIME: askForTime(); return true;
        case IDM_SLOWER: changeSpeed(false); return true;
        case IDM_FASTER: changeSpeed(true); return true;
        case IDM_VOLUME_UP: changeVolume(volumeStep); return true;
        case IDM_VOLUME_DOWN: changeVolume(-volumeStep); return true;
        case IDM_COPY_SHOWN_PICTURE: copyPicture(); return true;
        case IDM_FULL_SCREEN: toggleFullScreen(); return true;
        case IDM_LEAVE_FULL_SCREEN: leaveFullScreen(); return true;
        default: return false;
    }
}

// ---- Playing and stepping ----

// Exactly what the play button does, including the restart at the end of the
// last chapter.
void PlaybackCommands::playOrPause() {
    ConsolePanel& console = *window_.consolePanel();
    if (displayMode == DisplayModeOneShot || !isOpen()) return;
    console.onClick(console.playButton());
}

void PlaybackCommands::stepFrames(int frames) {
    if (displayMode == DisplayModeOneShot) {
        stepThumbnail(frames < 0 ? IDM_FRAME_BACK : IDM_FRAME_FORWARD);
        return;
    }
    if (!isOpen()) return;
    showFrame(overallFrame() + frames);
}

void PlaybackCommands::stepSeconds(int seconds) {
    if (displayMode == DisplayModeOneShot || !isOpen()) return;
    showFrame(overallFrame() + seconds * framesPerSecond());
}

void PlaybackCommands::showLastFrame() {
    if (displayMode == DisplayModeOneShot) {
        stepThumbnail(IDM_LAST_FRAME);
        return;
    }
    VideoPlayer& player = *window_.player();
    const int last = displayMode == DisplayModeVideo ? player.totalFrames() - 1
                                                     : (player.info() ? player.info()->frameCount() - 1 : 0);
    showFrame(last);
}

// Pausing first keeps the clock from moving the picture on from the frame
// shown; a chapter other than the open one is opened at its first frame and
// then sought within, as the chapter buttons would.
void PlaybackCommands::showFrame(int frame) {
    if (!isOpen()) return;
    VideoPlayer& player = *window_.player();
    pauseIfPlaying();
    if (displayMode != DisplayModeVideo) {
        player.seek(frame);
        return;
    }
    const int last = std::max(player.totalFrames() - 1, 0);
    frame = std::clamp(frame, 0, last);
    const int chapter = std::min(frame / kFramesPerChapter, std::max(player.chapterCount() - 1, 0));
    if (chapter != player.chapter()) {
        player.seekAbsolute(chapter * kFramesPerChapter, VideoPlayer::stateStopped);
        if (player.chapter() != chapter || !isOpen()) return;
    }
    player.seek(frame - chapter * kFramesPerChapter);
}

int PlaybackCommands::overallFrame() const {
    const VideoPlayer& player = *window_.player();
    if (displayMode != DisplayModeVideo) return player.currentFrame();
    return player.chapter() * kFramesPerChapter + player.currentFrame();
}

// One-shot memory has pictures instead of frames: the strip's own buttons.
void PlaybackCommands::stepThumbnail(int command) {
    Thumbnail& strip = *window_.thumbnail();
    if (strip.totalCount() == 0) return;
    switch (command) {
        case IDM_FRAME_BACK: strip.onClick(strip.previousButton()); break;
        case IDM_FRAME_FORWARD: strip.onClick(strip.nextButton()); break;
        case IDM_FIRST_FRAME: strip.onClick(strip.firstButton()); break;
        case IDM_LAST_FRAME: strip.onClick(strip.lastButton()); break;
        default: break;
    }
}

// ---- Speed, volume, copy ----

void PlaybackCommands::changeSpeed(bool faster) {
    if (displayMode == DisplayModeOneShot) return;
    VideoPlayer& player = *window_.player();
    PlaybackSpeed speed = player.speed();
    if (!(faster ? speed.faster() : speed.slower())) return;
    player.setSpeed(speed);
    // The speed shows beside the offset; back at normal speed it must go.
    InvalidateRect(window_.consolePanel()->handle(), nullptr, TRUE);
}

void PlaybackCommands::changeVolume(int step) {
    if (displayMode == DisplayModeOneShot) return;
    ImageTrackBar& bar = *window_.configPanel()->volumeBar();
    bar.setValue(bar.value() + step, true);
}

void PlaybackCommands::copyPicture() {
    VideoPlayer& player = *window_.player();
    if (player.shownFrame() < 0) return;
    PictureClipboard::copyLetterbox(player.handle());
}

// ---- Full screen ----

void PlaybackCommands::toggleFullScreen() {
    if (fullScreen_) {
        leaveFullScreen();
        return;
    }
    fullScreen_ = new FullScreenWindow(window_.handle(), window_.player()->handle(), [this] { fullScreen_ = nullptr; });
}

void PlaybackCommands::leaveFullScreen() {
    if (fullScreen_) fullScreen_->leave();
}

// ---- Going to a time ----

void PlaybackCommands::askForTime() {
    if (displayMode == DisplayModeOneShot || !isOpen()) return;
    leaveFullScreen();
    pauseIfPlaying();
    const VideoPlayer& player = *window_.player();
    GoToTimeDialog dialog(FrameTimes::timeOf(*player.info(), player.currentFrame(), framesPerSecond()));
    if (dialog.doModal(window_.handle()) != IDOK || dialog.time() == 0) return;
    goToTime(dialog.time());
}

void PlaybackCommands::goToTime(std::int64_t time) {
    if (!isOpen()) return;
    if (displayMode == DisplayModeVideo) {
        goToTimeInChapters(time);
    } else if (displayMode == DisplayModeEvent) {
        goToTimeInRecording(time);
    }
}

void PlaybackCommands::goToTimeInRecording(std::int64_t time) {
    const IVideoInfo& info = *window_.player()->info();
    const int fps = framesPerSecond();
    const std::int64_t first = FrameTimes::timeOf(info, 0, fps);
    const std::int64_t last = FrameTimes::timeOf(info, info.frameCount() - 1, fps);
    const int frame = FrameTimes::frameAtOrBefore(info, time, fps);
    if (frame < 0 || time > last) {
        warnOutside(first, last);
        return;
    }
    showFrame(frame);
}

// The chapters' own headers say when each began, so only the chapter that
// holds the time is opened; within it the frames' times decide.
void PlaybackCommands::goToTimeInChapters(std::int64_t time) {
    VideoPlayer& player = *window_.player();
    ChapterTable paths;
    int count = 0;
    bool tooMany = false;
    try {
        listChapters(player.folder(), paths, count, tooMany);
    } catch (const Exception&) {
        return;
    }
    count = std::min(count, player.chapterCount());
    if (count <= 0) return;
    std::array<std::int64_t, kMaxChapters> starts{};
    int chapter = -1;
    for (int c = 0; c < count; ++c) {
        starts[static_cast<std::size_t>(c)] = FrameTimes::chapterStart(paths[static_cast<std::size_t>(c)]);
        if (starts[static_cast<std::size_t>(c)] != 0 && starts[static_cast<std::size_t>(c)] <= time) chapter = c;
    }
    const int lastChapterFrames = player.totalFrames() - (count - 1) * kFramesPerChapter;
    const std::int64_t lastStart = starts[static_cast<std::size_t>(count - 1)];
    const std::int64_t end = lastStart == 0 ? 0 : lastStart + (lastChapterFrames - 1) / FrameClock::videoFramesPerSecond;
    if (chapter < 0 || (end != 0 && time > end)) {
        warnOutside(starts[0], end);
        return;
    }
    if (player.chapter() != chapter) showFrame(chapter * kFramesPerChapter);
    if (player.chapter() != chapter || !isOpen()) return;
    // A time between the header's and the first frame's belongs to frame 0.
    const int frame = FrameTimes::frameAtOrBefore(*player.info(), time, FrameClock::videoFramesPerSecond);
    showFrame(chapter * kFramesPerChapter + std::max(frame, 0));
}

void PlaybackCommands::warnOutside(std::int64_t first, std::int64_t last) {
    const std::wstring text = fillIn(loadText(kOutsideText), {timeText(first), timeText(last)});
    MessageBoxW(window_.handle(), text.c_str(), loadText(kWarningCaption).c_str(), MB_OK | MB_ICONWARNING);
}

// ---- Helpers ----

void PlaybackCommands::pauseIfPlaying() {
    VideoPlayer& player = *window_.player();
    if (player.playState() == VideoPlayer::statePlaying) player.pause();
}

int PlaybackCommands::framesPerSecond() const { return FrameClock::forMode(displayMode).framesPerSecond(); }

bool PlaybackCommands::isOpen() const {
    const VideoPlayer& player = *window_.player();
    return player.playState() != VideoPlayer::stateClosed && player.info() != nullptr;
}
