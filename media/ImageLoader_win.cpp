#include "media/ImageLoader.h"
// mmsystem.h only after windows.h, which the loader's header brings.
#include <mmsystem.h>

#include <iomanip>
#include <sstream>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/Texts.h"
#include "app/WindowError.h"
#include "platform/LocalTime.h"

namespace {

constexpr int kArchiveUnreadableText = 5511;

// "<prefix><loader address><low 32 bits of the present time value>": unique to
// the loader within the process, and unlikely to meet another process's.
std::wstring kernelObjectName(const wchar_t* prefix, const void* loader) {
    std::int64_t now = 0;
    platform::localToTimeValue(platform::localNow(), now);
    std::wostringstream name;
    name << prefix << std::hex << std::uppercase << std::setfill(L'0') << std::setw(8)
         << reinterpret_cast<std::uintptr_t>(loader) << std::dec << static_cast<std::int32_t>(now);
    return name.str();
}

// A name another object already holds (another viewer whose loader sat at the
// same address in the same second) would make two loaders share one lock and
// one request event; such a loader takes private objects instead.
template <typename Create>
HANDLE createOwnObject(Create create, const std::wstring& name) {
    SetLastError(ERROR_SUCCESS);
    HANDLE object = create(name.c_str());
    if (object && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(object);
        object = create(nullptr);
    }
    if (!object) throw makeWindowException(GetLastError());
    return object;
}

}  // namespace

ImageLoader::ImageLoader(HWND notifyWindow, FrameDecoder decoder)
    : notifyWindow_(notifyWindow), decoder_(std::move(decoder)) {
    try {
        createKernelObjects();
        startWorker();
    } catch (...) {
        closeHandles();
        throw;
    }
}

ImageLoader::~ImageLoader() {
    quit_ = true;
    if (wakeEvent_) SetEvent(wakeEvent_);  // the worker may be waiting without a time limit
    endWorker();
    freeUndeliveredImages();
    closeHandles();
}

void ImageLoader::createKernelObjects() {
    requestEventName_ = kernelObjectName(L"event", this);
    lockName_ = kernelObjectName(L"mutex", this);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    requestEvent_ = createOwnObject([&](const wchar_t* name) { return CreateEventW(&inheritable, FALSE, FALSE, name); },
                                    requestEventName_);
    lock_ = createOwnObject([&](const wchar_t* name) { return CreateMutexW(&inheritable, FALSE, name); }, lockName_);
    wakeEvent_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!wakeEvent_) throw makeWindowException(GetLastError());
}

void ImageLoader::startWorker() {
    thread_ = CreateThread(nullptr, 0, workerEntry, this, CREATE_SUSPENDED, &threadId_);
    if (!thread_) throw makeWindowException(GetLastError());
    SetThreadPriority(thread_, THREAD_PRIORITY_NORMAL);
    ResumeThread(thread_);
}

// The worker only leaves its loop between decodes. Should a decode outlast the
// limit, the wait goes on: the worker still uses the archive, the lock and the
// event, and freeing them under it would crash.
void ImageLoader::endWorker() {
    if (!thread_) return;
    if (WaitForSingleObject(thread_, lockTimeoutMs) == WAIT_TIMEOUT) WaitForSingleObject(thread_, INFINITE);
}

// Pictures posted before the worker ended that the window has not received
// yet. Only the window's own thread can take them from its queue.
void ImageLoader::freeUndeliveredImages() {
    if (!notifyWindow_ || GetWindowThreadProcessId(notifyWindow_, nullptr) != GetCurrentThreadId()) return;
    dropQueuedImages(notifyWindow_);
}

void ImageLoader::dropQueuedImages(HWND window) {
    MSG message;
    while (PeekMessageW(&message, window, imageReadyMessage, imageReadyMessage, PM_REMOVE)) {
        // The quit message ignores the filter: taken here it would be lost and
        // the message loop would never end, so it goes back into the queue.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        delete reinterpret_cast<Image*>(message.lParam);
    }
}

void ImageLoader::closeHandles() {
    for (HANDLE* handle : {&thread_, &requestEvent_, &wakeEvent_, &lock_}) {
        if (*handle) CloseHandle(*handle);
        *handle = nullptr;
    }
}

bool ImageLoader::request(int index) {
    return requestRun(index, index + 1, false);
}

bool ImageLoader::requestAtTick(int index) {
    return requestRun(index, index + 1, true);
}

bool ImageLoader::requestRun(int first, int end) {
    return requestRun(first, end, false);
}

bool ImageLoader::requestRun(int first, int end, bool atTick) {
    if (!tryLock()) return false;
    requestedIndex_ = first;
    runEnd_ = end;
    requestedCancelCount_ = cancelCount_;
    requestedAtTick_ = atTick;
    requestPending_ = true;
    unlock();
    // Signalled only after the lock is free: a worker woken while the lock is
    // still held would find it taken and drop the request.
    SetEvent(requestEvent_);
    return true;
}

void ImageLoader::openArchive(const std::wstring& path) {
    runWithLock([&] {
        if (displayMode == DisplayModeEvent) {
            archive_.readEventArchive(path);
        } else if (displayMode == DisplayModeVideo) {
            archive_.readChapterArchive(path);
        }
    });
}

void ImageLoader::openOneShot(const std::wstring& path) {
    runWithLock([&] {
        try {
            archive_.readOneShotFile(path);
        } catch (const Exception& failure) {
            throw Exception(failure.message());
        }
    });
}

bool ImageLoader::runLocked(const std::function<bool(VideoArchive&)>& operation) {
    bool result = false;
    runWithLock([&] {
        try {
            result = operation(archive_);
        } catch (const Exception& failure) {
            throw Exception(failure.message());
        }
    });
    return result;
}

void ImageLoader::closeArchive() {
    // Not had within the limit: the worker is stuck in a decode and the archive stays open.
    if (!waitForLock(lockTimeoutMs)) return;
    runAndUnlock([&] { archive_.close(); });
}

void ImageLoader::adoptArchive(VideoArchive& prepared) {
    runWithLock([&] { archive_.swap(prepared); });
}

// Wakes the worker when it has reached the old end and waits.
void ImageLoader::allowRunTo(int end) {
    int current = runEnd_;
    while (current < end && !runEnd_.compare_exchange_weak(current, end)) {
    }
    SetEvent(requestEvent_);
}

void ImageLoader::cancel() {
    tick_ = 0;
    ++cancelCount_;
}

// The worker sleeps until the tick it knew of is due, or without limit: it is
// woken to wait again for the new due time. The millisecond counter may step
// just after it is read, so one more millisecond keeps the tick from coming
// before periodMs have passed (a tick early by the sound clock is wasted).
void ImageLoader::armTick(DWORD periodMs) {
    armTickBeforeRequest(periodMs);
    SetEvent(wakeEvent_);
}

void ImageLoader::armTickBeforeRequest(DWORD periodMs) {
    tick_ = tickArmedBit | static_cast<DWORD>(timeGetTime() + periodMs + 1);
}

bool ImageLoader::tickIsDue(DWORD now, DWORD due) {
    return static_cast<std::int32_t>(now - due) >= 0;
}

DWORD ImageLoader::waitForTick(std::uint64_t tick, DWORD now) {
    if (!(tick & tickArmedBit)) return INFINITE;
    const auto due = static_cast<DWORD>(tick);
    return tickIsDue(now, due) ? 0 : due - now;
}

DWORD WINAPI ImageLoader::workerEntry(LPVOID loader) {
    static_cast<ImageLoader*>(loader)->runWorker();
    return 0;
}

// The worker wakes for a request, for an armed tick and when the tick is due;
// between them it sleeps, where waking every millisecond to look at the tick
// cost more than the decoding.
void ImageLoader::runWorker() {
    const HANDLE events[] = {requestEvent_, wakeEvent_};
    while (!quit_) {
        const DWORD wait = waitForTick(tick_, timeGetTime());
        const bool requested = WaitForMultipleObjects(2, events, FALSE, wait) == WAIT_OBJECT_0;
        if (quit_) break;
        dropHeldImageIfCancelled();
        // A request whose lock is taken at this moment is lost; the owner asks again.
        if ((requested || runHasWork()) && notifyWindow_ && tryLock()) {
            decodeRequestedFrames();
            unlock();
        }
        postTickIfDue();
    }
}

// The lock is held for the whole run: what the owner does under it (opening,
// closing) comes after a cancel, which ends the run at the next frame.
void ImageLoader::decodeRequestedFrames() {
    takePendingRequest();
    while (runHasWork() && !quit_) {
        const int index = runNext_++;
        busy_ = true;
        std::unique_ptr<Image> image = decodeFrame(index);
        if (!quit_ && runCancelCount_ == cancelCount_) deliverImage(index, std::move(image));
        busy_ = false;
        postTickIfDue();
    }
}

// A picture still held when the next request comes is the newest the owner
// has: it goes out first.
void ImageLoader::takePendingRequest() {
    if (!requestPending_) return;
    requestPending_ = false;
    dropHeldImageIfCancelled();
    postHeldImage();
    runNext_ = requestedIndex_;
    runCancelCount_ = requestedCancelCount_;
    runAtTick_ = requestedAtTick_;
    running_ = true;
}

bool ImageLoader::runHasWork() const {
    return running_ && runCancelCount_ == cancelCount_ && runNext_ < runEnd_;
}

// Nothing may leave the worker's thread function: a picture that cannot be
// made is simply no picture.
std::unique_ptr<Image> ImageLoader::decodeFrame(int index) {
    try {
        return decoder_ ? decoder_(archive_, index) : archive_.decodeFrame(index);
    } catch (...) {
        return nullptr;
    }
}

void ImageLoader::deliverImage(int index, std::unique_ptr<Image> image) {
    const std::uint64_t tick = tick_;
    const bool tickAhead = (tick & tickArmedBit) && !tickIsDue(timeGetTime(), static_cast<DWORD>(tick));
    if (!runAtTick_ || !tickAhead) {
        postImage(index, std::move(image));
        return;
    }
    postHeldImage();
    heldImage_ = std::move(image);
    heldIndex_ = index;
    heldCancelCount_ = runCancelCount_;
}

// Held even when the decode failed: the owner hears of the frame all the same.
// Under the lock, as every picture is posted.
void ImageLoader::postHeldImage() {
    if (heldIndex_ < 0) return;
    postImage(heldIndex_, std::move(heldImage_));
    heldIndex_ = -1;
}

// Pictures are posted under the lock only: the owner's close cancels, takes
// the lock and then drops what was posted, so nothing of a closed recording
// arrives after it.
void ImageLoader::releaseHeldImage() {
    if (heldIndex_ < 0) return;
    if (!waitForLock(lockTimeoutMs)) {
        heldImage_.reset();
        heldIndex_ = -1;
        return;
    }
    dropHeldImageIfCancelled();
    postHeldImage();
    unlock();
}

void ImageLoader::dropHeldImageIfCancelled() {
    if (heldIndex_ < 0 || heldCancelCount_ == cancelCount_) return;
    heldImage_.reset();
    heldIndex_ = -1;
}

// Ownership passes with a successful post; a window that is gone (or a full
// queue) refuses it, and the picture is freed here with `image`.
void ImageLoader::postImage(int index, std::unique_ptr<Image> image) {
    if (PostMessageW(notifyWindow_, imageReadyMessage, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(image.get()))) {
        image.release();
    }
}

void ImageLoader::postTickIfDue() {
    std::uint64_t tick = tick_;
    if (!(tick & tickArmedBit) || !tickIsDue(timeGetTime(), static_cast<DWORD>(tick))) return;
    // Re-armed or cancelled since it was read: decided again on the next turn.
    if (!tick_.compare_exchange_strong(tick, 0)) return;
    releaseHeldImage();  // the picture first, for the tick to find it shown
    if (notifyWindow_) PostMessageW(notifyWindow_, tickMessage, 0, 0);
}

bool ImageLoader::tryLock() {
    return waitForLock(0);
}

// An abandoned mutex is owned by the caller all the same.
bool ImageLoader::waitForLock(DWORD timeoutMs) {
    const DWORD result = WaitForSingleObject(lock_, timeoutMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void ImageLoader::unlock() {
    ReleaseMutex(lock_);
}

void ImageLoader::runWithLock(const std::function<void()>& operation) {
    if (!waitForLock(lockTimeoutMs)) throw ImageException(loadText(kArchiveUnreadableText));
    runAndUnlock(operation);
}

void ImageLoader::runAndUnlock(const std::function<void()>& operation) {
    try {
        operation();
    } catch (...) {
        unlock();
        throw;
    }
    unlock();
}
