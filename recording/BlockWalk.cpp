#include "recording/BlockWalk.h"

#include "app/Exception.h"
#include "app/Texts.h"
#include "recording/PictureTag.h"

namespace {

constexpr std::size_t kBlockHeaderSize = 64;
constexpr std::size_t kPictureInformationAt = 32;
// The block header and the tag that opens a picture payload, read together.
constexpr std::size_t kBlockAndPeekSize = kBlockHeaderSize + pictureTag::kSize;
// A tag found by the search lies after its block's header and the model code.
constexpr std::int64_t kTagSignatureToBlockStart = kBlockHeaderSize + pictureTag::kSignatureAt;

constexpr std::uint8_t kPictureBlock = 0x55;
constexpr std::uint8_t kSoundBlock = 0xAA;
constexpr int kCannotRead = 5510;

}  // namespace

BlockWalk::BlockWalk(ArchiveSource& source, std::int64_t start, Options options)
    : source_(source), options_(options), position_(start), search_(source) {}

void BlockWalk::run() {
    while (pictures_.size() < kListLimit && sounds_.size() < kListLimit) {
        if (walkOneBlock() == Step::End) break;
    }
}

BlockWalk::Step BlockWalk::walkOneBlock() {
    std::uint8_t block[kBlockAndPeekSize];
    if (search_.read(position_, block, sizeof block) < sizeof block) return Step::End;
    if (!isTaken(block)) {
        std::int64_t tagAt = 0;
        if (!search_.find(position_ + static_cast<std::int64_t>(kBlockHeaderSize), tagAt)) return Step::End;
        position_ = tagAt - kTagSignatureToBlockStart;
        return Step::Next;
    }
    position_ += kBlockHeaderSize;
    auto record = std::make_unique<FrameRecord>();
    record->readBlockHeader(block);
    record->payloadOffset = position_;
    if (record->blockType == kPictureBlock && !leadInSeen_) {
        takeLeadIn(block, *record);
    } else if (record->blockType == kPictureBlock) {
        takePicture(block, std::move(record));
    } else if (record->blockType == kSoundBlock) {
        takeSound(std::move(record));
    }
    // Any other type is dropped unskipped: the next turn starts inside its
    // payload and the search finds the following block.
    return Step::Next;
}

bool BlockWalk::isTaken(const std::uint8_t* block) const {
    return pictureTag::hasSignature(block + kBlockHeaderSize) || block[12] == kSoundBlock;
}

// The first picture of the file shows the recorder's model code, not a frame.
void BlockWalk::takeLeadIn(const std::uint8_t* block, const FrameRecord& record) {
    leadInSeen_ = true;
    if (options_.testLeadIn && !pictureTag::hasModelCode(block + kBlockHeaderSize)) {
        throw VideoArchiveException(loadText(kCannotRead));
    }
    skipPayload(record.payloadSize);
}

void BlockWalk::takePicture(const std::uint8_t* block, std::unique_ptr<FrameRecord> record) {
    record->readPictureInformation(block + kPictureInformationAt);
    if (record->flag) indicator_ = true;
    // A payload that runs past the end of the file could never be decoded.
    if (!payloadFitsInFile(record->payloadSize) || !skipPayload(record->payloadSize)) return;
    pictures_.push_back(std::move(record));
}

void BlockWalk::takeSound(std::unique_ptr<FrameRecord> record) {
    if (!options_.keepSound) {
        skipPayload(record->payloadSize);
        return;
    }
    // A cut-off sound payload is kept: the samples that are there still play.
    if (skipPayload(record->payloadSize)) sounds_.push_back(std::move(record));
}

// Sizes below 1 mean no payload, and a negative size must never move the walk
// backwards (it could then loop for ever).
bool BlockWalk::skipPayload(std::int32_t payloadSize) {
    if (payloadSize < 1) return false;
    position_ += payloadSize;
    return true;
}

bool BlockWalk::payloadFitsInFile(std::int32_t payloadSize) const {
    return position_ + payloadSize <= source_.size();
}
