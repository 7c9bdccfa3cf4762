#pragma once
// The viewer's keyboard and menu commands for playback: play/pause, frame and
// second steps (across chapters in video memory), first and last frame, folder
// changes, speed, volume, copying the picture, full screen and going to a time.
// In one-shot memory the steps move through the thumbnail strip instead.
#include <windows.h>

#include <cstdint>

class FullScreenWindow;
class MainWindow;

class PlaybackCommands {
public:
    static constexpr int volumeStep = 1;

    explicit PlaybackCommands(MainWindow& window);
    ~PlaybackCommands();
    PlaybackCommands(const PlaybackCommands&) = delete;
    PlaybackCommands& operator=(const PlaybackCommands&) = delete;

    // Carries out command when it is one of these; false for any other command.
    bool run(int command);

    bool isFullScreen() const { return fullScreen_ != nullptr; }
    FullScreenWindow* fullScreen() const { return fullScreen_; }
    // Shows the frame counted over all chapters in video memory (within the
    // recording otherwise), clamped, stopped.
    void showFrame(int frame);
    // The frame on screen counted as showFrame counts.
    int overallFrame() const;
    // Video memory and event memory: the frame at or before time, or a warning
    // naming the recording's time range when time lies outside it.
    void goToTime(std::int64_t time);

private:
    void playOrPause();
    void stepFrames(int frames);
    void stepSeconds(int seconds);
    void showLastFrame();
    void stepThumbnail(int command);
    void changeSpeed(bool faster);
    void changeVolume(int step);
    void copyPicture();
    void toggleFullScreen();
    void leaveFullScreen();
    void askForTime();
    void goToTimeInChapters(std::int64_t time);
    void goToTimeInRecording(std::int64_t time);
    void warnOutside(std::int64_t first, std::int64_t last);
    void pauseIfPlaying();
    int framesPerSecond() const;
    bool isOpen() const;

    MainWindow& window_;
    // A window object: freed with its window.
    FullScreenWindow* fullScreen_ = nullptr;
};
