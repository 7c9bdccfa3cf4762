#include "export/PictureRestorer.h"

#include <algorithm>

#include "recording/FileSource.h"
#include "recording/FrameRecord.h"
#include "recording/PictureTag.h"
#include "recording/VideoArchive.h"

bool PictureRestorer::open(const std::wstring& path) {
    source_ = FileSource::open(path);
    return source_ != nullptr;
}

bool PictureRestorer::restore(const FrameRecord& record, std::vector<std::uint8_t>& jpeg) {
    if (!source_) return false;
    if (record.payloadSize <= static_cast<std::int32_t>(pictureTag::kSize) ||
        record.payloadSize > VideoArchive::kMaxPictureBytes) {
        return false;
    }
    const auto size = static_cast<std::size_t>(record.payloadSize);
    scratch_.resize(size);
    if (source_->readAt(record.payloadOffset, scratch_.data(), size) < size) return false;
    if (!pictureTag::hasModelCode(scratch_.data()) || !pictureTag::hasSignature(scratch_.data())) return false;
    std::copy(pictureTag::kJpegStart.begin(), pictureTag::kJpegStart.end(), scratch_.begin());
    jpeg.swap(scratch_);
    return true;
}
