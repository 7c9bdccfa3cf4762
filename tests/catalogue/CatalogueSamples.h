#pragma once
// Recorder files for the catalogue tests, written with the sample writer: small
// pictures and no sound, since the scans read only block headers.
#include <string>

#include "platform/LocalTime.h"
#include "tools/samplewriter/RecorderBlocks.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/SampleArchive.h"

namespace catalogue_test {

inline samplewriter::ArchiveSpec chapterSpec(int frames) {
    samplewriter::ArchiveSpec spec;
    spec.kind = samplewriter::ArchiveKind::Chapter;
    spec.kindByte = samplewriter::kKindVideo;
    spec.fps = 10;
    spec.frameCount = frames;
    spec.width = 32;
    spec.height = 24;
    spec.withSound = false;
    return spec;
}

inline samplewriter::ArchiveSpec eventSpec(int frames, int eventFrame) {
    samplewriter::ArchiveSpec spec;
    spec.frameCount = frames;
    spec.eventFrame = eventFrame;
    spec.width = 32;
    spec.height = 24;
    spec.withSound = false;
    return spec;
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
