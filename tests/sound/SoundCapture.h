#pragma once
// What the test set-up's sound sink played (cmake/wine-run.sh): a sink that
// plays at the pace of a sound card, whose output is appended to the file named
// by ORVELLE_SOUND_CAPTURE as it plays, silence included. A test marks where
// its sound begins and, after its sound, reads what came since: the sink is
// given time to play out first, since it delivers its output as it plays.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

class SoundCapture {
public:
    using Bytes = std::vector<std::uint8_t>;

    // The sink plays unsigned 8-bit mono at 11025 Hz: 11 bytes a millisecond.
    static constexpr std::uint64_t bytesPerSecond = 11025;

    SoundCapture() : path_(pathFromEnvironment()) {}

    // False when no capture is recorded (the sound tests then skip).
    bool available() const { return !path_.empty(); }

    // Lets what earlier tests played leave the sink, then marks the end.
    void mark() {
        waitForMore(kSettleMs);
        mark_ = size();
    }

    // Everything since the mark, once the sink has had time to play out.
    Bytes readSinceMark() {
        waitForMore(kSettleMs);
        std::ifstream in(path_.c_str(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(mark_));
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return bytes;
    }

private:
    static constexpr DWORD kSettleMs = 250;
    static constexpr DWORD kPatienceMs = 5000;

    static std::wstring pathFromEnvironment() {
        const wchar_t* unixPath = _wgetenv(L"ORVELLE_SOUND_CAPTURE");
        if (!unixPath || !*unixPath) return {};
        std::wstring path = std::wstring(L"Z:") + unixPath;  // Wine maps the Unix root to Z:
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }

    std::uint64_t size() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) return 0;
        return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }

    // The sink delivers silence while nothing plays, so the file grows all the
    // time; its growth by ms worth of bytes means the sink played ms further.
    void waitForMore(DWORD ms) const {
        const std::uint64_t target = size() + bytesPerSecond * ms / 1000;
        const DWORD start = GetTickCount();
        while (size() < target && GetTickCount() - start < kPatienceMs) Sleep(10);
    }

    std::wstring path_;
    std::uint64_t mark_ = 0;
};
