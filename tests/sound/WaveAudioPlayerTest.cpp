// The sound player against the test set-up's waveform device, which plays at
// the pace of a sound card and whose output is recorded in the file named by
// ORVELLE_SOUND_CAPTURE: the tests compare the bytes that reached the device
// with the file's samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/WaveAudioPlayer.h"
#include "sound/SoundCapture.h"
#include "sound/TestWave.h"
#include "support/MessagePump.h"
#include "support/ScratchFolder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr DWORD kPlayTimeoutMs = 15000;

// The playback window's stand-in: counts the end-of-sound notifications.
class NotifyCounter : public Window {
public:
    NotifyCounter() {
        create(0, defaultClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == MM_MCINOTIFY) ++notifications;
        return Window::windowProc(message, wParam, lParam);
    }
    int notifications = 0;
};

Bytes scaled(const Bytes& samples, std::size_t from, std::size_t to, int volume) {
    Bytes out;
    for (std::size_t i = from; i < to; ++i) out.push_back(SoundBuffer::scaleSample(samples[i], volume));
    return out;
}

// The device plays silence whenever it waits for data (before, between and
// after buffers); the test sounds contain none at full volume, so the sound is
// what remains without it. Wine's PulseAudio driver pads a stream that ran dry
// with zero bytes, which for 8-bit sound is no silence but a click: runs of
// zeros longer than noise ever has are its padding.
Bytes withoutSilence(const Bytes& bytes) {
    constexpr std::size_t kPaddingRun = 16;
    Bytes out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t zeros = 0;
        while (i + zeros < bytes.size() && bytes[i + zeros] == 0) ++zeros;
        if (zeros >= kPaddingRun) {
            i += zeros;
        } else if (zeros > 0) {
            out.insert(out.end(), zeros, 0);
            i += zeros;
        } else {
            if (bytes[i] != 128) out.push_back(bytes[i]);
            ++i;
        }
    }
    return out;
}

bool startsWith(const Bytes& bytes, const Bytes& start) {
    return bytes.size() >= start.size() && std::equal(start.begin(), start.end(), bytes.begin());
}

class WaveAudioPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = new NotifyCounter;
        player = new WaveAudioPlayer(owner->handle());
    }
    void TearDown() override {
        if (player) DestroyWindow(player->handle());
        DestroyWindow(owner->handle());
        pumpFor(50);
    }

    // A sound of the given length in the accepted format.
    std::wstring soundFile(std::size_t bytes) {
        TestWave wave;
        wave.samples = TestWave::noise(bytes, static_cast<std::uint32_t>(bytes));
        samples = wave.samples;
        const std::wstring path = folder.file(L"sound" + std::to_wstring(++files) + L".wav");
        EXPECT_TRUE(wave.write(path));
        return path;
    }

    // Opens the sound and marks the capture; false (and the test skipped) without a capture.
    bool openCaptured(const std::wstring& path) {
        if (!capture.available()) return false;
        capture.mark();
        player->open(path);
        return true;
    }

    // Closes the device; what it played since the mark.
    Bytes closeAndReadCapture() {
        player->close();
        return capture.readSinceMark();
    }

    bool playToTheEnd() {
        return pumpUntil([&] { return owner->notifications > 0; }, kPlayTimeoutMs);
    }

    // The start of the sound up to where the first request was cut off, then
    // everything from the seek on, once and in order, and nothing after it.
    void expectSeekResult(const Bytes& captured, std::size_t seekOffset) {
        const Bytes played = withoutSilence(captured);
        const Bytes tail = scaled(samples, seekOffset, samples.size() - 1, 16);
        ASSERT_GE(played.size(), tail.size()) << "captured " << captured.size();
        const std::size_t cut = played.size() - tail.size();
        EXPECT_TRUE(std::equal(tail.begin(), tail.end(), played.begin() + cut))
            << "the sound after the seek is not whole and in order";
        EXPECT_TRUE(startsWith(samples, Bytes(played.begin(), played.begin() + cut)))
            << "what came before the seek is not the start of the sound (" << cut << " bytes)";
    }

    ScratchFolder folder{L"snd"};
    NotifyCounter* owner = nullptr;
    WaveAudioPlayer* player = nullptr;
    Bytes samples;
    SoundCapture capture;
    int files = 0;
};

#define SKIP_WITHOUT_CAPTURE(opened) \
    if (!(opened)) GTEST_SKIP() << "ORVELLE_SOUND_CAPTURE is not set"

template <class Call>
void expectDeviceNotOpen(Call call) {
    try {
        call();
        ADD_FAILURE() << "no exception";
    } catch (const WaveAudioException& failure) {
        EXPECT_EQ(failure.message(), loadText(5069));
    }
}

TEST_F(WaveAudioPlayerTest, WithNothingOpenEveryRequestSaysTheDeviceIsNotOpen) {
    EXPECT_EQ(player->getState(), ISoundPlayer::stateClosed);
    const DWORD before = timeGetTime();
    expectDeviceNotOpen([&] { player->play(1234); });
    // The engine's clock without sound still starts from the request.
    EXPECT_EQ(player->baseMs(), 1234);
    EXPECT_LE(player->playStartTick() - before, 1000u);
    expectDeviceNotOpen([&] { player->stop(); });
    expectDeviceNotOpen([&] { player->pause(); });
    expectDeviceNotOpen([&] { player->resume(); });
    EXPECT_EQ(player->getPosition(), 0);
    EXPECT_EQ(player->getScaledByteRate(), 0u);
    EXPECT_FALSE(player->isFinished());

    EXPECT_EQ(player->getVolume(), 16);
    EXPECT_EQ(player->setVolume(20), 16);
    EXPECT_EQ(player->setVolume(-3), 0);
    EXPECT_EQ(player->getVolume(), 0);
    EXPECT_EQ(player->setVolume(9), 9);
}

TEST_F(WaveAudioPlayerTest, RefusedFilesThrowTheirPathAndLeaveThePlayerClosed) {
    TestWave stereo;
    stereo.channels = 2;
    TestWave fastRate;
    fastRate.samplesPerSecond = 22050;
    TestWave extraChunk;
    extraChunk.chunkBeforeData = std::string("fact\4\0\0\0\0\0\0\0", 12);
    const std::wstring good = soundFile(20000);
    int index = 0;
    for (TestWave* wave : {&stereo, &fastRate, &extraChunk}) {
        wave->samples = TestWave::noise(5000);
        const std::wstring path = folder.file(L"refused" + std::to_wstring(++index) + L".wav");
        ASSERT_TRUE(wave->write(path));
        player->open(good);
        ASSERT_EQ(player->getState(), ISoundPlayer::stateStopped);
        EXPECT_EQ(player->getScaledByteRate(), 11025000u);
        try {
            player->open(path);
            ADD_FAILURE() << "accepted refused file " << index;
        } catch (const Exception& failure) {
            EXPECT_EQ(failure.message(), path);
        }
        EXPECT_EQ(player->getState(), ISoundPlayer::stateClosed);
        EXPECT_EQ(player->getScaledByteRate(), 0u);
        expectDeviceNotOpen([&] { player->play(0); });
    }
    const std::wstring missing = folder.file(L"missing.wav");
    try {
        player->open(missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const Exception& failure) {
        EXPECT_EQ(failure.message(), missing);
    }
}

TEST_F(WaveAudioPlayerTest, PlayQueuesTwoChunksAndOnlyTheInterfaceThreadRefills) {
    SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(11025)));
    player->play(0);
    EXPECT_EQ(player->getState(), ISoundPlayer::statePlaying);
    // No messages are handled while sleeping, so no refill can happen: the
    // device gets what play queued and runs dry.
    Sleep(1500);
    const Bytes captured = closeAndReadCapture();
    EXPECT_EQ(withoutSilence(captured), scaled(samples, 0, 4410, 16)) << "captured " << captured.size();
}

TEST_F(WaveAudioPlayerTest, TheDeviceReceivesTheSamplesAtTheVolume) {
    for (int volume : {16, 8, 0}) {
        SCOPED_TRACE(volume);
        owner->notifications = 0;
        SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(8269)));  // three whole chunks and a short one
        player->setVolume(volume);
        player->play(0);
        ASSERT_TRUE(playToTheEnd());
        pumpFor(300);
        EXPECT_EQ(owner->notifications, 1);
        EXPECT_TRUE(player->isFinished());
        EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);
        const Bytes captured = closeAndReadCapture();
        // Every byte but the last, once, in order.
        const Bytes expected = scaled(samples, 0, samples.size() - 1, volume);
        EXPECT_EQ(withoutSilence(captured), withoutSilence(expected)) << "captured " << captured.size();
        EXPECT_GE(captured.size(), expected.size());
    }
}

TEST_F(WaveAudioPlayerTest, PlayBeyondTheEndFinishesAtOnceAndResumeTellsAgain) {
    player->open(soundFile(11025));
    player->play(5000);
    EXPECT_TRUE(player->isFinished());
    EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 1);

    EXPECT_EQ(player->resume(), 0u);
    EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 2);
    EXPECT_TRUE(player->isFinished());
}

TEST_F(WaveAudioPlayerTest, PositionCountsFromThePlayRequest) {
    player->open(soundFile(110250));  // 10 s
    player->play(5000);
    // "Nothing played yet" can read as a little; never more than the two queued chunks.
    const std::int32_t first = player->getPosition();
    EXPECT_GE(first, 5000);
    EXPECT_LE(first, 5400);
    EXPECT_EQ(player->baseMs(), 5000);
    pumpFor(300);
    const std::int32_t later = player->getPosition();
    EXPECT_GT(later, first);
    EXPECT_LE(later, 10000);

    // The start is taken in whole bytes: 33 ms is 363 bytes, which is 32 ms.
    player->play(33);
    EXPECT_EQ(player->baseMs(), 32);
    player->stop();
}

// Between the driver's steps the position runs on with the system clock; read
// as often as the engine may, it still never goes back.
TEST_F(WaveAudioPlayerTest, ThePositionNeverRunsBackwardsWhilePlaying) {
    SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(33075)));
    player->play(1000);
    std::int32_t last = player->getPosition();
    EXPECT_GE(last, 1000);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 800) {
        pumpMessages();
        const std::int32_t position = player->getPosition();
        ASSERT_GE(position, last);
        last = position;
        Sleep(1);
    }
    EXPECT_GT(last, 1000);
    EXPECT_LE(last, 3000);
    player->stop();
}

TEST_F(WaveAudioPlayerTest, PauseHoldsThePositionAndResumeLosesNothing) {
    SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(33075)));  // 3 s: the device plays in real time
    player->play(0);
    pumpFor(200);
    EXPECT_EQ(player->pause(), 0u);
    EXPECT_EQ(player->getState(), ISoundPlayer::statePaused);
    pumpFor(50);
    const std::int32_t held = player->getPosition();
    pumpFor(400);
    EXPECT_EQ(player->getPosition(), held);
    EXPECT_EQ(player->resume(), 0u);
    EXPECT_EQ(player->getState(), ISoundPlayer::statePlaying);
    ASSERT_TRUE(playToTheEnd());
    const Bytes captured = closeAndReadCapture();
    EXPECT_EQ(withoutSilence(captured), scaled(samples, 0, samples.size() - 1, 16));
}

TEST_F(WaveAudioPlayerTest, ASeekDuringPlaybackNeitherRepeatsNorLosesChunks) {
    const std::wstring path = soundFile(33075);
    for (std::int32_t seekMs : {2000, 1000}) {  // forward, then back over what was played
        SCOPED_TRACE(seekMs);
        owner->notifications = 0;
        SKIP_WITHOUT_CAPTURE(openCaptured(path));
        player->play(0);
        pumpFor(200);
        // The buffers the seek's reset hands back report in after the new request has queued its own.
        player->play(seekMs);
        ASSERT_TRUE(playToTheEnd());
        pumpFor(300);
        EXPECT_EQ(owner->notifications, 1);
        EXPECT_TRUE(player->isFinished());
        expectSeekResult(closeAndReadCapture(), 11025u * seekMs / 1000);
    }
}

TEST_F(WaveAudioPlayerTest, PlayRightAfterStopIsNotEndedByTheStoppedBuffers) {
    SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(33075)));
    player->play(0);
    pumpFor(200);
    player->stop();
    player->play(2000);
    ASSERT_TRUE(playToTheEnd());
    EXPECT_TRUE(player->isFinished());
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 1);
    expectSeekResult(closeAndReadCapture(), 22050);
}

TEST_F(WaveAudioPlayerTest, PlayWhilePausedPlaysFromTheNewTime) {
    SKIP_WITHOUT_CAPTURE(openCaptured(soundFile(33075)));
    player->play(0);
    pumpFor(200);
    player->pause();
    player->play(2500);
    EXPECT_EQ(player->getState(), ISoundPlayer::statePlaying);
    ASSERT_TRUE(playToTheEnd());
    expectSeekResult(closeAndReadCapture(), 27562);
}

TEST_F(WaveAudioPlayerTest, AStopIsReportedButIsNoEndOfTheSound) {
    player->open(soundFile(110250));
    player->play(0);
    pumpFor(200);
    player->stop();
    EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 1);
    EXPECT_FALSE(player->isFinished());
    EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);
}

TEST_F(WaveAudioPlayerTest, DestroyingTheWindowClosesTheDeviceQuietly) {
    player->open(soundFile(110250));
    player->play(0);
    pumpFor(200);
    DestroyWindow(player->handle());
    player = nullptr;
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 0);
}

// ---- A following sound (the chapter change) ----

Bytes joined(const Bytes& first, const Bytes& second) {
    Bytes out = first;
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

bool endsWith(const Bytes& bytes, const Bytes& end) {
    return bytes.size() >= end.size() && std::equal(end.begin(), end.end(), bytes.end() - end.size());
}

TEST_F(WaveAudioPlayerTest, AFollowingSoundPlaysOnAfterTheOpenOneAndTheClockCountsFromIt) {
    const std::wstring first = soundFile(8269);  // three whole chunks and a short one, topped up from the next
    const Bytes firstSamples = samples;
    const std::wstring second = soundFile(11025);
    const Bytes secondSamples = samples;
    SKIP_WITHOUT_CAPTURE(openCaptured(first));
    ASSERT_TRUE(player->queueFollowing(second));
    EXPECT_TRUE(player->hasFollowing());
    player->play(0);
    ASSERT_TRUE(pumpUntil([&] { return player->getPosition() >= 500; }, kPlayTimeoutMs));
    ASSERT_TRUE(player->countFromFollowing());
    // The end of the first sound still to come: before the second's start.
    const std::int32_t counted = player->getPosition();
    EXPECT_LE(counted, 0);
    EXPECT_GE(counted, -260);
    ASSERT_TRUE(pumpUntil([&] { return player->getPosition() > 0; }, kPlayTimeoutMs));
    EXPECT_LE(player->getPosition(), 1000);
    ASSERT_TRUE(playToTheEnd());
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 1);  // no end between the two
    EXPECT_FALSE(player->hasFollowing());
    const Bytes captured = closeAndReadCapture();
    EXPECT_EQ(withoutSilence(captured), joined(scaled(firstSamples, 0, firstSamples.size() - 1, 16),
                                               scaled(secondSamples, 0, secondSamples.size() - 1, 16)))
        << "captured " << captured.size();
}

TEST_F(WaveAudioPlayerTest, APlayRequestBeforeTheChangeKeepsTheFollowingSoundBehindTheOpenOne) {
    const std::wstring first = soundFile(33075);
    const Bytes firstSamples = samples;
    const std::wstring second = soundFile(4410);
    const Bytes secondSamples = samples;
    SKIP_WITHOUT_CAPTURE(openCaptured(first));
    ASSERT_TRUE(player->queueFollowing(second));
    player->play(0);
    pumpFor(200);
    player->play(2500);
    ASSERT_TRUE(playToTheEnd());
    pumpFor(300);
    EXPECT_EQ(owner->notifications, 1);
    const Bytes played = withoutSilence(closeAndReadCapture());
    EXPECT_TRUE(endsWith(played, joined(scaled(firstSamples, 27562, firstSamples.size() - 1, 16),
                                        scaled(secondSamples, 0, secondSamples.size() - 1, 16))))
        << "played " << played.size();
}

// Counted from before its first chunk was written, the following sound is the
// open one: a stop and a play request play it, not the rest of the first.
TEST_F(WaveAudioPlayerTest, AfterCountingFromTheFollowingSoundAPlayRequestPlaysIt) {
    const std::wstring first = soundFile(22050);
    const std::wstring second = soundFile(6615);
    const Bytes secondSamples = samples;
    SKIP_WITHOUT_CAPTURE(openCaptured(first));
    ASSERT_TRUE(player->queueFollowing(second));
    player->play(0);
    pumpFor(100);
    ASSERT_TRUE(player->countFromFollowing());
    EXPECT_LT(player->getPosition(), -1000);
    player->stop();
    pumpFor(300);  // the stop's own report
    owner->notifications = 0;
    capture.mark();
    player->play(0);
    ASSERT_TRUE(playToTheEnd());
    pumpFor(300);
    EXPECT_EQ(withoutSilence(closeAndReadCapture()), scaled(secondSamples, 0, secondSamples.size() - 1, 16));
}

TEST_F(WaveAudioPlayerTest, OnlyAnOpenSoundIsFollowedByAnAcceptedFileAndACloseDropsIt) {
    const std::wstring first = soundFile(11025);
    const std::wstring second = soundFile(11025);
    EXPECT_FALSE(player->queueFollowing(second));  // nothing open
    TestWave fastRate;
    fastRate.samplesPerSecond = 22050;
    fastRate.samples = TestWave::noise(5000);
    const std::wstring fast = folder.file(L"fast.wav");
    ASSERT_TRUE(fastRate.write(fast));
    player->open(first);
    ASSERT_TRUE(player->queueFollowing(second));
    EXPECT_THROW(player->queueFollowing(fast), Exception);
    EXPECT_FALSE(player->hasFollowing());
    EXPECT_EQ(player->getState(), ISoundPlayer::stateStopped);  // the open sound stays
    EXPECT_FALSE(player->countFromFollowing());
    ASSERT_TRUE(player->queueFollowing(second));
    EXPECT_FALSE(player->countFromFollowing());  // nothing plays
    player->close();
    EXPECT_FALSE(player->hasFollowing());
    player->open(first);
    EXPECT_FALSE(player->hasFollowing());
}

}  // namespace
