#pragma once
// The picture area of the main window and the engine that plays a recording:
// frames fetched through its image loader, one WAVE sound whose position is the
// master clock, and the chapters of a video-memory recording played in turn.
// While a chapter plays, the next one is read ahead (ChapterPreparer) and its
// sound queued behind the open one, so that the change at the end of the
// chapter swaps them in without closing anything and without a gap.
//
// Typical use by the main window (event memory):
//   player->setOpenMode(displayMode);
//   player->openEventRecording(folder);   // stopped at frame 0
//   player->playFrom(player->currentFrame());
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "media/ChapterPreparer.h"
#include "media/FrameClock.h"
#include "media/FramePainter.h"
#include "media/GammaCorrection.h"
#include "media/Image.h"
#include "media/ImageLoader.h"
#include "media/PlaybackSpeed.h"
#include "media/PlaybackOwner.h"
#include "media/TimerResolution.h"
#include "recording/ChapterList.h"
#include "recording/IVideoInfo.h"
#include "ui/framework/Window.h"

class ISoundPlayer;
class WaveAudioPlayer;

class VideoPlayer : public Window {
public:
    // playState values.
    static constexpr int stateClosed = 0;
    static constexpr int statePlaying = 1;
    static constexpr int stateStopped = 2;
    static constexpr int statePaused = 3;

    // A seek farther than this drops the shown picture until the new one is
    // there, so that a distant frame is not mistaken for the one asked for.
    static constexpr int nearSeekFrames = 10;

    // Creates the window as a child of the owner's window at (0, 0), 640 × 480.
    explicit VideoPlayer(PlaybackOwner& owner);
    ~VideoPlayer() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Opening. Each closes what was open, leaves the engine stopped at frame 0
    // showing that frame, and passes failures to open on as Exception.
    void openEventRecording(const std::wstring& folder);
    // Lists the chapters of a video-memory folder (warning 5088 when more than
    // 60 exist) and returns the total frame count, also kept in totalFrames.
    // VideoArchiveException 5510 when the folder holds no readable chapter.
    int buildChapterList(const std::wstring& folder);
    // False when chapter n does not exist or its archive cannot be read.
    bool openChapter(int n);
    // Shows the one-shot picture at oneShotPath; Exception 5078 when folder has gone.
    void openOneShot(const std::wstring& folder);
    void close();

    // Playback, all ignored while nothing is open.
    void playFrom(int frame);
    void pause();
    void resume();
    // Stops and shows frame (within the open chapter in video-memory mode).
    void seek(int frame);
    // Video memory: shows the frame counted over all chapters, opening its
    // chapter when needed; playMode 1 plays on from there.
    void seekAbsolute(int frame, int playMode);
    void showLoading();
    // The time value of the recording's reference frame, or of its first frame
    // with a record; 0 when nothing is open.
    std::int64_t recordingTime() const;

    // Read by the panels.
    int playState() const { return playState_; }
    int currentFrame() const { return currentFrame_; }
    int chapter() const { return chapter_; }
    int chapterCount() const { return chapterCount_; }
    int totalFrames() const { return totalFrames_; }
    void setTotalFrames(int frames) { totalFrames_ = frames; }
    const IVideoInfo* info() const { return info_.get(); }
    // Whether the open recording carries the recorder's indicator flag.
    bool indicator() const;
    const std::wstring& folder() const { return folder_; }

    // Set by the main window before it opens a recording.
    int openMode() const { return openMode_; }
    void setOpenMode(int mode) { openMode_ = mode; }
    void setOneShotPath(const std::wstring& path) { oneShotPath_ = path; }

    // The configuration panel's brightness table (it repaints the player after
    // a change) and volume.
    GammaCorrection& brightness() { return brightness_; }
    ISoundPlayer& soundPlayer();

    // Away from normal speed the picture runs on the system clock, scaled, and
    // the sound is closed; back at normal speed the sound plays on from the
    // picture's position. A pause becomes a stop, so play starts in step.
    void setSpeed(PlaybackSpeed speed);
    const PlaybackSpeed& speed() const { return speed_; }

    // The chapter read ahead and ready to follow the open one; -1 when none is.
    int preparedChapter() const { return preparer_->readyChapter(); }

    // The frame index of the picture on screen; -1 when none is.
    int shownFrame() const { return currentImage_ ? shownFrame_ : -1; }
    unsigned timerResolution() const { return timerResolution_.period(); }

protected:
    // After every drawing of the client area: where a watcher sees what
    // reached the screen.
    virtual void afterDrawing() {}
    // For a subclass that holds the loader up, as another thread's use of its
    // lock would.
    ImageLoader& loader() { return *loader_; }

private:
    // Messages.
    void onPaint();
    void onEraseBackground(HDC dc);
    void onTimer(UINT_PTR id);
    void onPictureArrived(int frame, Image* picture);
    void onSoundEnded();
    void onChapterPrepared(WPARAM ticket);
    void onRightButtonDown(int x, int y);
    void onCommand(WORD command);

    // Opening steps shared by the kinds of recording.
    void beginOpening();
    void setPeriods();
    void openArchive(const std::wstring& path);
    void finishOpening();
    void openSound();
    void dropQueuedPictures();
    bool openChapterOrReset(int n);

    // The chapter change without closing: the next chapter read ahead, its
    // sound queued, and taken over when the sound reaches it.
    void prepareChapterAfter(int n);
    void queuePreparedSound();
    bool changeToPreparedChapter();
    void playIntoPreparedChapter();
    void showPictureAtTick();
    void openNextChapter();

    // The clock.
    void advance();
    void tick();
    void synchronise();
    std::int64_t freeClockMs() const;
    bool clockPosition(std::int64_t& ms) const;
    DWORD delayUntilDue() const;
    void endOfRecording();
    void stop();
    void playOn();
    // DataMissingException (after the owner's reset and warning 5078) when the folder has gone.
    // atTick: the frame is shown when the armed tick falls due (while playing).
    void requestFrame(bool atTick = false);
    void requestCurrentFrame(bool atTick = false);
    void askAgainIfRefused();
    int wantedIndex() const;

    int frameCount() const;
    int clampFrame(std::int64_t frame) const;
    void repaint(bool erase);
    void drawClientArea(HDC dc);
    void drawPictureNow();
    void warn(HWND owner, const std::wstring& text) const;

    PlaybackOwner& owner_;
    WaveAudioPlayer* soundPlayer_ = nullptr;  // a window object: freed with its window
    int playState_ = stateClosed;
    int currentFrame_ = 0;
    FrameClock clock_{FrameClock::videoFramesPerSecond};
    PlaybackSpeed speed_;
    bool endReached_ = false;
    int openMode_ = 0;
    std::wstring oneShotPath_;
    bool oneShotShown_ = true;
    bool firstFrameArrived_ = false;
    int chapter_ = 0;
    int totalFrames_ = 0;
    ChapterTable chapterPaths_;
    int chapterCount_ = 0;
    TimerResolution timerResolution_;
    std::unique_ptr<IVideoInfo> info_;
    std::wstring folder_;
    std::unique_ptr<Image> currentImage_;
    // The next chapter's first picture between the change and its time.
    std::unique_ptr<Image> pictureAtTick_;
    int shownFrame_ = -1;
    // The loader refused the last request because it was decoding.
    bool requestRefused_ = false;
    GammaCorrection brightness_;
    FramePainter painter_;
    std::unique_ptr<ImageLoader> loader_;
    std::unique_ptr<ChapterPreparer> preparer_;
};
