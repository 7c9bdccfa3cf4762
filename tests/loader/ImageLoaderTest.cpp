// The background loader under Wine: latest-request-wins, refused requests
// during a decode, cancel and destruction during a decode, the tick, and the
// locked archive operations with their failures.
#include <gtest/gtest.h>

#include "media/ImageLoader.h"
// mmsystem.h only after windows.h, which the loader's header brings.
#include <mmsystem.h>

#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "loader/LoaderSamples.h"
#include "loader/ReceiverThread.h"

namespace {

// Only guards against a hang; never a claim about speed.
constexpr DWORD kPatienceMs = 60000;

struct Arrival {
    int index = -1;
    std::unique_ptr<Image> image;
};

std::optional<MSG> takeMessage(HWND window, UINT message) {
    MSG taken;
    if (!PeekMessageW(&taken, window, message, message, PM_REMOVE)) return std::nullopt;
    return taken;
}

std::optional<MSG> waitForMessage(HWND window, UINT message, DWORD timeoutMs = kPatienceMs) {
    const DWORD start = timeGetTime();
    for (;;) {
        if (std::optional<MSG> taken = takeMessage(window, message)) return taken;
        if (timeGetTime() - start >= timeoutMs) return std::nullopt;
        Sleep(1);
    }
}

std::optional<Arrival> waitForImage(HWND window, DWORD timeoutMs = kPatienceMs) {
    std::optional<MSG> message = waitForMessage(window, ImageLoader::imageReadyMessage, timeoutMs);
    if (!message) return std::nullopt;
    return Arrival{static_cast<int>(message->wParam),
                   std::unique_ptr<Image>(reinterpret_cast<Image*>(message->lParam))};
}

std::vector<Arrival> takeQueuedImages(HWND window) {
    std::vector<Arrival> arrivals;
    while (std::optional<MSG> message = takeMessage(window, ImageLoader::imageReadyMessage)) {
        arrivals.push_back(
            {static_cast<int>(message->wParam), std::unique_ptr<Image>(reinterpret_cast<Image*>(message->lParam))});
    }
    return arrivals;
}

// The worker leaves its busy state just before it releases the lock, so a
// request right after may still be refused once.
// A request is refused while the worker still holds the lock after posting
// its last picture; the owner asks again, and so does the test.
// Asks until the loader takes the request.
template <typename Request>
bool onceIdle(Request request) {
    const DWORD start = timeGetTime();
    while (!request()) {
        if (timeGetTime() - start >= kPatienceMs) return false;
        Sleep(1);
    }
    return true;
}

bool requestRunOnceIdle(ImageLoader& loader, int first, int end) {
    return onceIdle([&] { return loader.requestRun(first, end); });
}

bool requestOnceIdle(ImageLoader& loader, int index) {
    return onceIdle([&] { return loader.request(index); });
}

bool requestAtTickOnceIdle(ImageLoader& loader, int index) {
    return onceIdle([&] { return loader.requestAtTick(index); });
}

bool waitUntilBusy(const ImageLoader& loader, bool busy) {
    const DWORD start = timeGetTime();
    while (loader.isBusy() != busy) {
        if (timeGetTime() - start >= kPatienceMs) return false;
        Sleep(0);
    }
    return true;
}

class ImageLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        modelCode() = ModelCode{2, 3};  // the sample writer's model code
        samples_ = LoaderSamples::write();
    }
    static void TearDownTestSuite() { samples_.remove(); }

    void SetUp() override {
        ASSERT_FALSE(samples_.folder.empty()) << "sample files could not be written";
        displayMode = DisplayModeEvent;
        window_ = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        takeQueuedImages(window_);
        DestroyWindow(window_);
    }

    static const LoaderSamples& samples() { return samples_; }

    // A loader with the big archive open and a decode of `index` under way.
    std::unique_ptr<ImageLoader> loaderDecoding(int index, HWND window) {
        auto loader = std::make_unique<ImageLoader>(window);
        loader->openArchive(samples().bigEvent);
        EXPECT_TRUE(loader->request(index));
        EXPECT_TRUE(waitUntilBusy(*loader, true));
        return loader;
    }

    HWND window_ = nullptr;

private:
    static inline LoaderSamples samples_;
};

TEST_F(ImageLoaderTest, OnlyTheLatestOfQuickRequestsIsDecoded) {
    ImageLoader loader(window_);
    loader.openArchive(samples().bigEvent);
    int lastAccepted = -1;
    for (int index : {0, 1, 2}) {
        if (loader.request(index)) lastAccepted = index;
    }
    ASSERT_NE(lastAccepted, -1);

    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->index, lastAccepted);
    ASSERT_NE(arrival->image, nullptr);
    EXPECT_EQ(arrival->image->width(), LoaderSamples::bigWidth);
    EXPECT_EQ(arrival->image->height(), LoaderSamples::bigHeight);
    // A queue of requests would show up as a second picture.
    EXPECT_FALSE(waitForImage(window_, 500));
}

TEST_F(ImageLoaderTest, RequestDuringADecodeIsRefusedAndChangesNothing) {
    std::unique_ptr<ImageLoader> loader = loaderDecoding(0, window_);
    EXPECT_FALSE(loader->request(2));

    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->index, 0);
    EXPECT_FALSE(waitForImage(window_, 500));
}

// Requests are made one at a time with the worker idle: none may be lost
// between the request's signal and the worker taking the lock.
TEST_F(ImageLoaderTest, EveryRequestMadeWhileIdleIsDecoded) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    for (int round = 0; round < 60; ++round) {
        const int index = round % LoaderSamples::smallFrames;
        // The previous picture is posted just before the worker lets the lock
        // go, so a request right after its arrival may still find it busy.
        bool accepted = false;
        for (int tries = 0; tries < 400 && !(accepted = loader.request(index)); ++tries) Sleep(5);
        ASSERT_TRUE(accepted) << "round " << round;
        std::optional<Arrival> arrival = waitForImage(window_, 10000);
        ASSERT_TRUE(arrival) << "request lost in round " << round;
        EXPECT_EQ(arrival->index, index);
        EXPECT_NE(arrival->image, nullptr);
    }
}

TEST_F(ImageLoaderTest, FrameThatDoesNotDecodeArrivesAsNoPicture) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    ASSERT_TRUE(loader.request(LoaderSamples::smallFrames + 5));
    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->index, LoaderSamples::smallFrames + 5);
    EXPECT_EQ(arrival->image, nullptr);
}

TEST_F(ImageLoaderTest, CancelDuringADecodeThrowsThatPictureAwayAndTheNextIsPosted) {
    std::unique_ptr<ImageLoader> loader = loaderDecoding(0, window_);
    loader->cancel();
    ASSERT_TRUE(waitUntilBusy(*loader, false));
    // The post comes before the worker leaves its busy state.
    EXPECT_TRUE(takeQueuedImages(window_).empty());

    ASSERT_TRUE(requestOnceIdle(*loader, 1));
    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->index, 1);
    EXPECT_NE(arrival->image, nullptr);
}

TEST_F(ImageLoaderTest, ArmingTwiceGivesOneTickAtTheLaterDueTime) {
    ImageLoader loader(window_);
    const DWORD armedAt = timeGetTime();
    loader.armTick(40);
    loader.armTick(250);
    ASSERT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
    EXPECT_GE(timeGetTime() - armedAt, 250u);
    EXPECT_FALSE(waitForMessage(window_, ImageLoader::tickMessage, 400));
}

TEST_F(ImageLoaderTest, CancelDisarmsTheTick) {
    ImageLoader loader(window_);
    loader.armTick(30);
    loader.cancel();
    EXPECT_FALSE(waitForMessage(window_, ImageLoader::tickMessage, 300));

    loader.armTick(0);  // and it can be armed again
    EXPECT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
}

// The worker sleeps until the tick it knows of; a nearer tick armed while it
// sleeps must wake it, or the tick would come at the old, later due time.
TEST_F(ImageLoaderTest, ATickArmedWhileTheWorkerSleepsComesAtItsOwnTime) {
    ImageLoader loader(window_);
    loader.armTick(30000);
    Sleep(50);  // the worker is asleep until the first due time
    loader.cancel();
    Sleep(50);
    loader.armTick(20);
    EXPECT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
}

// Armed without a wake-up of its own, the tick relies on the request that
// follows: accepted, it wakes the sleeping worker; refused during a decode,
// the worker takes the tick after that decode. Either way it comes.
TEST_F(ImageLoaderTest, ATickArmedBeforeARequestComesWithoutAWakeOfItsOwn) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    Sleep(50);  // asleep without a limit
    loader.armTickBeforeRequest(20);
    ASSERT_TRUE(loader.request(0));
    EXPECT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
    EXPECT_TRUE(waitForImage(window_, 10000));

    std::unique_ptr<ImageLoader> busy = loaderDecoding(0, window_);
    busy->armTickBeforeRequest(0);
    busy->request(1);  // most likely refused: the decode holds the lock
    EXPECT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, kPatienceMs));
}

// A playing owner's frame waits for its tick and comes just before it; with
// no tick ahead it comes at once; a cancel while it waits drops it.
TEST_F(ImageLoaderTest, AFrameRequestedAtTheTickComesWithTheTickNotBefore) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    const DWORD armedAt = timeGetTime();
    loader.armTickBeforeRequest(300);
    ASSERT_TRUE(requestAtTickOnceIdle(loader, 1));
    ASSERT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
    EXPECT_GE(timeGetTime() - armedAt, 300u);
    std::vector<Arrival> arrived = takeQueuedImages(window_);  // posted before the tick
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].index, 1);
    EXPECT_NE(arrived[0].image, nullptr);

    ASSERT_TRUE(requestAtTickOnceIdle(loader, 2));  // no tick armed
    std::optional<Arrival> atOnce = waitForImage(window_, 10000);
    ASSERT_TRUE(atOnce);
    EXPECT_EQ(atOnce->index, 2);

    loader.armTickBeforeRequest(200);
    ASSERT_TRUE(requestAtTickOnceIdle(loader, 3));
    Sleep(100);  // decoded and held by now
    loader.cancel();
    loader.armTick(100);  // wakes the worker, which finds the cancel
    EXPECT_TRUE(waitForMessage(window_, ImageLoader::tickMessage, 10000));
    EXPECT_TRUE(takeQueuedImages(window_).empty());
}

// With no tick armed the worker sleeps without a limit: a request wakes it.
TEST_F(ImageLoaderTest, ARequestWakesTheWorkerWithNoTickArmed) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    Sleep(50);
    ASSERT_TRUE(requestOnceIdle(loader, 0));
    EXPECT_TRUE(waitForImage(window_, 10000));
}

TEST_F(ImageLoaderTest, TheWorkerSleepsUntilTheArmedTickIsDue) {
    const std::uint64_t armed = ImageLoader::tickArmedBit;
    EXPECT_EQ(ImageLoader::waitForTick(0, 1000), INFINITE);
    EXPECT_EQ(ImageLoader::waitForTick(1000, 500), INFINITE);  // a due time without the armed bit
    EXPECT_EQ(ImageLoader::waitForTick(armed | 1033, 1000), 33u);
    EXPECT_EQ(ImageLoader::waitForTick(armed | 1000, 1000), 0u);
    EXPECT_EQ(ImageLoader::waitForTick(armed | 990, 1000), 0u);
    EXPECT_EQ(ImageLoader::waitForTick(armed | 0x10u, 0xFFFFFFF0u), 0x20u);  // across the wrap
}

// A due time just past the wrap of the millisecond clock must not wait 49 days.
TEST_F(ImageLoaderTest, TickDueTimeSurvivesTheClockWrap) {
    EXPECT_TRUE(ImageLoader::tickIsDue(5, 0xFFFFFFF0u));
    EXPECT_FALSE(ImageLoader::tickIsDue(0xFFFFFFF0u, 5));
    EXPECT_TRUE(ImageLoader::tickIsDue(1000, 1000));
    EXPECT_FALSE(ImageLoader::tickIsDue(999, 1000));
}

TEST_F(ImageLoaderTest, DestructionDuringADecodeEndsInTimeWithoutPosting) {
    ReceiverThread receiver;
    std::unique_ptr<ImageLoader> loader = loaderDecoding(0, receiver.window());
    const DWORD start = timeGetTime();
    loader.reset();
    EXPECT_LT(timeGetTime() - start, ImageLoader::lockTimeoutMs);
    receiver.flush();
    EXPECT_EQ(receiver.imagesReceived(), 0);
}

TEST_F(ImageLoaderTest, PicturesNotYetReceivedAreFreedWithTheLoader) {
    auto loader = std::make_unique<ImageLoader>(window_);
    loader->openArchive(samples().smallEvent);
    ASSERT_TRUE(loader->request(0));
    MSG queued;
    const DWORD start = timeGetTime();
    while (
        !PeekMessageW(&queued, window_, ImageLoader::imageReadyMessage, ImageLoader::imageReadyMessage, PM_NOREMOVE)) {
        ASSERT_LT(timeGetTime() - start, kPatienceMs);
        Sleep(1);
    }
    loader.reset();
    EXPECT_TRUE(takeQueuedImages(window_).empty());
}

TEST_F(ImageLoaderTest, OpensTheArchiveKindOfTheDisplayMode) {
    ImageLoader loader(window_);
    displayMode = DisplayModeVideo;
    loader.openArchive(samples().chapter);
    EXPECT_EQ(loader.archive().frameCount(), LoaderSamples::chapterFrames);

    displayMode = DisplayModeOneShot;
    loader.openArchive(samples().missing);  // nothing is opened in one-shot mode
    EXPECT_EQ(loader.archive().frameCount(), LoaderSamples::chapterFrames);

    loader.openOneShot(samples().oneShot);
    EXPECT_EQ(loader.archive().frameCount(), 1);
    ASSERT_TRUE(loader.request(0));
    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_NE(arrival->image, nullptr);

    loader.closeArchive();
    EXPECT_EQ(loader.archive().frameCount(), 0);
}

// Each failure must leave the lock free: the worker decodes again afterwards.
TEST_F(ImageLoaderTest, OpenFailuresKeepTheirTextsAndReleaseTheLock) {
    ImageLoader loader(window_);
    for (const std::wstring* path : {&samples().missing, &samples().garbage}) {
        try {
            loader.openArchive(*path);
            ADD_FAILURE() << "no failure";
        } catch (const VideoArchiveException& failure) {
            EXPECT_EQ(failure.message(), loadText(5510));
        }
    }
    try {
        loader.openOneShot(samples().missing);
        ADD_FAILURE() << "no failure";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), loadText(5517));
    }
    try {
        loader.runLocked([](VideoArchive&) -> bool { throw ThumbnailException(L"operation failed"); });
        ADD_FAILURE() << "no failure";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), L"operation failed");
    }
    EXPECT_TRUE(loader.runLocked([](VideoArchive&) { return true; }));
    EXPECT_FALSE(loader.runLocked([](VideoArchive&) { return false; }));

    loader.openArchive(samples().smallEvent);
    ASSERT_TRUE(loader.request(3));
    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_NE(arrival->image, nullptr);
}

TEST_F(ImageLoaderTest, LockHeldBeyondTheLimitGives5511AndKeepsTheArchiveOpen) {
    ImageLoader loader(window_);
    loader.openArchive(samples().smallEvent);
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        loader.runLocked([&](VideoArchive&) {
            SetEvent(held);
            WaitForSingleObject(release, INFINITE);
            return true;
        });
    });
    WaitForSingleObject(held, INFINITE);

    const DWORD start = timeGetTime();
    try {
        loader.openArchive(samples().chapter);
        ADD_FAILURE() << "no time-out";
    } catch (const ImageException& failure) {
        EXPECT_EQ(failure.message(), loadText(5511));
    }
    EXPECT_GE(timeGetTime() - start, ImageLoader::lockTimeoutMs - 50);
    loader.closeArchive();
    EXPECT_EQ(loader.archive().frameCount(), LoaderSamples::smallFrames);

    SetEvent(release);
    holder.join();
    CloseHandle(held);
    CloseHandle(release);
    ASSERT_TRUE(loader.request(2));
    std::optional<Arrival> arrival = waitForImage(window_);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->index, 2);
}

// Runs: the miniatures of a folder without a request per picture.
std::vector<int> indexesOf(const std::vector<Arrival>& arrivals) {
    std::vector<int> indexes;
    for (const Arrival& arrival : arrivals) indexes.push_back(arrival.index);
    return indexes;
}

std::vector<Arrival> waitForImages(HWND window, std::size_t count) {
    std::vector<Arrival> arrivals;
    while (arrivals.size() < count) {
        std::optional<Arrival> arrival = waitForImage(window);
        if (!arrival) break;
        arrivals.push_back(std::move(*arrival));
    }
    return arrivals;
}

TEST_F(ImageLoaderTest, RunDecodesInOrderThroughTheOwnersDecoderAsFarAsAllowed) {
    // Pictures one pixel high whose width tells the frame; frame 4 fails.
    ImageLoader loader(window_, [](VideoArchive&, int index) -> std::unique_ptr<Image> {
        if (index == 4) throw ImageException(L"");
        return std::make_unique<Image>(index + 1, 1);
    });
    ASSERT_TRUE(loader.requestRun(1, 4));
    std::vector<Arrival> arrivals = waitForImages(window_, 3);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), indexesOf(arrivals));
    for (const Arrival& arrival : arrivals) {
        ASSERT_NE(arrival.image, nullptr);
        EXPECT_EQ(arrival.index + 1, arrival.image->width());
    }
    EXPECT_FALSE(waitForImage(window_, 300)) << "went beyond the end";

    loader.allowRunTo(6);
    arrivals = waitForImages(window_, 2);
    EXPECT_EQ((std::vector<int>{4, 5}), indexesOf(arrivals));
    ASSERT_EQ(2u, arrivals.size());
    EXPECT_EQ(nullptr, arrivals[0].image);
    loader.allowRunTo(3);  // never backwards
    EXPECT_FALSE(waitForImage(window_, 300));
}

TEST_F(ImageLoaderTest, CancelEndsARunAndANewRunStartsWhereItSays) {
    std::unique_ptr<ImageLoader> loader = std::make_unique<ImageLoader>(window_);
    loader->openArchive(samples().bigEvent);
    ASSERT_TRUE(loader->requestRun(0, LoaderSamples::bigFrames));
    ASSERT_TRUE(waitUntilBusy(*loader, true));
    EXPECT_FALSE(loader->request(2)) << "refused while the run goes on";
    loader->cancel();
    ASSERT_TRUE(waitUntilBusy(*loader, false));
    EXPECT_FALSE(waitForImage(window_, 500)) << "a picture of the cancelled run";

    loader->openArchive(samples().smallEvent);
    ASSERT_TRUE(requestOnceIdle(*loader, 0));  // leaves the worker idle again
    ASSERT_TRUE(waitForImage(window_));
    ASSERT_TRUE(requestRunOnceIdle(*loader, 5, LoaderSamples::smallFrames));
    EXPECT_EQ((std::vector<int>{5, 6, 7}), indexesOf(waitForImages(window_, 3)));
}

}  // namespace
