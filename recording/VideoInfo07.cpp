#include "recording/VideoInfo07.h"

// This recorder has no model codes to report and stores every frame as one
// picture with complete information, so these answers are constants.
std::wstring VideoInfo07::shortCode() const {
    return L"0000";
}
std::wstring VideoInfo07::longCode() const {
    return L"00000000";
}
int VideoInfo07::pictureStep() const {
    return 1;
}
bool VideoInfo07::informationMissing() const {
    return false;
}

int VideoInfo07::triggerKind() const {
    return archive_->header().triggerKind;
}
int VideoInfo07::referenceFrame() const {
    return archive_->referenceFrame();
}
double VideoInfo07::headerGx() const {
    return archive_->header().headerGx;
}
double VideoInfo07::headerGy() const {
    return archive_->header().headerGy;
}
int VideoInfo07::frameCount() const {
    return archive_->frameCount();
}
std::int64_t VideoInfo07::firstFrameTime() const {
    return archive_->firstFrameTime();
}
std::int64_t VideoInfo07::lastFrameTime() const {
    return archive_->lastFrameTime();
}
std::int64_t VideoInfo07::recordedAt() const {
    return archive_->recordedAtCopy();
}

const FrameRecord* VideoInfo07::referenceRecord() const {
    return frameRecord(referenceFrame());
}

// The bounds are checked here as well as in the archive: the windows index with
// whatever the track bar or the console gives them.
const FrameRecord* VideoInfo07::frameRecord(int index) const {
    if (index < 0 || index >= frameCount()) return nullptr;
    return archive_->record(index);
}
