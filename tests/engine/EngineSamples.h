#pragma once
// The recordings the engine tests play, written once per run: a sample card
// with short event recordings (with sound), full video-memory chapters and
// one-shot pictures, plus folders for the cases the card does not hold.
#include <string>

struct EngineSamples {
    static constexpr int eventFrames = 60;   // 2 s with sound
    static constexpr int silentFrames = 45;  // 1.5 s without sound
    static constexpr int chapterTotal = 1350;
    static constexpr int brokenFirstFrames = 30;
    static constexpr int brokenSecondFrames = 20;

    std::wstring root;
    std::wstring eventFolder;   // card EVENT/EV000001: eventFrames frames, 160 × 120, with sound
    std::wstring videoFolder;   // card VIDEO: chapters of 600, 600 and 150 frames
    std::wstring silentFolder;  // silentFrames frames without sound
    std::wstring slowFolder;    // 3 frames of 4096 × 3072: a decode lasts long enough to act during it
    std::wstring movingFolder;  // a copy of the event recording, for a folder that vanishes
    std::wstring brokenFolder;  // two chapters; the second is spoilt by the test that uses it
    std::wstring brokenSecondChapter;
    std::wstring shotFolder;
    std::wstring plainShot;  // 640 × 480 one-shot picture

    // Writes everything under the temporary folder; root is empty on failure.
    static EngineSamples write();
    // Deletes root with everything under it.
    void remove() const;
};
