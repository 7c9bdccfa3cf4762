#pragma once
// The recordings the panel tests open, written once per run under the
// temporary folder: event recordings with an automatic, a manual (with the
// indicator flag) and a failed detection, video-memory folders of one and of
// three chapters, and one-shot pictures with and without a date.
#include <string>

#include "platform/LocalTime.h"

struct PanelSamples {
    // Automatic event: the reference frame 300 of 330, so frame 0 is -10.0 s.
    static constexpr int eventFrames = 330;
    static constexpr int eventReference = 300;
    // Manual event with the indicator flag on its reference frame.
    static constexpr int manualFrames = 40;
    static constexpr int manualReference = 10;
    // Chapters of a few frames each: a chapter before the last counts as 600.
    static constexpr int chapterFrames = 20;
    static constexpr int chapterCount = 3;

    // The reference frame's time; the header says one second later, so the two can be told apart.
    static constexpr CalendarTime eventTime{2009, 6, 15, 14, 30, 12};
    static constexpr CalendarTime eventHeaderTime{2009, 6, 15, 14, 30, 13};
    // The first frame of the first chapter; its header says five minutes later.
    static constexpr CalendarTime chapterTime{2010, 1, 2, 3, 4, 5};
    static constexpr CalendarTime chapterHeaderTime{2010, 1, 2, 3, 9, 5};
    static constexpr CalendarTime shotTime{2011, 12, 31, 23, 59, 58};

    std::wstring root;
    std::wstring eventFolder;
    std::wstring manualFolder;
    std::wstring undetectedFolder;  // the detection fails validation: trigger kind 0
    std::wstring videoFolder;
    std::wstring singleChapterFolder;
    std::wstring shotFolder;
    std::wstring datedShot;
    std::wstring undatedShot;

    // Root is empty when something could not be written.
    static PanelSamples write();
    void remove() const;
};
