#pragma once
// "manifest.json" of an export: which program made it and when, in which time
// zone, from which card files (with their checksums) and which files it wrote
// (with theirs), so that anyone can later check that nothing was altered.
#include <cstdint>
#include <string>
#include <vector>

struct ManifestSource {
    std::wstring cardPath;  // relative to the card, '/' separated
    std::int64_t size = 0;
    std::string sha256;
    const char* kind = "";  // "event", "chapter" or "oneshot"
    std::int64_t recordedAt = 0;
    int frames = 0;
};

struct ManifestFile {
    std::wstring name;
    std::int64_t size = 0;
    std::string sha256;
};

struct ManifestRecording {
    const char* kind = "";  // "event", "videoMemory" or "oneShot"
    int framesPerSecond = 0;
    std::int64_t firstFrame = 0;  // of the recording, for a part
    std::int64_t frames = 0;
    std::int64_t substitutedFrames = 0;
    std::int64_t soundBytes = 0;
};

class ExportManifest {
public:
    static constexpr wchar_t kName[] = L"manifest.json";

    explicit ExportManifest(const ManifestRecording& recording) : recording_(recording) {}
    void addSource(const ManifestSource& source) { sources_.push_back(source); }
    void addFile(const ManifestFile& file) { files_.push_back(file); }
    // The JSON text, stamped with the present time.
    std::string text() const;

private:
    ManifestRecording recording_;
    std::vector<ManifestSource> sources_;
    std::vector<ManifestFile> files_;
};

// The path of a card file relative to the card's root, which is the nearest
// folder above it holding the recorder's settings or firmware file; without
// one, relative to the folder above the file's own.
std::wstring cardRelativePath(const std::wstring& path);
