#include "media/VideoPlayer.h"
// mmsystem.h only after windows.h, which the player's header brings.
#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/Texts.h"
#include "media/PictureClipboard.h"
#include "media/WaveAudioPlayer.h"
#include "platform/FileSystem.h"
#include "recording/VideoInfo07.h"
#include "resources/MenuIds.h"

namespace {

constexpr int kWarningCaption = 5005;
constexpr int kFolderGoneText = 5078;
constexpr int kChapterLimitText = 5088;
constexpr int kDataUnreadableText = 5510;
constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;
constexpr UINT_PTR kFrameTimer = 0;
// How often the last frame of a chapter looks whether the sound has reached
// the next one: well within a frame period.
constexpr DWORD kChangePollMs = 10;
// How soon a stopped or paused engine asks again for a frame the loader refused.
constexpr DWORD kRefusedRetryMs = 10;

// The folder of a chapter archive: trailing separators dropped, then the last
// component cut off.
std::wstring folderOfChapter(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return platform::parentFolder(path);
}

// Sound is optional: a recording whose sound cannot be opened or played plays
// silently by the system clock.
template <typename Operation>
void ignoringFailure(Operation operation) {
    try {
        operation();
    } catch (const Exception&) {
    } catch (const std::exception&) {
    }
}

}  // namespace

VideoPlayer::VideoPlayer(PlaybackOwner& owner) : owner_(owner) {
    brightness_.setGamma(1.0);
    create(0, defaultClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kInitialWidth, kInitialHeight,
           owner.ownerWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    soundPlayer_ = new WaveAudioPlayer(handle());
    loader_ = std::make_unique<ImageLoader>(handle());
    preparer_ = std::make_unique<ChapterPreparer>(handle());
}

// Runs while the window is being destroyed, possibly after the owner has gone:
// nothing here may call the owner.
VideoPlayer::~VideoPlayer() {
    close();
    preparer_.reset();
    loader_.reset();
    if (soundPlayer_) DestroyWindow(soundPlayer_->handle());
}

LRESULT VideoPlayer::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_TIMER:
            onTimer(wParam);
            return 0;
        case ImageLoader::tickMessage:
            tick();
            return 0;
        case ImageLoader::imageReadyMessage:
            onPictureArrived(static_cast<int>(wParam), reinterpret_cast<Image*>(lParam));
            return 0;
        case MM_MCINOTIFY:
            onSoundEnded();
            return 0;
        case ChapterPreparer::preparedMessage:
            onChapterPrepared(wParam);
            return 0;
        case WM_RBUTTONDOWN:
            if (displayMode != DisplayModeOneShot) break;
            onRightButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_COMMAND:
            if (displayMode != DisplayModeOneShot || lParam != 0) break;
            onCommand(LOWORD(wParam));
            return 0;
    }
    return Window::windowProc(message, wParam, lParam);
}

ISoundPlayer& VideoPlayer::soundPlayer() {
    return *soundPlayer_;
}

// ---- Opening and closing ----

void VideoPlayer::close() {
    preparer_->drop();
    loader_->cancel();
    soundPlayer_->close();
    info_.reset();
    playState_ = stateClosed;
    currentFrame_ = 0;
    folder_.clear();
    currentImage_.reset();
    pictureAtTick_.reset();
    shownFrame_ = -1;
    // A sound end or a request refusal of the recording just closed must not
    // act on the next one.
    endReached_ = false;
    requestRefused_ = false;
    loader_->closeArchive();
    dropQueuedPictures();
}

// Pictures the loader posted before the cancel belong to the recording just
// closed; left in the queue they would show on the next one.
void VideoPlayer::dropQueuedPictures() { ImageLoader::dropQueuedImages(handle()); }

void VideoPlayer::beginOpening() {
    close();
    repaint(true);
    owner_.refresh();
    setPeriods();
    showLoading();
}

void VideoPlayer::setPeriods() {
    clock_ = FrameClock::forMode(displayMode);
}

void VideoPlayer::openArchive(const std::wstring& path) {
    loader_->openArchive(path);
    info_ = std::make_unique<VideoInfo07>(loader_->archive());
    repaint(false);
}

// Ends quietly when the folder vanished at the first frame request: the owner
// has then been reset to empty and told the user.
void VideoPlayer::finishOpening() {
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return;
    }
    if (speed_.isNormal()) openSound();
    playState_ = stateStopped;
    owner_.refresh();
}

void VideoPlayer::openEventRecording(const std::wstring& folder) {
    beginOpening();
    try {
        folder_ = folder;
        openArchive(platform::joinPath(folder, L"Video.dvt"));
    } catch (const Exception& failure) {
        repaint(true);
        throw Exception(failure.message());
    }
    finishOpening();
}

int VideoPlayer::buildChapterList(const std::wstring& folder) {
    preparer_->drop();
    chapterPaths_.fill(std::wstring());
    chapterCount_ = 0;
    totalFrames_ = 0;
    int count = 0;
    bool tooMany = false;
    const int total = listChapters(folder, chapterPaths_, count, tooMany);
    if (tooMany) warn(owner_.ownerWindow(), formatText(kChapterLimitText, kMaxChapters));
    chapterCount_ = count;
    totalFrames_ = total;
    return total;
}

bool VideoPlayer::openChapter(int n) {
    if (n < 0 || n >= kMaxChapters || chapterPaths_[n].empty()) return false;
    close();
    repaint(true);
    owner_.refresh();
    firstFrameArrived_ = false;
    repaint(true);
    setPeriods();
    folder_ = folderOfChapter(chapterPaths_[n]);
    showLoading();
    owner_.resetChart();
    owner_.repaintInformationPanel();
    chapter_ = n;
    try {
        openArchive(chapterPaths_[n]);
    } catch (const VideoArchiveException&) {
        return false;
    } catch (const Exception& failure) {
        repaint(true);
        throw Exception(failure.message());
    }
    owner_.resetChart();
    owner_.repaintInformationPanel();
    finishOpening();
    prepareChapterAfter(n);
    return true;
}

void VideoPlayer::openOneShot(const std::wstring& folder) {
    close();
    repaint(false);
    owner_.refresh();
    repaint(false);
    oneShotShown_ = false;
    clock_ = FrameClock(FrameClock::eventFramesPerSecond);
    folder_ = folder;
    try {
        if (!platform::isFolder(folder_)) throw Exception(loadText(kFolderGoneText));
        showLoading();
        loader_->openOneShot(oneShotPath_);
        info_ = std::make_unique<VideoInfo07>(loader_->archive());
        repaint(false);
        loader_->armTick(clock_.periodMs());
    } catch (const Exception& failure) {
        repaint(false);
        throw Exception(failure.message());
    }
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return;
    }
    playState_ = stateStopped;
    owner_.refresh();
}

// ---- Playback operations ----

void VideoPlayer::playFrom(int frame) {
    if (playState_ == stateClosed) return;
    playState_ = statePlaying;
    owner_.refresh();
    currentFrame_ = clampFrame(frame);
    ignoringFailure([&] { soundPlayer_->play(clock_.timeOf(currentFrame_)); });
    advance();
}

void VideoPlayer::pause() {
    showPictureAtTick();
    if (playState_ != stateClosed) {
        playState_ = statePaused;
        owner_.refresh();
        askAgainIfRefused();
    }
    ignoringFailure([&] { soundPlayer_->pause(); });
}

// Without sound the clock is the system time since the last play request; a
// new request from the current frame keeps the pause out of it, where a
// resume would jump the picture ahead by the time spent paused.
void VideoPlayer::resume() {
    if (playState_ == stateClosed) return;
    playState_ = statePlaying;
    owner_.refresh();
    if (soundPlayer_->getState() == ISoundPlayer::stateClosed) {
        ignoringFailure([&] { soundPlayer_->play(clock_.timeOf(currentFrame_)); });
    } else {
        ignoringFailure([&] { soundPlayer_->resume(); });
    }
    advance();
}

void VideoPlayer::stop() {
    showPictureAtTick();
    if (playState_ != stateClosed) {
        playState_ = stateStopped;
        owner_.refresh();
        askAgainIfRefused();
    }
    ignoringFailure([&] { soundPlayer_->stop(); });
}

void VideoPlayer::seek(int frame) {
    if (playState_ == stateClosed) return;
    if (playState_ == statePlaying || playState_ == statePaused) stop();
    const int target = clampFrame(frame);
    if (target == currentFrame_) return;
    if (std::abs(target - currentFrame_) > nearSeekFrames) {
        currentImage_.reset();
        InvalidateRect(handle(), nullptr, TRUE);
    }
    currentFrame_ = target;
    try {
        requestFrame();
    } catch (const DataMissingException&) {
        return;
    }
    synchronise();
}

void VideoPlayer::seekAbsolute(int frame, int playMode) {
    if (totalFrames_ < frame) return;
    if (frame < 0) frame = 0;  // a negative frame would address a chapter before the first
    int target = frame / kFramesPerChapter;
    if (target >= chapterCount_ && chapterCount_ > 0) target = chapterCount_ - 1;
    if (target != chapter_ && target < chapterCount_) {
        chapter_ = target;
        if (!openChapterOrReset(target)) return;
        tick();
    }
    currentFrame_ =
        clampFrame(static_cast<std::int64_t>(frame) - static_cast<std::int64_t>(chapter_) * kFramesPerChapter);
    if (playMode != statePlaying) {
        // A chapter just opened has asked only for its first frame, and nothing
        // else asks while not playing: the picture must be the frame reached.
        try {
            requestFrame();
        } catch (const DataMissingException&) {
            return;
        }
        owner_.refresh();
        return;
    }
    playOn();
}

void VideoPlayer::playOn() {
    if (playState_ == statePaused) {
        resume();
    } else {
        playFrom(currentFrame_);
    }
}

// Failures of a chapter change started inside the engine (a chapter button,
// the end of a chapter) end here: an exception would leave the window
// procedure and end the program.
bool VideoPlayer::openChapterOrReset(int n) {
    std::wstring failureText = loadText(kDataUnreadableText);
    try {
        if (openChapter(n)) return true;
    } catch (const Exception& failure) {
        failureText = failure.message();
    }
    owner_.resetToEmpty();
    warn(handle(), failureText);
    return false;
}

void VideoPlayer::showLoading() {
    FramePainter::showLoading(handle());
}

std::int64_t VideoPlayer::recordingTime() const {
    if (!info_) return 0;
    if (const FrameRecord* reference = info_->referenceRecord()) return reference->time;
    for (int index = 0; index < info_->frameCount(); ++index) {
        if (const FrameRecord* record = info_->frameRecord(index)) return record->time;
    }
    return 0;
}

// ---- The clock ----

// Moves on one frame, arms the next tick and requests the frame that becomes
// due at that tick.
void VideoPlayer::advance() {
    endReached_ = false;
    DWORD delay = clock_.periodMs();
    if (openMode_ == DisplayModeOneShot) {
        currentFrame_ = 0;
    } else if (displayMode == DisplayModeVideo && !firstFrameArrived_) {
        currentFrame_ = clampFrame(currentFrame_);
    } else {
        currentFrame_ = clampFrame(static_cast<std::int64_t>(currentFrame_) + 1);
        delay = delayUntilDue();
    }
    loader_->armTickBeforeRequest(delay);
    try {
        requestFrame(true);
    } catch (const DataMissingException&) {
    }
}

// A tick still queued when its recording was closed has nothing to act on.
void VideoPlayer::tick() {
    if (playState_ == stateClosed) return;
    if (requestRefused_ && playState_ != statePlaying) requestCurrentFrame();
    showPictureAtTick();
    if (displayMode == DisplayModeOneShot) {
        if (!oneShotShown_) advance();
    } else if (displayMode == DisplayModeVideo && !firstFrameArrived_) {
        advance();
    } else {
        synchronise();
    }
}

// The sound position is the master clock; without sound, the system time
// since the last play request. A sound that ran out early lets the picture
// run on one frame per tick.
void VideoPlayer::synchronise() {
    owner_.refresh();
    const std::int32_t soundState = soundPlayer_->getState();
    if (soundState == ISoundPlayer::statePlaying) {
        currentFrame_ = clampFrame(clock_.frameAt(soundPlayer_->getPosition()));
    } else if (soundState == ISoundPlayer::stateClosed) {
        if (playState_ != statePlaying) return;
        currentFrame_ = clampFrame(clock_.frameAt(freeClockMs()));
    }
    if (playState_ != statePlaying) return;
    if (currentFrame_ < frameCount() - 1) {
        advance();
        return;
    }
    endReached_ = true;
    if (soundPlayer_->getState() != ISoundPlayer::statePlaying) {
        endOfRecording();
    } else if (preparer_->readyChapter() == chapter_ + 1) {
        playIntoPreparedChapter();
    }
}

// Without sound: the time since the last play request, from where it started.
std::int64_t VideoPlayer::freeClockMs() const {
    const DWORD elapsed = timeGetTime() - soundPlayer_->playStartTick();
    return speed_.recordingMs(elapsed) + soundPlayer_->baseMs();
}

// The clock while playing: the sound position, or the free clock when there is
// no sound. False when neither runs (a sound that ran out).
bool VideoPlayer::clockPosition(std::int64_t& ms) const {
    if (playState_ != statePlaying) return false;
    const std::int32_t soundState = soundPlayer_->getState();
    if (soundState == ISoundPlayer::statePlaying) {
        ms = soundPlayer_->getPosition();
        return true;
    }
    if (soundState != ISoundPlayer::stateClosed) return false;
    ms = freeClockMs();
    return true;
}

// The next tick comes when the frame just requested falls due by the clock, not
// a whole period after this tick: every tick arrives a little late, and
// periods counted from late ticks add up and skip frames.
DWORD VideoPlayer::delayUntilDue() const {
    std::int64_t position = 0;
    if (!clockPosition(position)) return clock_.periodMs();
    const std::int64_t delay = speed_.realMs(clock_.dueTime(currentFrame_) - position);
    return static_cast<DWORD>(std::clamp<std::int64_t>(delay, 1, speed_.realMs(clock_.periodMs())));
}

void VideoPlayer::endOfRecording() {
    if (playState_ == stateClosed) return;
    playState_ = stateStopped;
    owner_.refresh();
    askAgainIfRefused();  // the last frame's request may have been refused
    if (displayMode != DisplayModeVideo) {
        seek(0);
        return;
    }
    if (chapter_ >= chapterCount_ - 1) return;  // after the last chapter playback stays stopped
    if (!changeToPreparedChapter()) {
        openNextChapter();
        return;
    }
    showPictureAtTick();
    // The sound ran out before the change (none was queued): the next one opens now.
    if (speed_.isNormal()) openSound();
    playFrom(0);
}

// The old way, reading the chapter now; its failures reset the owner and warn.
void VideoPlayer::openNextChapter() {
    chapter_ += 1;
    if (openChapterOrReset(chapter_)) playOn();
}

// The loader drops a request while its worker holds the lock. A playing engine
// asks again at its next tick. A stopped one repeats the request when the
// decode in the way has delivered its picture, and at a tick of its own: the
// worker also holds the lock for a moment after posting, with no picture to come.
void VideoPlayer::requestFrame(bool atTick) {
    if (!platform::isFolder(folder_)) {
        owner_.resetToEmpty();
        warn(owner_.ownerWindow(), loadText(kFolderGoneText));
        throw DataMissingException();
    }
    requestCurrentFrame(atTick);
}

void VideoPlayer::requestCurrentFrame(bool atTick) {
    const int index = wantedIndex();
    requestRefused_ = !(atTick ? loader_->requestAtTick(index) : loader_->request(index));
    askAgainIfRefused();
}

void VideoPlayer::askAgainIfRefused() {
    if (requestRefused_ && playState_ != statePlaying) loader_->armTick(kRefusedRetryMs);
}

// Recordings that store more than one picture per frame are asked for even indices.
int VideoPlayer::wantedIndex() const {
    const int index = clampFrame(currentFrame_);
    return info_ && info_->pictureStep() == 1 ? index : index - index % 2;
}

// ---- Messages ----

void VideoPlayer::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle(), &paint);
    drawClientArea(dc);
    EndPaint(handle(), &paint);
}

void VideoPlayer::drawClientArea(HDC dc) {
    RECT client{};
    GetClientRect(handle(), &client);
    if (currentImage_) {
        painter_.drawPicture(dc, client.right, client.bottom, *currentImage_, brightness_);
    } else {
        FramePainter::fillWhite(dc, client.right, client.bottom);
    }
    afterDrawing();
}

// A new picture goes straight into the window's context. Invalidating and
// updating for it, thirty times a second, cost Wine six server round trips a
// frame (update regions, caret, visible region) for the same pixels; a part
// that is invalid for another reason still gets its paint message.
void VideoPlayer::drawPictureNow() {
    HDC dc = GetDC(handle());
    if (!dc) {
        repaint(false);
        return;
    }
    drawClientArea(dc);
    ReleaseDC(handle(), dc);
}

void VideoPlayer::onEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(handle(), &client);
    FramePainter::fillWhite(dc, client.right, client.bottom);
}

void VideoPlayer::onTimer(UINT_PTR) {
    KillTimer(handle(), kFrameTimer);
    tick();
}

// The index is not compared with the current frame: while playing, the newest
// picture is the best there is.
void VideoPlayer::onPictureArrived(int frame, Image* picture) {
    std::unique_ptr<Image> arrived(picture);
    if (displayMode == DisplayModeOneShot) oneShotShown_ = true;
    if (displayMode == DisplayModeVideo) firstFrameArrived_ = true;
    if (arrived) {
        currentImage_ = std::move(arrived);
        shownFrame_ = frame;
    }
    drawPictureNow();
    if (requestRefused_ && playState_ != stateClosed && frame != wantedIndex()) requestCurrentFrame();
}

void VideoPlayer::onSoundEnded() {
    if (endReached_ && soundPlayer_->isFinished()) endOfRecording();
}

void VideoPlayer::onRightButtonDown(int x, int y) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ONESHOT_MENU));
    if (!menu) return;
    POINT point{x, y};
    ClientToScreen(handle(), &point);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTBUTTON, point.x, point.y, 0, handle(), nullptr);
    DestroyMenu(menu);
    UpdateWindow(handle());
}

void VideoPlayer::onCommand(WORD command) {
    if (command == IDM_COPY_PICTURE) PictureClipboard::copyLetterbox(handle());
}

// ---- Helpers ----

int VideoPlayer::frameCount() const {
    return info_ ? info_->frameCount() : 0;
}

int VideoPlayer::clampFrame(std::int64_t frame) const {
    return FrameClock::clamp(frame, frameCount());
}

void VideoPlayer::repaint(bool erase) {
    InvalidateRect(handle(), nullptr, erase ? TRUE : FALSE);
    UpdateWindow(handle());
}

void VideoPlayer::warn(HWND owner, const std::wstring& text) const {
    const std::wstring caption = loadText(kWarningCaption);
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

bool VideoPlayer::indicator() const { return info_ && loader_ && loader_->archive().indicator() != 0; }

// ---- Speed ----

void VideoPlayer::openSound() {
    const std::wstring& soundPath = loader_->archive().soundFilePath();
    ignoringFailure([&] { soundPlayer_->open(soundPath); });
}

// The clock is rebased where it stands under the old rate: a play request on a
// closed sound starts the free clock there, on an open one the sound itself.
void VideoPlayer::setSpeed(PlaybackSpeed speed) {
    if (speed.step() == speed_.step()) return;
    std::int64_t position = clock_.timeOf(currentFrame_);
    const bool playing = playState_ == statePlaying;
    if (playing) clockPosition(position);
    speed_ = speed;
    if (playState_ == stateClosed) return;
    if (speed_.isNormal()) {
        openSound();
        queuePreparedSound();
    } else {
        soundPlayer_->close();
    }
    if (playState_ == statePaused) playState_ = stateStopped;
    if (playing) {
        const auto start = static_cast<std::int32_t>(std::clamp<std::int64_t>(position, 0, INT32_MAX));
        ignoringFailure([&] { soundPlayer_->play(start); });
    }
    owner_.refresh();
}

// ---- The chapter change ----

void VideoPlayer::prepareChapterAfter(int n) {
    preparer_->drop();
    const int next = n + 1;
    if (playState_ == stateClosed || displayMode != DisplayModeVideo) return;
    if (next >= chapterCount_ || next >= kMaxChapters || chapterPaths_[next].empty()) return;
    preparer_->prepare(next, chapterPaths_[next]);
}

// A preparation that failed is dropped by the preparer: the change then opens
// the chapter the old way, with its messages.
void VideoPlayer::onChapterPrepared(WPARAM ticket) {
    if (!preparer_->takeReport(ticket)) return;
    queuePreparedSound();
}

void VideoPlayer::queuePreparedSound() {
    if (!speed_.isNormal() || preparer_->readyChapter() != chapter_ + 1) return;
    const std::wstring& path = preparer_->soundFilePath();
    if (path.empty()) return;
    ignoringFailure([&] { soundPlayer_->queueFollowing(path); });
}

// The prepared next chapter becomes the open one. Its first picture replaces
// the last of the chapter before without a blank in between. False, with the
// open chapter unchanged, when none is ready, the folder has gone (the old way
// then tells the user) or the loader's lock is not had.
bool VideoPlayer::changeToPreparedChapter() {
    const int next = chapter_ + 1;
    if (preparer_->readyChapter() != next) return false;
    if (!platform::isFolder(folder_)) {
        preparer_->drop();
        return false;
    }
    std::unique_ptr<Image> firstPicture;
    std::unique_ptr<VideoArchive> archive = preparer_->takeArchive(firstPicture);
    loader_->cancel();
    try {
        loader_->adoptArchive(*archive);
    } catch (const Exception&) {
        return false;
    }
    dropQueuedPictures();
    archive->close();  // the chapter played out; its sound is in the sound player's memory
    chapter_ = next;
    info_ = std::make_unique<VideoInfo07>(loader_->archive());
    currentFrame_ = 0;
    endReached_ = false;
    requestRefused_ = false;
    firstFrameArrived_ = firstPicture != nullptr;
    pictureAtTick_ = std::move(firstPicture);
    owner_.resetChart();
    owner_.repaintInformationPanel();
    prepareChapterAfter(next);
    return true;
}

// At the last frame of a chapter while its sound plays on: with the next
// chapter's sound queued behind it, the next frame is the prepared chapter's
// first, shown when a next frame of the old chapter would have been, and the
// clock counts from the next sound. Without one short ticks look again; a
// sound that runs out first ends the chapter the usual way.
void VideoPlayer::playIntoPreparedChapter() {
    if (!soundPlayer_->countFromFollowing()) {
        loader_->armTick(kChangePollMs);
        return;
    }
    if (!changeToPreparedChapter()) {
        openNextChapter();
        return;
    }
    // The driver counts buffered sound as played, so the next sound is
    // reported a little before it is heard: its first picture waits for its time.
    loader_->armTick(delayUntilDue());
    if (!firstFrameArrived_) requestCurrentFrame();
}

// The prepared chapter's first picture, once its time has come.
void VideoPlayer::showPictureAtTick() {
    if (!pictureAtTick_) return;
    currentImage_ = std::move(pictureAtTick_);
    shownFrame_ = 0;
    drawPictureNow();
}
