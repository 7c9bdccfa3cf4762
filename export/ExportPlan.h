#pragma once
// What an export takes from the card: the recording a source path names (an
// event folder or archive, a video-memory folder or one chapter, a one-shot
// folder or picture), its archive files in playing order with their frame
// counts, and the frames of the part asked for.
#include <cstdint>
#include <string>
#include <vector>

enum class RecordingKind { Event, VideoMemory, OneShot };

// The kind's name in the manifest and the command line's answer.
const char* recordingKindName(RecordingKind kind);

// A part of a recording in seconds from its start; a side not given is open.
struct ExportRange {
    bool hasFrom = false;
    bool hasTo = false;
    double from = 0.0;
    double to = 0.0;
};

struct PlannedSource {
    std::wstring path;
    int frames = 0;             // slots of the archive
    std::int64_t firstOverall;  // frame number of its slot 0 in the recording
};

class ExportPlan {
public:
    // Throws ExportException: 5510 when the source cannot be read, 5505 when it
    // holds nothing to export or the part lies outside the recording.
    static ExportPlan forSource(const std::wstring& source, const ExportRange& range);

    RecordingKind kind() const { return kind_; }
    int framesPerSecond() const { return kind_ == RecordingKind::VideoMemory ? 10 : 30; }
    const std::vector<PlannedSource>& sources() const { return sources_; }
    // Exported frames first .. end - 1, numbered over the whole recording.
    std::int64_t firstFrame() const { return first_; }
    std::int64_t endFrame() const { return end_; }
    std::int64_t totalFrames() const { return total_; }
    const ExportRange& range() const { return range_; }
    // The folder or file the user named.
    const std::wstring& sourcePath() const { return sourcePath_; }

    // Frames of a part: those whose start lies in [from, to).
    static bool framesOfRange(const ExportRange& range, int framesPerSecond, std::int64_t total,
                              std::int64_t& first, std::int64_t& end);

private:
    void planEvent(const std::wstring& archive);
    void planChapters(const std::vector<std::wstring>& chapters);
    void planOneShots(const std::wstring& folder, const std::wstring& file);
    void applyRange();

    RecordingKind kind_ = RecordingKind::Event;
    std::vector<PlannedSource> sources_;
    std::int64_t first_ = 0;
    std::int64_t end_ = 0;
    std::int64_t total_ = 0;
    ExportRange range_;
    std::wstring sourcePath_;
};
