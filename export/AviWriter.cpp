#include "export/AviWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/File.h"

namespace {

constexpr std::uint32_t kHasIndex = 0x10;
constexpr std::uint32_t kIsInterleaved = 0x100;
constexpr std::uint32_t kKeyFrame = 0x10;
constexpr std::uint32_t kNoQuality = 0xFFFFFFFF;
constexpr std::uint8_t kIndexOfIndexes = 0;
constexpr std::uint8_t kIndexOfChunks = 1;

constexpr std::size_t kMainHeaderSize = 56;
constexpr std::size_t kStreamHeaderSize = 56;
constexpr std::size_t kExtendedHeaderSize = 248;
constexpr std::size_t kIndexHeaderSize = 24;  // after the chunk id and size
constexpr std::size_t kSuperIndexEntrySize = 16;
constexpr std::size_t kSegmentIndexEntrySize = 8;
constexpr std::size_t kLegacyIndexEntrySize = 16;
constexpr std::size_t kFlushAt = 1 << 20;

constexpr std::uint32_t fourCc(const char* id) {
    return std::uint32_t(std::uint8_t(id[0])) | std::uint32_t(std::uint8_t(id[1])) << 8 |
           std::uint32_t(std::uint8_t(id[2])) << 16 | std::uint32_t(std::uint8_t(id[3])) << 24;
}

constexpr std::uint32_t kVideoChunk = fourCc("00dc");
constexpr std::uint32_t kSoundChunk = fourCc("01wb");

std::size_t padded(std::size_t size) {
    return size + (size & 1);
}

}  // namespace

AviWriter::AviWriter(File& file, const AviFormat& format, std::int64_t riffLimit)
    : file_(file), format_(format), riffLimit_(riffLimit) {}

bool AviWriter::begin() {
    riffStart_ = position();
    riffSizeAt_ = beginList("RIFF", "AVI ");
    riffCount_ = 1;
    writeHeaderList();
    startMovieList(true);
    return flush();
}

void AviWriter::writeHeaderList() {
    const std::int64_t listAt = beginList("LIST", "hdrl");
    writeMainHeader();
    writeVideoStreamList();
    writeSoundStreamList();
    writeExtendedHeader();
    endChunk(listAt);
}

void AviWriter::writeMainHeader() {
    const std::int64_t at = beginChunk("avih");
    put32(static_cast<std::uint32_t>(1000000 / format_.framesPerSecond));
    maxBytesPerSecondAt_ = position();
    put32(0);
    put32(0);  // padding granularity
    put32(kHasIndex | kIsInterleaved);
    totalFramesAt_ = position();
    put32(0);
    put32(0);  // initial frames
    put32(2);  // streams
    mainBufferSizeAt_ = position();
    put32(0);
    put32(static_cast<std::uint32_t>(format_.width));
    put32(static_cast<std::uint32_t>(format_.height));
    for (int i = 0; i < 4; ++i) put32(0);
    endChunk(at);
}

void AviWriter::writeVideoStreamList() {
    const std::int64_t listAt = beginList("LIST", "strl");
    const std::int64_t headerAt = beginChunk("strh");
    putId("vids");
    putId("MJPG");
    put32(0);  // flags
    put16(0);  // priority
    put16(0);  // language
    put32(0);  // initial frames
    put32(1);  // scale
    put32(static_cast<std::uint32_t>(format_.framesPerSecond));
    put32(0);  // start
    video_.lengthAt = position();
    put32(0);
    video_.bufferSizeAt = position();
    put32(0);
    put32(kNoQuality);
    put32(0);  // sample size: frames vary
    put16(0);
    put16(0);
    put16(static_cast<std::uint32_t>(format_.width));
    put16(static_cast<std::uint32_t>(format_.height));
    endChunk(headerAt);

    const std::int64_t formatAt = beginChunk("strf");
    put32(40);
    put32(static_cast<std::uint32_t>(format_.width));
    put32(static_cast<std::uint32_t>(format_.height));
    put16(1);   // planes
    put16(24);  // bits per pixel once decoded
    putId("MJPG");
    put32(static_cast<std::uint32_t>(format_.width * format_.height * 3));
    for (int i = 0; i < 4; ++i) put32(0);
    endChunk(formatAt);
    writeReservedSuperIndex(video_);
    endChunk(listAt);
}

void AviWriter::writeSoundStreamList() {
    const std::int64_t listAt = beginList("LIST", "strl");
    const std::int64_t headerAt = beginChunk("strh");
    putId("auds");
    put32(0);  // handler
    put32(0);  // flags
    put16(0);
    put16(0);
    put32(0);
    put32(1);  // scale: one sample, which is one byte
    put32(static_cast<std::uint32_t>(format_.sampleRate));
    put32(0);
    sound_.lengthAt = position();
    put32(0);
    sound_.bufferSizeAt = position();
    put32(0);
    put32(kNoQuality);
    put32(1);  // sample size
    for (int i = 0; i < 4; ++i) put16(0);
    endChunk(headerAt);

    const std::int64_t formatAt = beginChunk("strf");
    put16(1);  // PCM
    put16(1);  // mono
    put32(static_cast<std::uint32_t>(format_.sampleRate));
    put32(static_cast<std::uint32_t>(format_.sampleRate));
    put16(1);  // block alignment
    put16(8);  // bits per sample
    endChunk(formatAt);
    writeReservedSuperIndex(sound_);
    endChunk(listAt);
}

// Room for the OpenDML super index; it stays filler unless a second RIFF is needed.
void AviWriter::writeReservedSuperIndex(StreamPatches& patches) {
    patches.superIndexAt = position();
    const std::int64_t at = beginChunk("JUNK");
    const std::vector<std::uint8_t> zeros(kIndexHeaderSize + kSuperIndexEntrySize * kMaxRiffs, 0);
    put(zeros.data(), zeros.size());
    endChunk(at);
}

void AviWriter::writeExtendedHeader() {
    const std::int64_t listAt = beginList("LIST", "odml");
    const std::int64_t at = beginChunk("dmlh");
    extendedFramesAt_ = position();
    const std::vector<std::uint8_t> zeros(kExtendedHeaderSize, 0);
    put(zeros.data(), zeros.size());
    endChunk(at);
    endChunk(listAt);
}

void AviWriter::startMovieList(bool first) {
    if (!first) {
        riffStart_ = position();
        riffSizeAt_ = beginList("RIFF", "AVIX");
    }
    movieSizeAt_ = beginList("LIST", "movi");
    movieStart_ = movieSizeAt_ + 4;
}

bool AviWriter::addVideoFrame(const std::uint8_t* jpeg, std::size_t size) {
    if (!addChunk(kVideoChunk, jpeg, size)) return false;
    ++videoFrames_;
    if (riffCount_ == 1) firstRiffFrames_ = videoFrames_;
    return true;
}

bool AviWriter::addSound(const std::uint8_t* samples, std::size_t size) {
    if (size == 0) return !failed_;
    if (!addChunk(kSoundChunk, samples, size)) return false;
    soundBytes_ += static_cast<std::int64_t>(size);
    return true;
}

bool AviWriter::addChunk(std::uint32_t chunkId, const std::uint8_t* data, std::size_t size) {
    if (failed_ || size > 0x7FFFFFFF) return false;
    if (!segment_.empty() && segmentWouldOverflow(size)) {
        if (riffCount_ >= kMaxRiffs) return false;
        closeSegment(false);
        ++riffCount_;
        startMovieList(false);
    }
    const IndexEntry entry{chunkId, position(), static_cast<std::uint32_t>(size)};
    put32(chunkId);
    put32(entry.size);
    put(data, size);
    if (size & 1) put("", 1);
    segment_.push_back(entry);
    if (riffCount_ == 1) legacyIndex_.push_back(entry);
    largestChunk_ = std::max(largestChunk_, entry.size);
    if (buffer_.size() >= kFlushAt) flush();
    return !failed_;
}

// Whether the chunk, and the indexes the segment will end with, would take the
// RIFF past its limit.
bool AviWriter::segmentWouldOverflow(std::size_t size) const {
    const std::int64_t entries = static_cast<std::int64_t>(segment_.size()) + 1;
    std::int64_t indexes = 2 * (8 + kIndexHeaderSize) + kSegmentIndexEntrySize * entries;
    if (riffCount_ == 1) indexes += 8 + kLegacyIndexEntrySize * entries;
    const std::int64_t end = position() + 8 + static_cast<std::int64_t>(padded(size)) + indexes;
    return end - riffStart_ > riffLimit_;
}

void AviWriter::closeSegment(bool lastSegment) {
    const bool extended = riffCount_ > 1 || !lastSegment;
    if (extended) {
        writeSegmentIndex(kVideoChunk, videoSegments_);
        writeSegmentIndex(kSoundChunk, soundSegments_);
    }
    endChunk(movieSizeAt_);
    if (riffCount_ == 1) writeLegacyIndex();
    endChunk(riffSizeAt_);
    segment_.clear();
    flush();
}

// A standard index ("ix00", "ix01") of one stream's chunks in this RIFF; offsets
// point at the data, relative to the segment's "movi" word.
void AviWriter::writeSegmentIndex(std::uint32_t chunkId, std::vector<SuperIndexEntry>& superIndex) {
    std::vector<const IndexEntry*> chunks;
    std::uint32_t duration = 0;
    for (const IndexEntry& entry : segment_) {
        if (entry.chunkId != chunkId) continue;
        chunks.push_back(&entry);
        duration += chunkId == kVideoChunk ? 1 : entry.size;
    }
    if (chunks.empty()) return;
    const std::int64_t at = position();
    const std::int64_t sizeAt = beginChunk(chunkId == kVideoChunk ? "ix00" : "ix01");
    put16(2);
    put("\0", 1);
    put(&kIndexOfChunks, 1);
    put32(static_cast<std::uint32_t>(chunks.size()));
    put32(chunkId);
    put64(static_cast<std::uint64_t>(movieStart_));
    put32(0);
    for (const IndexEntry* entry : chunks) {
        put32(static_cast<std::uint32_t>(entry->position + 8 - movieStart_));
        put32(entry->size);  // bit 31 clear: every picture is a key frame
    }
    endChunk(sizeAt);
    superIndex.push_back(SuperIndexEntry{at, static_cast<std::uint32_t>(position() - at), duration});
}

void AviWriter::writeLegacyIndex() {
    const std::int64_t at = beginChunk("idx1");
    for (const IndexEntry& entry : legacyIndex_) {
        put32(entry.chunkId);
        put32(kKeyFrame);
        put32(static_cast<std::uint32_t>(entry.position - movieStart_));
        put32(entry.size);
    }
    endChunk(at);
}

bool AviWriter::finish() {
    if (failed_) return false;
    closeSegment(true);
    patchHeaders();
    return flush() && !failed_;
}

void AviWriter::patchHeaders() {
    const std::uint32_t frames = static_cast<std::uint32_t>(videoFrames_);
    patch32(totalFramesAt_, riffCount_ > 1 ? static_cast<std::uint32_t>(firstRiffFrames_) : frames);
    patch32(extendedFramesAt_, frames);
    patch32(video_.lengthAt, frames);
    patch32(sound_.lengthAt, static_cast<std::uint32_t>(soundBytes_));
    patch32(mainBufferSizeAt_, largestChunk_ + 8);
    patch32(video_.bufferSizeAt, largestChunk_);
    patch32(sound_.bufferSizeAt, static_cast<std::uint32_t>(format_.sampleRate));
    const std::int64_t seconds = std::max<std::int64_t>(1, videoFrames_ / std::max(1, format_.framesPerSecond));
    patch32(maxBytesPerSecondAt_, static_cast<std::uint32_t>(std::min<std::int64_t>(position() / seconds, 0xFFFFFFFF)));
    if (riffCount_ > 1) {
        patchSuperIndex(video_, kVideoChunk, videoSegments_);
        patchSuperIndex(sound_, kSoundChunk, soundSegments_);
    }
}

// The reserved filler becomes an "indx" chunk of the same size; unused entries
// stay zero.
void AviWriter::patchSuperIndex(const StreamPatches& patches, std::uint32_t chunkId,
                                const std::vector<SuperIndexEntry>& entries) {
    std::vector<std::uint8_t> bytes;
    const auto add = [&bytes](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    add(fourCc("indx"), 4);
    add(kIndexHeaderSize + kSuperIndexEntrySize * kMaxRiffs, 4);
    add(4, 2);  // longs per entry
    add(0, 1);
    add(kIndexOfIndexes, 1);
    add(entries.size(), 4);
    add(chunkId, 4);
    for (int i = 0; i < 3; ++i) add(0, 4);  // reserved
    for (const SuperIndexEntry& entry : entries) {
        add(static_cast<std::uint64_t>(entry.offset), 8);
        add(entry.size, 4);
        add(entry.duration, 4);
    }
    patchBytes(patches.superIndexAt, bytes.data(), bytes.size());
}

void AviWriter::put(const void* data, std::size_t size) {
    const std::size_t end = buffer_.size();
    buffer_.resize(end + size);
    if (size > 0) std::memcpy(buffer_.data() + end, data, size);
}

void AviWriter::put16(std::uint32_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    put(bytes, 2);
}

void AviWriter::put32(std::uint32_t value) {
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    put(bytes, 4);
}

void AviWriter::put64(std::uint64_t value) {
    put32(static_cast<std::uint32_t>(value));
    put32(static_cast<std::uint32_t>(value >> 32));
}

void AviWriter::putId(const char* id) {
    put(id, 4);
}

std::int64_t AviWriter::beginChunk(const char* id) {
    putId(id);
    const std::int64_t sizeAt = position();
    put32(0);
    return sizeAt;
}

std::int64_t AviWriter::beginList(const char* type, const char* listType) {
    const std::int64_t sizeAt = beginChunk(type);
    putId(listType);
    return sizeAt;
}

// Chunk data is padded to an even length; the size field does not count the pad.
void AviWriter::endChunk(std::int64_t sizeAt) {
    const std::int64_t size = position() - sizeAt - 4;
    patch32(sizeAt, static_cast<std::uint32_t>(size));
    if (size & 1) put("", 1);
}

bool AviWriter::flush() {
    if (failed_) return false;
    if (buffer_.empty()) return true;
    if (!file_.write(buffer_.data(), buffer_.size())) failed_ = true;
    written_ += static_cast<std::int64_t>(buffer_.size());
    buffer_.clear();
    return !failed_;
}

bool AviWriter::patch32(std::int64_t at, std::uint32_t value) {
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return patchBytes(at, bytes, 4);
}

// Bytes still in the buffer are patched there; written ones in the file.
bool AviWriter::patchBytes(std::int64_t at, const void* data, std::size_t size) {
    if (failed_) return false;
    if (at >= written_) {
        std::memcpy(buffer_.data() + (at - written_), data, size);
        return true;
    }
    if (!flush()) return false;
    if (!file_.seek(at) || !file_.write(data, size) || !file_.seek(written_)) failed_ = true;
    return !failed_;
}
