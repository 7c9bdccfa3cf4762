// The test set-up's waveform device: the default ALSA device writes what it
// plays to the file named by ORVELLE_SOUND_CAPTURE, so sound tests can read
// back the bytes the program sent.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::wstring captureFile() {
    const wchar_t* unixPath = _wgetenv(L"ORVELLE_SOUND_CAPTURE");
    if (!unixPath || !*unixPath) return {};
    std::wstring path = std::wstring(L"Z:") + unixPath;  // Wine maps the Unix root to Z:
    for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
    return path;
}

TEST(SoundDevice, OpensAndDeliversThePlayedBytes) {
    const std::wstring capture = captureFile();
    if (capture.empty()) GTEST_SKIP() << "ORVELLE_SOUND_CAPTURE is not set";
    DeleteFileW(capture.c_str());

    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT device = nullptr;
    ASSERT_EQ(waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT),
              MMSYSERR_NOERROR);
    std::vector<char> samples(2205);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<char>(i * 7);
    WAVEHDR header{};
    header.lpData = samples.data();
    header.dwBufferLength = static_cast<DWORD>(samples.size());
    ASSERT_EQ(waveOutPrepareHeader(device, &header, sizeof header), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutWrite(device, &header, sizeof header), MMSYSERR_NOERROR);
    for (int i = 0; i < 50 && !(header.dwFlags & WHDR_DONE); ++i) WaitForSingleObject(done, 100);
    EXPECT_TRUE(header.dwFlags & WHDR_DONE);
    waveOutReset(device);
    waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    CloseHandle(done);

    std::ifstream in(capture.c_str(), std::ios::binary);
    std::vector<char> played((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(played.size(), samples.size());
    // The device may convert the format; our 8-bit samples must still be recognisable.
    EXPECT_NE(std::search(played.begin(), played.end(), samples.begin() + 100, samples.begin() + 200), played.end())
        << "played bytes: " << played.size();
}

}  // namespace
