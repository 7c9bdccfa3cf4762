#include "recording/VideoArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/JpegDecoder.h"
#include "platform/FileSystem.h"
#include "recording/BlockWalk.h"
#include "recording/FileSource.h"
#include "recording/PictureTag.h"
#include "recording/SoundFileWriter.h"
#include "recording/SoundRestorer.h"
#include "recording/SoundWarning.h"

namespace {

constexpr int kCannotRead = 5510;
constexpr int kPictureMovedOrDeleted = 5517;
constexpr int kSoundNotRestored = 5501;

constexpr std::size_t kHeaderSize = 32;
constexpr std::int64_t kDirectoryPrefixAt = 32;
constexpr std::size_t kDirectoryPrefixSize = 16;
constexpr std::int64_t kDirectoryAt = kDirectoryPrefixAt + kDirectoryPrefixSize;
constexpr std::int64_t kDirectoryEntrySize = 8;
constexpr std::size_t kBlockHeaderSize = 64;
constexpr std::size_t kPictureInformationAt = 32;

// 30 frames a second for events, 10 for chapters.
constexpr double kEventPeriod = 100.0 / 3.0;
constexpr double kChapterPeriod = 100.0;

// Events are padded so that a detection found just before slot 360 (12 s in)
// lands exactly on it.
constexpr int kPaddedReferenceFrame = 360;
constexpr int kLowestPaddedReference = 357;

VideoArchiveException cannotRead() {
    return VideoArchiveException(loadText(kCannotRead));
}

// Slot of a stamp, or -1 beyond the last slot. Computed in 64 bits and doubles
// so that stamps far apart (a wrapped clock) cannot overflow.
int slotForStamp(std::int64_t stamp, std::int64_t firstStamp, double period) {
    const double slot = static_cast<double>(stamp - firstStamp) / period;
    return slot < VideoArchive::kSlotCount ? static_cast<int>(slot) : -1;
}

std::int64_t smallestStamp(const std::vector<std::unique_ptr<FrameRecord>>& records) {
    std::int64_t smallest = records.front()->stamp;
    for (const auto& record : records) smallest = std::min<std::int64_t>(smallest, record->stamp);
    return smallest;
}

// The recording header and the directory prefix; returns where the blocks begin.
std::int64_t readHeaderAndDirectory(ArchiveSource& source, RecordingHeader& header) {
    std::uint8_t bytes[kHeaderSize];
    if (source.readAt(0, bytes, sizeof bytes) < sizeof bytes) throw cannotRead();
    header = RecordingHeader::fromArchiveHeader(bytes);
    std::uint8_t prefix[kDirectoryPrefixSize];
    if (source.readAt(kDirectoryPrefixAt, prefix, sizeof prefix) < sizeof prefix) throw cannotRead();
    return kDirectoryAt + kDirectoryEntrySize * prefix[0];
}

}  // namespace

VideoArchive::VideoArchive() = default;

VideoArchive::~VideoArchive() {
    close();
}

void VideoArchive::readEventArchive(const std::wstring& path) {
    close();
    std::unique_ptr<FileSource> source = FileSource::open(path);
    if (!source) throw cannotRead();
    readArchive(std::move(source), Kind::Event);
}

void VideoArchive::readChapterArchive(const std::wstring& path) {
    close();
    std::unique_ptr<FileSource> source = FileSource::open(path);
    if (!source) throw cannotRead();
    readArchive(std::move(source), Kind::Chapter);
}

void VideoArchive::readEventArchive(std::unique_ptr<ArchiveSource> source) {
    readArchive(std::move(source), Kind::Event);
}

void VideoArchive::readChapterArchive(std::unique_ptr<ArchiveSource> source) {
    readArchive(std::move(source), Kind::Chapter);
}

void VideoArchive::readArchive(std::unique_ptr<ArchiveSource> source, Kind kind) {
    close();
    file_ = std::move(source);
    try {
        SoundFileWriter sound;
        startSoundFile(sound);
        const std::int64_t blocksStart = readHeaderAndDirectory(*file_, header_);
        std::vector<std::unique_ptr<FrameRecord>> pictures = readBlocksAndSound(blocksStart, sound);
        placePictures(pictures, kind == Kind::Event ? kEventPeriod : kChapterPeriod);
        if (kind == Kind::Event) {
            findReferenceFrame();
            applyLeadInPad();
        }
        fillGaps();
        if (header_.flag) indicator_ = 1;
        std::uint32_t firstStamp = 0;
        std::uint32_t lastStamp = 0;
        findFirstAndLastTimes(firstStamp, lastStamp);
        if (kind == Kind::Event) validateReferenceFrame(firstStamp, lastStamp);
        recordedAtCopy_ = header_.recordedAt;
    } catch (...) {
        close();
        throw;
    }
}

// The sound goes to a new "obv" file in the temporary folder; without one the
// recording still opens and plays silently.
void VideoArchive::startSoundFile(SoundFileWriter& sound) {
    soundFilePath_ = platform::createTemporaryFile(platform::temporaryFolder(), L"obv");
    if (soundFilePath_.empty() || !sound.open(soundFilePath_)) reportSoundWarning(loadText(kSoundNotRestored));
}

std::vector<std::unique_ptr<FrameRecord>> VideoArchive::readBlocksAndSound(std::int64_t blocksStart,
                                                                           SoundFileWriter& sound) {
    BlockWalk walk(*file_, blocksStart, BlockWalk::Options{true, sound.isOpen()});
    walk.run();
    if (walk.indicator()) indicator_ = 1;
    if (sound.isOpen()) {
        SoundRestorer(*file_, sound).restore(walk.sounds());
        sound.finish();
        soundDataBytes_ = sound.written();
    }
    return std::move(walk.pictures());
}

// Walk order decides between two pictures of one slot: the first one stays.
void VideoArchive::placePictures(std::vector<std::unique_ptr<FrameRecord>>& pictures, double period) {
    frameCount_ = 0;
    if (pictures.empty()) return;
    const std::int64_t firstStamp = smallestStamp(pictures);
    for (auto& picture : pictures) {
        const int slot = slotForStamp(picture->stamp, firstStamp, period);
        if (slot < 0 || slots_[slot]) continue;
        slots_[slot] = std::move(picture);
    }
    frameCount_ = highestTakenSlot() + 1;
}

int VideoArchive::highestTakenSlot() const {
    for (int slot = kSlotCount - 1; slot >= 0; --slot) {
        if (slots_[slot]) return slot;
    }
    return -1;
}

// Stamps and the event stamp are compared as the unsigned clock they are.
void VideoArchive::findReferenceFrame() {
    referenceFrame_ = -1;
    if (header_.triggerKind != 1 && header_.triggerKind != 2) return;
    std::int64_t nearest = 0;
    for (int slot = 0; slot < frameCount_; ++slot) {
        if (!slots_[slot]) continue;
        const std::int64_t stamp = static_cast<std::uint32_t>(slots_[slot]->stamp);
        const std::int64_t distance = std::abs(stamp - std::int64_t{header_.eventStamp});
        if (referenceFrame_ < 0 || distance < nearest) {
            referenceFrame_ = slot;
            nearest = distance;
        }
    }
}

void VideoArchive::applyLeadInPad() {
    if (referenceFrame_ < kLowestPaddedReference || referenceFrame_ >= kPaddedReferenceFrame) return;
    const int shift = kPaddedReferenceFrame - referenceFrame_;
    if (frameCount_ + shift >= kSlotCount) return;
    for (int slot = frameCount_ - 1; slot >= 0; --slot) slots_[slot + shift] = std::move(slots_[slot]);
    frameCount_ += shift;
    referenceFrame_ = kPaddedReferenceFrame;
}

// Missing frames repeat the previous picture; missing leading frames the first.
void VideoArchive::fillGaps() {
    int firstTaken = -1;
    for (int slot = 0; slot < frameCount_; ++slot) {
        if (slots_[slot]) {
            if (firstTaken < 0) firstTaken = slot;
        } else if (firstTaken >= 0) {
            slots_[slot] = std::make_unique<FrameRecord>(*slots_[slot - 1]);
        }
    }
    for (int slot = 0; slot < firstTaken; ++slot) slots_[slot] = std::make_unique<FrameRecord>(*slots_[firstTaken]);
}

void VideoArchive::findFirstAndLastTimes(std::uint32_t& firstStamp, std::uint32_t& lastStamp) {
    firstFrameTime_ = lastFrameTime_ = 0;
    firstStamp = lastStamp = 0;
    for (int slot = 0; slot < frameCount_; ++slot) {
        const FrameRecord& record = *slots_[slot];
        if (record.time == 0) continue;
        if (firstFrameTime_ == 0) {
            firstFrameTime_ = record.time;
            firstStamp = static_cast<std::uint32_t>(record.stamp);
        }
        lastFrameTime_ = record.time;
        lastStamp = static_cast<std::uint32_t>(record.stamp);
    }
}

// A detection that the frames' own times and stamps do not bear out is shown
// as no detection.
void VideoArchive::validateReferenceFrame(std::uint32_t firstStamp, std::uint32_t lastStamp) {
    if (referenceFrame_ < 0) return;
    const auto within = [](auto value, auto low, auto high) { return value != 0 && value >= low && value <= high; };
    const FrameRecord& reference = *slots_[referenceFrame_];
    const bool valid = within(reference.time, firstFrameTime_, lastFrameTime_) &&
                       within(header_.recordedAt, firstFrameTime_, lastFrameTime_) &&
                       within(header_.eventStamp, firstStamp, lastStamp);
    if (valid) return;
    header_.triggerKind = 0;
    referenceFrame_ = -1;
}

int VideoArchive::countChapterFrames(const std::wstring& path) {
    std::unique_ptr<FileSource> source = FileSource::open(path);
    if (!source) throw cannotRead();
    return countChapterFrames(*source);
}

int VideoArchive::countChapterFrames(ArchiveSource& source) {
    RecordingHeader scratch;
    const std::int64_t blocksStart = readHeaderAndDirectory(source, scratch);
    BlockWalk walk(source, blocksStart, BlockWalk::Options{false, false});
    walk.run();
    const auto& pictures = walk.pictures();
    if (pictures.empty()) return 0;
    const std::int64_t firstStamp = smallestStamp(pictures);
    int highest = -1;
    for (const auto& picture : pictures)
        highest = std::max(highest, slotForStamp(picture->stamp, firstStamp, kChapterPeriod));
    return highest + 1;
}

void VideoArchive::readOneShotFile(const std::wstring& path) {
    close();
    std::unique_ptr<FileSource> source = FileSource::open(path);
    if (!source) throw VideoArchiveException(loadText(kPictureMovedOrDeleted));
    readOneShotFile(std::move(source), path);
}

void VideoArchive::readOneShotFile(std::unique_ptr<ArchiveSource> source, const std::wstring& path) {
    close();
    file_ = std::move(source);
    try {
        readOneShotEntry(*file_, path, 0);
    } catch (const Exception& failure) {
        file_.reset();
        throw Exception(failure.message());
    }
    frameCount_ = 1;
}

// A one-shot file is one block header and one picture payload; its picture
// information also stands in for the recording header.
void VideoArchive::readOneShotEntry(ArchiveSource& source, const std::wstring& path, int slot) {
    if (slot < 0 || slot >= kSlotCount) throw Exception(loadText(kCannotRead));
    takeOneShotEntry(readOneShotRecord(source, path), slot);
}

VideoArchive::OneShotEntry VideoArchive::readOneShotRecord(ArchiveSource& source, const std::wstring& path) {
    std::uint8_t block[kBlockHeaderSize + pictureTag::kSize];
    if (source.readAt(0, block, sizeof block) < sizeof block) throw Exception(loadText(kCannotRead));
    OneShotEntry entry;
    entry.record = std::make_unique<FrameRecord>();
    entry.record->readBlockHeader(block);
    entry.record->payloadOffset = kBlockHeaderSize;
    entry.header = RecordingHeader::fromPictureInformation(block + kPictureInformationAt);
    entry.record->readPictureInformation(block + kPictureInformationAt);
    entry.record->path = path;
    return entry;
}

void VideoArchive::takeOneShotEntry(OneShotEntry entry, int slot) {
    if (slot < 0 || slot >= kSlotCount || !entry.record) throw Exception(loadText(kCannotRead));
    header_ = entry.header;
    indicator_ = entry.record->flag ? 1 : 0;
    slots_[slot] = std::move(entry.record);
}

void VideoArchive::finishOneShotScan(int count) {
    count = std::clamp(count, 0, kSlotCount);
    for (int slot = count; slot < kSlotCount; ++slot) slots_[slot].reset();
    // Every entry below frameCount must hold a record, whatever the scan left.
    const auto end =
        std::stable_partition(slots_.begin(), slots_.begin() + count, [](const auto& r) { return r != nullptr; });
    std::stable_sort(slots_.begin(), end, [](const auto& a, const auto& b) { return a->time < b->time; });
    frameCount_ = static_cast<int>(end - slots_.begin());
}

void VideoArchive::prepareOneShotEntry(int index) {
    file_.reset();
    if (index < 0 || index >= frameCount_ || !slots_[index]) throw cannotRead();
    file_ = FileSource::open(slots_[index]->path);
    if (!file_) throw cannotRead();
}

std::unique_ptr<Image> VideoArchive::decodeFrame(int index) {
    return decodeFrameToFit(index, 0, 0);
}

std::unique_ptr<Image> VideoArchive::decodeFrameToFit(int index, int fitWidth, int fitHeight) {
    if (!file_ || index < 0 || index >= frameCount_ || !slots_[index]) return nullptr;
    return decodePicture(*file_, *slots_[index], fitWidth, fitHeight);
}

std::unique_ptr<Image> VideoArchive::decodeOneShotEntryToFit(int index, int fitWidth, int fitHeight) {
    if (index < 0 || index >= frameCount_ || !slots_[index]) return nullptr;
    FrameRecord& entry = *slots_[index];
    std::shared_ptr<ArchiveSource> file = std::move(entry.keptFile);
    entry.keptFile.reset();
    if (!file) file = FileSource::open(entry.path);
    return file ? decodePicture(*file, entry, fitWidth, fitHeight) : nullptr;
}

std::unique_ptr<Image> VideoArchive::decodePicture(ArchiveSource& source, const FrameRecord& record, int fitWidth,
                                                   int fitHeight) {
    if (record.payloadSize <= static_cast<std::int32_t>(pictureTag::kSize) || record.payloadSize > kMaxPictureBytes) {
        return nullptr;
    }
    const auto size = static_cast<std::size_t>(record.payloadSize);
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
    if (source.readAt(record.payloadOffset, bytes.get(), size) < size) return nullptr;
    if (!pictureTag::hasModelCode(bytes.get()) || !pictureTag::hasSignature(bytes.get())) return nullptr;
    std::memcpy(bytes.get(), pictureTag::kJpegStart.data(), pictureTag::kSize);
    return decodeJpegToFit(bytes.get(), size, fitWidth, fitHeight);
}

void VideoArchive::close() {
    file_.reset();
    for (auto& slot : slots_) slot.reset();
    frameCount_ = 0;
    referenceFrame_ = -1;
    indicator_ = 0;
    if (!soundFilePath_.empty()) platform::deleteFile(soundFilePath_);
    soundFilePath_.clear();
    soundDataBytes_ = 0;
}

const FrameRecord* VideoArchive::record(int slot) const {
    if (slot < 0 || slot >= frameCount_) return nullptr;
    return slots_[slot].get();
}

void VideoArchive::swap(VideoArchive& other) noexcept {
    std::swap(header_, other.header_);
    std::swap(referenceFrame_, other.referenceFrame_);
    std::swap(indicator_, other.indicator_);
    file_.swap(other.file_);
    std::swap(frameCount_, other.frameCount_);
    soundFilePath_.swap(other.soundFilePath_);
    std::swap(soundDataBytes_, other.soundDataBytes_);
    std::swap(firstFrameTime_, other.firstFrameTime_);
    std::swap(lastFrameTime_, other.lastFrameTime_);
    std::swap(recordedAtCopy_, other.recordedAtCopy_);
    slots_.swap(other.slots_);
}
