#pragma once
// A whole sample SD card as the recorder leaves it (see writeSampleCard for the
// layout), deterministic, for the README's run command and the viewer's tests.
#include <string>
#include <vector>

namespace samplewriter {

struct SampleCardOptions {
    int eventFrames = 900;  // frames of each event archive
    int eventWidth = 640;
    int eventHeight = 480;
    int chapterWidth = 320;
    int chapterHeight = 240;
    int oneShotCount = 36;
    int jpegQuality = 50;
};

// Paths of what writeSampleCard wrote, for tests.
struct SampleCardContents {
    std::vector<std::wstring> eventFolders;  // sibling folders, in name order
    std::wstring videoFolder;
    std::vector<std::wstring> chapters;  // in name order
    std::wstring oneShotFolder;
    std::vector<std::wstring> oneShots;  // in name order
    std::wstring settingsFile;           // TAVR.INI
    std::wstring firmwareInfoFile;       // FIRMINFO.DAT
};

// Writes the card into root (created when missing; files of earlier runs are
// replaced). Layout:
//   FIRMINFO.DAT, TAVR.INI
//   EVENT/EV000001 .. EV000004/Video.dvt   automatic; manual; automatic with the
//                                           indicator flag; automatic whose detection
//                                           fails validation (event stamp 0)
//   VIDEO/Video0001.dmv .. Video0003.dmv    600, 600 and 150 frames at 10 fps
//   ONESHOT/Pic00001.dpc ..                 one-shot pictures; not in time order by
//                                           name, two with the same time, one
//                                           without a valid date
// False when a folder or file cannot be written.
bool writeSampleCard(const std::wstring& root, const SampleCardOptions& options,
                     SampleCardContents* contents = nullptr);

}  // namespace samplewriter
