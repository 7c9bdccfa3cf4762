#include "export/ExportManifest.h"

#include <sstream>

#include "cli/JsonWriter.h"
#include "export/TimeText.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "platform/SystemClock.h"

#ifndef ORVELLE_PROGRAM_VERSION
#define ORVELLE_PROGRAM_VERSION "0"
#endif

namespace {

constexpr int kCardSearchDepth = 4;

std::wstring upperAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

bool isCardRoot(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(folder, entries)) return false;
    for (const platform::FolderEntry& entry : entries) {
        const std::wstring name = upperAscii(entry.name);
        if (!entry.isFolder && (name == L"TAVR.INI" || name == L"FIRMINFO.DAT")) return true;
    }
    return false;
}

std::wstring relativeTo(const std::wstring& root, const std::wstring& path) {
    std::wstring rest = path.substr(root.size());
    while (!rest.empty() && (rest.front() == L'/' || rest.front() == L'\\')) rest.erase(0, 1);
    for (wchar_t& c : rest) {
        if (c == L'\\') c = L'/';
    }
    return rest;
}

void writeSource(JsonWriter& json, const ManifestSource& source) {
    json.beginObject();
    json.key("path");
    json.value(source.cardPath);
    json.key("size");
    json.value(source.size);
    json.key("sha256");
    json.value(source.sha256.c_str());
    json.key("kind");
    json.value(source.kind);
    json.key("recordedAt");
    json.value(timeText::isoLocal(source.recordedAt).c_str());
    json.key("frames");
    json.value(source.frames);
    json.endObject();
}

void writeFile(JsonWriter& json, const ManifestFile& file) {
    json.beginObject();
    json.key("name");
    json.value(file.name);
    json.key("size");
    json.value(file.size);
    json.key("sha256");
    json.value(file.sha256.c_str());
    json.endObject();
}

}  // namespace

std::string ExportManifest::text() const {
    const std::int64_t now = platform::systemNow();
    int offset = 0;
    platform::utcOffsetAt(now, offset);
    std::ostringstream out;
    JsonWriter json(out);
    json.beginObject();
    json.key("program");
    json.value("orvelle");
    json.key("version");
    json.value(ORVELLE_PROGRAM_VERSION);
    json.key("exportedAt");
    json.value(timeText::isoLocal(now).c_str());
    json.key("timeZone");
    json.beginObject();
    json.key("name");
    json.value(platform::timeZoneName());
    json.key("utcOffset");
    json.value(timeText::offset(offset).c_str());
    json.endObject();
    json.key("recording");
    json.beginObject();
    json.key("kind");
    json.value(recording_.kind);
    json.key("framesPerSecond");
    json.value(recording_.framesPerSecond);
    json.key("firstFrame");
    json.value(recording_.firstFrame);
    json.key("frames");
    json.value(recording_.frames);
    json.key("substitutedFrames");
    json.value(recording_.substitutedFrames);
    json.key("soundBytes");
    json.value(recording_.soundBytes);
    json.endObject();
    json.key("sources");
    json.beginArray();
    for (const ManifestSource& source : sources_) writeSource(json, source);
    json.endArray();
    json.key("files");
    json.beginArray();
    for (const ManifestFile& file : files_) writeFile(json, file);
    json.endArray();
    json.endObject();
    out << "\n";
    return out.str();
}

std::wstring cardRelativePath(const std::wstring& path) {
    std::wstring folder = platform::parentFolder(path);
    for (int depth = 0; depth < kCardSearchDepth && !folder.empty(); ++depth) {
        if (isCardRoot(folder)) return relativeTo(folder, path);
        const std::wstring parent = platform::parentFolder(folder);
        if (parent == folder) break;
        folder = parent;
    }
    const std::wstring above = platform::parentFolder(platform::parentFolder(path));
    return above.empty() ? relativeTo(L"", path) : relativeTo(above, path);
}
