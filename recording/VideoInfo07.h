#pragma once
// IVideoInfo over a VideoArchive. It copies nothing: every answer is read from
// the archive when asked, so the view is valid only until that archive is read
// again or closed, and the records it hands out belong to the archive.
#include "recording/IVideoInfo.h"
#include "recording/VideoArchive.h"

class VideoInfo07 : public IVideoInfo {
public:
    // archive is not owned and must outlive the view.
    explicit VideoInfo07(const VideoArchive& archive) : archive_(&archive) {}

    std::wstring shortCode() const override;
    std::wstring longCode() const override;
    int triggerKind() const override;
    int referenceFrame() const override;
    const FrameRecord* referenceRecord() const override;
    double headerGx() const override;
    double headerGy() const override;
    int frameCount() const override;
    const FrameRecord* frameRecord(int index) const override;
    int pictureStep() const override;
    bool informationMissing() const override;
    std::int64_t firstFrameTime() const override;
    std::int64_t lastFrameTime() const override;
    std::int64_t recordedAt() const override;

private:
    const VideoArchive* archive_;
};
