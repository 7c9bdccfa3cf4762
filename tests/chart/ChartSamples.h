#pragma once
// Recordings for the chart tests, written once per run with G values chosen
// per frame, so the scale each one needs is known in advance.
#include <string>

struct ChartSamples {
    static constexpr int eventFrames = 60;
    static constexpr int eventFrame = 30;
    static constexpr int chapterFrames = 600;
    // The peak recording's G: 0.3 everywhere but the event frame.
    static constexpr double peakG = 0.8;

    std::wstring root;
    std::wstring peakFolder;      // automatic event, largest G 0.8
    std::wstring quietFolder;     // automatic event, G 0.05 and 0.4 alternating
    std::wstring singleFolder;    // one frame, the event frame
    std::wstring kindlessFolder;  // as the peak recording, trigger kind 0
    std::wstring chapterFolder;   // one video-memory chapter of 600 frames, G 0.2 throughout

    // Everything under the temporary folder; root is empty on failure.
    static ChartSamples write();
    void remove() const;
};
