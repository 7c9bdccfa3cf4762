#pragma once
// Recorder files for the loader tests, written once per run into a folder of
// their own: frames large enough that a decode lasts long enough to act during
// it, small ones for quick rounds, and files the reader refuses.
#include <string>

struct LoaderSamples {
    static constexpr int bigFrames = 3;
    static constexpr int bigWidth = 4096;
    static constexpr int bigHeight = 3072;
    static constexpr int smallFrames = 8;
    static constexpr int chapterFrames = 12;

    std::wstring folder;
    std::wstring bigEvent;    // "Video.dvt" with bigFrames large frames
    std::wstring smallEvent;  // smallFrames small frames
    std::wstring chapter;     // a video-memory chapter of chapterFrames frames
    std::wstring oneShot;     // one "*.dpc" picture
    std::wstring garbage;     // shorter than a recording header
    std::wstring missing;     // a path with no file

    // Writes the files; an empty folder when that failed.
    static LoaderSamples write();
    void remove() const;
};
