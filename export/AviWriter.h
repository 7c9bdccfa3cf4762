#pragma once
// A RIFF AVI file of two streams, Motion JPEG pictures and 8-bit mono PCM
// sound, written front to back with its sizes patched in at the end. The legacy
// index (idx1) covers the first RIFF; once the file would pass riffLimit it
// goes on in AVIX extensions with per-segment and super indexes (OpenDML), so
// an hour of video memory stays one file that players can seek in.
#include <cstddef>
#include <cstdint>
#include <vector>

class File;

struct AviFormat {
    int width = 0;
    int height = 0;
    int framesPerSecond = 30;
    int sampleRate = 11025;  // bytes per second of the 8-bit mono sound
};

class AviWriter {
public:
    static constexpr std::int64_t kRiffLimit = std::int64_t{1} << 30;
    // Super index entries reserved in the header: one per RIFF, so 256 GiB.
    static constexpr int kMaxRiffs = 256;

    // file: open for writing and empty. All calls return false once a write
    // has failed; the file is then incomplete and the caller discards it.
    AviWriter(File& file, const AviFormat& format, std::int64_t riffLimit = kRiffLimit);

    bool begin();
    bool addVideoFrame(const std::uint8_t* jpeg, std::size_t size);
    bool addSound(const std::uint8_t* samples, std::size_t size);
    bool finish();

    int videoFrames() const { return videoFrames_; }
    std::int64_t soundBytes() const { return soundBytes_; }
    int riffCount() const { return riffCount_; }

private:
    struct IndexEntry {
        std::uint32_t chunkId;
        std::int64_t position;  // of the chunk header
        std::uint32_t size;     // of the data, without the pad byte
    };
    struct StreamPatches {
        std::int64_t lengthAt = 0;
        std::int64_t bufferSizeAt = 0;
        std::int64_t superIndexAt = 0;
    };
    struct SuperIndexEntry {
        std::int64_t offset;
        std::uint32_t size;
        std::uint32_t duration;
    };

    void writeHeaderList();
    void writeMainHeader();
    void writeVideoStreamList();
    void writeSoundStreamList();
    void writeReservedSuperIndex(StreamPatches& patches);
    void writeExtendedHeader();
    void startMovieList(bool first);
    bool addChunk(std::uint32_t chunkId, const std::uint8_t* data, std::size_t size);
    bool segmentWouldOverflow(std::size_t size) const;
    void closeSegment(bool lastSegment);
    void writeSegmentIndex(std::uint32_t chunkId, std::vector<SuperIndexEntry>& superIndex);
    void writeLegacyIndex();
    void patchHeaders();
    void patchSuperIndex(const StreamPatches& patches, std::uint32_t chunkId,
                         const std::vector<SuperIndexEntry>& entries);

    std::int64_t position() const { return written_ + static_cast<std::int64_t>(buffer_.size()); }
    void put(const void* data, std::size_t size);
    void put16(std::uint32_t value);
    void put32(std::uint32_t value);
    void put64(std::uint64_t value);
    void putId(const char* id);
    std::int64_t beginChunk(const char* id);  // returns where the size goes
    std::int64_t beginList(const char* type, const char* listType);
    void endChunk(std::int64_t sizeAt);
    bool flush();
    bool patch32(std::int64_t at, std::uint32_t value);
    bool patchBytes(std::int64_t at, const void* data, std::size_t size);

    File& file_;
    AviFormat format_;
    std::int64_t riffLimit_;
    bool failed_ = false;
    std::vector<std::uint8_t> buffer_;
    std::int64_t written_ = 0;

    std::int64_t riffSizeAt_ = 0;
    std::int64_t riffStart_ = 0;
    std::int64_t movieSizeAt_ = 0;
    std::int64_t movieStart_ = 0;  // position of the "movi" type word
    std::int64_t totalFramesAt_ = 0;
    std::int64_t mainBufferSizeAt_ = 0;
    std::int64_t maxBytesPerSecondAt_ = 0;
    std::int64_t extendedFramesAt_ = 0;
    StreamPatches video_;
    StreamPatches sound_;

    int riffCount_ = 0;
    int videoFrames_ = 0;
    int firstRiffFrames_ = 0;
    std::int64_t soundBytes_ = 0;
    std::uint32_t largestChunk_ = 0;
    std::vector<IndexEntry> segment_;      // chunks of the current RIFF
    std::vector<IndexEntry> legacyIndex_;  // chunks of the first RIFF
    std::vector<SuperIndexEntry> videoSegments_;
    std::vector<SuperIndexEntry> soundSegments_;
};
