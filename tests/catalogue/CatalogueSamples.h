#pragma once
// Recorder files for the catalogue tests, written with the sample writer: small
// pictures and no sound, since the scans read only block headers.
#include <string>

#include "platform/LocalTime.h"
#include "tools/samplewriter/RecorderBlocks.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/SampleArchive.h"

namespace catalogue_test {

inline samplewriter::ArchiveSetup chapterSpec(int frames) {
    samplewriter::ArchiveSetup setup;
    setup.kind = samplewriter::ArchiveKind::Chapter;
    setup.kindByte = samplewriter::kKindVideo;
    setup.fps = 10;
    setup.frameCount = frames;
    setup.width = 32;
    setup.height = 24;
    setup.withSound = false;
    return setup;
}

inline samplewriter::ArchiveSetup eventSpec(int frames, int eventFrame) {
    samplewriter::ArchiveSetup setup;
    setup.frameCount = frames;
    setup.eventFrame = eventFrame;
    setup.width = 32;
    setup.height = 24;
    setup.withSound = false;
    return setup;
}

// A one-shot file whose payload is only the picture tag and a few bytes: the
// folder scan never decodes the picture. fileIndex tells the files apart.
inline samplewriter::Bytes oneShotBytes(const CalendarTime& time, int fileIndex) {
    samplewriter::PictureInfoFields info;
    info.time = time;
    info.fileIndex = fileIndex;
    samplewriter::Bytes payload = samplewriter::makePictureTag(2, 3);
    payload.resize(payload.size() + 16, 0);
    return samplewriter::buildPictureBlock(0, info, payload);
}

}  // namespace catalogue_test
