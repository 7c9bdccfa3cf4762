#pragma once
// The walk over an archive's block sequence: reads each 64-byte block header
// and the 16 bytes after it, recognises picture and sound blocks, skips the
// lead-in picture and finds its way past damaged stretches by searching for the
// next picture tag. Reads only headers; payloads stay in the file.
#include <cstdint>
#include <memory>
#include <vector>

#include "recording/ArchiveSource.h"
#include "recording/FrameRecord.h"
#include "recording/SignatureSearch.h"

class BlockWalk {
public:
    static constexpr std::size_t kListLimit = 900;

    struct Options {
        // The lead-in picture must carry the process's model code (5510 if not).
        bool testLeadIn = true;
        // Sound blocks are collected; otherwise their payloads are skipped.
        bool keepSound = true;
    };

    BlockWalk(ArchiveSource& source, std::int64_t start, Options options);

    // Throws VideoArchiveException (5510) for a lead-in picture with a foreign
    // model code; any other damage just ends or shortens the walk.
    void run();

    // In the order met in the file.
    std::vector<std::unique_ptr<FrameRecord>>& pictures() { return pictures_; }
    std::vector<std::unique_ptr<FrameRecord>>& sounds() { return sounds_; }
    // Some picture's information carried the indicator bit.
    bool indicator() const { return indicator_; }

private:
    enum class Step { Next, End };

    Step walkOneBlock();
    bool isTaken(const std::uint8_t* block) const;
    void takeLeadIn(const std::uint8_t* block, const FrameRecord& record);
    void takePicture(const std::uint8_t* block, std::unique_ptr<FrameRecord> record);
    void takeSound(std::unique_ptr<FrameRecord> record);
    bool skipPayload(std::int32_t payloadSize);
    bool payloadFitsInFile(std::int32_t payloadSize) const;

    ArchiveSource& source_;
    Options options_;
    std::int64_t position_;
    bool leadInSeen_ = false;
    bool indicator_ = false;
    SignatureSearch search_;
    std::vector<std::unique_ptr<FrameRecord>> pictures_;
    std::vector<std::unique_ptr<FrameRecord>> sounds_;
};
