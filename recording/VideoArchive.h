#pragma once
// Reader of the recorder's archives: event archives ("Video.dvt"), video-memory
// chapters ("Video????.dmv") and one-shot pictures ("*.dpc"). Opening reads
// only block headers, restores the sound into a temporary WAVE file and builds
// a table of up to 900 frame slots; pictures stay in the file until
// decodeFrame asks for one. The owner (the image loader) serialises all calls.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Image.h"
#include "recording/ArchiveSource.h"
#include "recording/FrameRecord.h"
#include "recording/RecordingHeader.h"

class SoundFileWriter;

class VideoArchive {
public:
    static constexpr int kSlotCount = 900;
    static constexpr std::int32_t kMaxPictureBytes = 1048576;

    VideoArchive();
    virtual ~VideoArchive();
    VideoArchive(const VideoArchive&) = delete;
    VideoArchive& operator=(const VideoArchive&) = delete;

    // Throw VideoArchiveException (5510) when the file cannot be opened, its
    // header or directory prefix is short or its lead-in picture carries a
    // foreign model code. Damage inside the block sequence is skipped.
    void readEventArchive(const std::wstring& path);
    void readChapterArchive(const std::wstring& path);
    // The same on bytes that are already open (tests, fuzzing).
    void readEventArchive(std::unique_ptr<ArchiveSource> source);
    void readChapterArchive(std::unique_ptr<ArchiveSource> source);

    // Number of 100 ms slots of a chapter file, without any archive's state.
    // Throws VideoArchiveException (5510) when the file cannot be read.
    static int countChapterFrames(const std::wstring& path);
    static int countChapterFrames(ArchiveSource& source);

    // Fills the table from the one-shot files of a folder; true when more files
    // existed than fit. With keepPictures the files stay open for
    // decodeOneShotEntryToFit. Defined with the folder catalogue, which builds it
    // from readOneShotRecord, takeOneShotEntry and finishOneShotScan below.
    bool readOneShotFolder(const std::wstring& folder, bool keepPictures = false);
    // One one-shot picture as entry 0; its file stays open for decodeFrame.
    // VideoArchiveException 5517 when it cannot be opened, Exception (5510)
    // when it is too short.
    void readOneShotFile(const std::wstring& path);
    void readOneShotFile(std::unique_ptr<ArchiveSource> source, const std::wstring& path);
    // Reads one open one-shot file into slot (0-899) and rebuilds the header from
    // it. Throws Exception (5510) when the file is too short.
    void readOneShotEntry(ArchiveSource& source, const std::wstring& path, int slot);
    // What a one-shot file's block header holds, read without touching the
    // archive (the caller decides whether it is taken). Throws as readOneShotEntry.
    struct OneShotEntry {
        std::unique_ptr<FrameRecord> record;
        RecordingHeader header;
    };
    static OneShotEntry readOneShotRecord(ArchiveSource& source, const std::wstring& path);
    // Takes an entry read by readOneShotRecord into slot, as readOneShotEntry does.
    void takeOneShotEntry(OneShotEntry entry, int slot);
    // After a folder scan: entries 0 .. count - 1 become the table, ordered by
    // time (pictures without a time first, equal times keep their order).
    void finishOneShotScan(int count);
    // Opens the file of one-shot entry index for decodeFrame. Throws
    // VideoArchiveException (5510).
    void prepareOneShotEntry(int index);

    // The picture of a slot, or null when there is none or it does not decode.
    std::unique_ptr<Image> decodeFrame(int index);
    // The same at the smallest reduced size that covers fitWidth × fitHeight
    // (miniatures); see decodeJpegToFit.
    std::unique_ptr<Image> decodeFrameToFit(int index, int fitWidth, int fitHeight);
    // The picture of a one-shot entry of a folder at the reduced size, from the
    // file the listing left open (closed afterwards) or else its file opened
    // anew. Null when there is none or it does not decode.
    std::unique_ptr<Image> decodeOneShotEntryToFit(int index, int fitWidth, int fitHeight);

    // Closes the file, frees the table and deletes the restored sound file.
    void close();
    // Exchanges everything with other, the restored sound file included: a
    // chapter read ahead on another thread takes the place of the open one.
    void swap(VideoArchive& other) noexcept;

    const RecordingHeader& header() const { return header_; }
    int referenceFrame() const { return referenceFrame_; }
    int frameCount() const { return frameCount_; }
    // Null outside 0 .. frameCount - 1.
    const FrameRecord* record(int slot) const;
    std::int64_t firstFrameTime() const { return firstFrameTime_; }
    std::int64_t lastFrameTime() const { return lastFrameTime_; }
    std::int64_t recordedAtCopy() const { return recordedAtCopy_; }
    std::uint8_t indicator() const { return indicator_; }
    // Empty when no sound file could be created.
    const std::wstring& soundFilePath() const { return soundFilePath_; }
    // Sample bytes in the restored sound file (its data size).
    std::int64_t soundDataBytes() const { return soundDataBytes_; }

private:
    enum class Kind { Event, Chapter };

    void readArchive(std::unique_ptr<ArchiveSource> source, Kind kind);
    void startSoundFile(SoundFileWriter& sound);
    std::vector<std::unique_ptr<FrameRecord>> readBlocksAndSound(std::int64_t blocksStart, SoundFileWriter& sound);
    void placePictures(std::vector<std::unique_ptr<FrameRecord>>& pictures, double period);
    void findReferenceFrame();
    void applyLeadInPad();
    void fillGaps();
    void findFirstAndLastTimes(std::uint32_t& firstStamp, std::uint32_t& lastStamp);
    void validateReferenceFrame(std::uint32_t firstStamp, std::uint32_t lastStamp);
    int highestTakenSlot() const;
    // The picture of record in source at the reduced size (none: full size).
    static std::unique_ptr<Image> decodePicture(ArchiveSource& source, const FrameRecord& record, int fitWidth,
                                                int fitHeight);

    RecordingHeader header_;
    int referenceFrame_ = -1;
    std::uint8_t indicator_ = 0;
    std::unique_ptr<ArchiveSource> file_;
    int frameCount_ = 0;
    std::wstring soundFilePath_;
    std::int64_t soundDataBytes_ = 0;
    std::int64_t firstFrameTime_ = 0;
    std::int64_t lastFrameTime_ = 0;
    std::int64_t recordedAtCopy_ = 0;
    std::array<std::unique_ptr<FrameRecord>, kSlotCount> slots_;
};
