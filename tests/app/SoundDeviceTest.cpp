// The test set-up's waveform device: it plays at the pace of a sound card, and
// what it plays is recorded in the file named by ORVELLE_SOUND_CAPTURE, so
// sound tests can read back the bytes the program sent.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sound/SoundCapture.h"

namespace {

TEST(SoundDevice, PlaysInRealTimeAndDeliversThePlayedBytes) {
    SoundCapture capture;
    if (!capture.available()) GTEST_SKIP() << "ORVELLE_SOUND_CAPTURE is not set";
    capture.mark();

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT),
              MMSYSERR_NOERROR);
    SoundCapture::Bytes samples(2205);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(i * 7);
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(samples.data());
    header.dwBufferLength = static_cast<DWORD>(samples.size());
    ASSERT_EQ(waveOutPrepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    const DWORD start = timeGetTime();
    ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
    for (int i = 0; i < 50 && !(header.dwFlags & WHDR_DONE); ++i) WaitForSingleObject(done, 100);
    const DWORD playedMs = timeGetTime() - start;
    EXPECT_TRUE(header.dwFlags & WHDR_DONE);
    // 200 ms of sound: a device that swallows it at once would make the
    // recordings' sound clock run fast.
    EXPECT_GE(playedMs, 150u);
    waveOutReset(device);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    CloseHandle(done);

    const SoundCapture::Bytes played = capture.readSinceMark();
    ASSERT_GE(played.size(), samples.size());
    // The device may convert the format; our 8-bit samples must still be recognisable.
    EXPECT_NE(std::search(played.begin(), played.end(), samples.begin() + 100, samples.begin() + 200), played.end())
        << "played bytes: " << played.size();
}

}  // namespace
