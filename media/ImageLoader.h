#pragma once
// Decodes recorder frames off the interface thread and paces its owner. The
// loader embeds the archive reader of one recording and runs one worker that
// decodes only the most recently requested frame, posting the picture to the
// owner's window; the same worker posts the owner's frame tick when it is due.
//
// Messages to the owner's window:
//   imageReadyMessage (WM_USER + 100): wParam the frame index, lParam the new
//     Image or 0 when the frame did not decode. The receiver owns the Image.
//   tickMessage (WM_USER + 1): the armed due time has passed.
//
// The owner destroys the loader no later than its own window (the window
// objects of the program do so from their destructors at WM_DESTROY): pictures
// already posted but not yet received are then freed here, and a post to a
// window that is gone is freed by the worker, so no picture is ever lost track of.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/Image.h"
#include "recording/VideoArchive.h"

class ImageLoader {
public:
    static constexpr UINT imageReadyMessage = WM_USER + 100;
    static constexpr UINT tickMessage = WM_USER + 1;
    // Longest wait for the lock by the opening, locked and closing operations,
    // and for the worker's end at destruction.
    static constexpr DWORD lockTimeoutMs = 3000;

    // How the worker makes the picture of a requested frame, on its own thread
    // and under the lock; by default the archive's full decode. Failures thrown
    // from it become no picture.
    using FrameDecoder = std::function<std::unique_ptr<Image>(VideoArchive&, int index)>;

    // Throws WindowException when the event, the mutex or the worker cannot be created.
    explicit ImageLoader(HWND notifyWindow, FrameDecoder decoder = {});
    virtual ~ImageLoader();
    ImageLoader(const ImageLoader&) = delete;
    ImageLoader& operator=(const ImageLoader&) = delete;

    // Frees the pictures posted to window that it has not received yet; call
    // on the window's own thread.
    static void dropQueuedImages(HWND window);

    // Never blocks: false when the worker is decoding (the owner asks again on
    // its next tick). A newer request replaces one the worker has not started.
    bool request(int index);
    // The same for a playing owner: when the armed tick is not yet due once
    // the picture is made, the picture is held and posted just before the
    // tick. Each frame then shows at its time, and the owner wakes once a frame.
    bool requestAtTick(int index);
    // The same for the frames first .. end - 1: the worker decodes them in
    // order and posts each as it is done, without a request per frame. It
    // stops at end, which allowRunTo moves on, so the owner sets how far the
    // worker may run ahead of what it has taken in. A cancel ends the run;
    // requests are refused while the worker is on it.
    bool requestRun(int first, int end);
    // Lets the run requested last go on up to end - 1. Never blocks.
    void allowRunTo(int end);

    // Under the lock: opens the archive for the current display mode (event or
    // video memory; nothing in one-shot mode). ImageException 5511 when the lock
    // is not had within the limit; the reader's VideoArchiveException as it is.
    void openArchive(const std::wstring& path);
    // Under the lock: opens one one-shot picture file. Failures as Exception.
    void openOneShot(const std::wstring& path);
    // Runs one archive operation of the owner under the lock and returns its
    // result. ImageException 5511 on time-out; the operation's failures as Exception.
    bool runLocked(const std::function<bool(VideoArchive&)>& operation);
    // Under the lock, or not at all when it is not had within the limit.
    void closeArchive();
    // Under the lock: the archive read ahead into prepared becomes the open one
    // and prepared is left holding the one that was open, for the caller to
    // close. ImageException 5511 when the lock is not had within the limit.
    void adoptArchive(VideoArchive& prepared);

    // Disarms the tick and throws away the result of every request made so
    // far, including a decode in progress; later requests are posted as usual.
    void cancel();
    // One tick once periodMs have passed (to the millisecond the system timer
    // gives); arming again before it fires moves it.
    void armTick(DWORD periodMs);
    // The same without waking the worker, for a request made at once after it:
    // the worker takes the new due time when that request wakes it, or after
    // the decode that made it refuse the request. A wake-up less each frame.
    void armTickBeforeRequest(DWORD periodMs);

    // For views made after an open (VideoInfo07) and for what the worker never
    // changes (the sound file's path). Anything that reads the archive again
    // goes through runLocked.
    VideoArchive& archive() { return archive_; }
    const VideoArchive& archive() const { return archive_; }
    bool isBusy() const { return busy_; }

    // Whether a tick due at `due` has come at `now` (timeGetTime values, which
    // wrap every 49.7 days).
    static bool tickIsDue(DWORD now, DWORD due);
    // How long the worker sleeps at `now` for a tick word (tickArmedBit and the
    // due time in the low 32 bits): INFINITE when none is armed, 0 when it is due.
    static constexpr std::uint64_t tickArmedBit = std::uint64_t{1} << 32;
    static DWORD waitForTick(std::uint64_t tick, DWORD now);

private:
    static DWORD WINAPI workerEntry(LPVOID loader);
    void runWorker();
    void decodeRequestedFrames();
    bool requestRun(int first, int end, bool atTick);
    void takePendingRequest();
    bool runHasWork() const;
    std::unique_ptr<Image> decodeFrame(int index);
    void deliverImage(int index, std::unique_ptr<Image> image);
    void postImage(int index, std::unique_ptr<Image> image);
    void postHeldImage();
    void releaseHeldImage();
    void dropHeldImageIfCancelled();
    void postTickIfDue();

    void createKernelObjects();
    void startWorker();
    void endWorker();
    void freeUndeliveredImages();
    void closeHandles();

    bool tryLock();
    bool waitForLock(DWORD timeoutMs);
    void unlock();
    // Waits for the lock (ImageException 5511 on time-out), runs operation and
    // releases the lock however operation ends.
    void runWithLock(const std::function<void()>& operation);
    void runAndUnlock(const std::function<void()>& operation);

    VideoArchive archive_;
    HWND notifyWindow_;
    FrameDecoder decoder_;
    DWORD threadId_ = 0;
    HANDLE thread_ = nullptr;
    HANDLE requestEvent_ = nullptr;  // auto-reset
    HANDLE wakeEvent_ = nullptr;     // auto-reset: a tick armed, or the end
    HANDLE lock_ = nullptr;          // guards archive_ and the requested index
    std::wstring requestEventName_;
    std::wstring lockName_;
    int requestedIndex_ = 0;
    // Set by a request, cleared when the worker takes it: a wake-up left over
    // from a request already served must not decode the same frame again.
    bool requestPending_ = false;
    // The cancel count when the pending request was made: a request older than
    // the latest cancel is not posted.
    std::uint32_t requestedCancelCount_ = 0;
    // End of the run (exclusive): set with a request, raised by allowRunTo.
    std::atomic<int> runEnd_{0};
    // The run the worker is on: its next frame and the cancel count it was
    // requested under (the worker's own).
    int runNext_ = 0;
    std::uint32_t runCancelCount_ = 0;
    bool running_ = false;
    // Whether the pending request and the run are shown at the tick.
    bool requestedAtTick_ = false;
    bool runAtTick_ = false;
    // The worker's picture waiting for the tick, and the cancel count it was
    // made under: a cancel drops it.
    std::unique_ptr<Image> heldImage_;
    int heldIndex_ = -1;  // none held
    std::uint32_t heldCancelCount_ = 0;
    std::atomic<std::uint32_t> cancelCount_{0};
    std::atomic<bool> busy_{false};
    std::atomic<bool> quit_{false};
    // Armed flag (tickArmedBit) and due time (low 32 bits) in one word, so the
    // worker can disarm a tick without losing a re-arm made at the same moment.
    std::atomic<std::uint64_t> tick_{0};
};
