// orvelle info [--frames] FILE: what the archive reader makes of a recorder
// file (or of the event archive "Video.dvt" of a folder): the recording header,
// the frame table and the size of the restored sound, as one JSON object.
#include <iostream>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "cli/Command.h"
#include "cli/JsonWriter.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/ArchiveFormat.h"
#include "recording/SoundWarning.h"
#include "recording/VideoArchive.h"

namespace {

void printWarning(const std::wstring& text) {
    std::cerr << toUtf8(text) << std::endl;
}

std::wstring upperAscii(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

// The folder's event archive, in any case of its name: a card written on
// Windows may be read on a case-sensitive system.
std::wstring eventArchiveOf(const std::wstring& folder) {
    std::vector<platform::FolderEntry> entries;
    if (platform::listFolder(folder, entries)) {
        for (const platform::FolderEntry& entry : entries) {
            if (!entry.isFolder && upperAscii(entry.name) == L"VIDEO.DVT")
                return platform::joinPath(folder, entry.name);
        }
    }
    return platform::joinPath(folder, L"Video.dvt");
}

void writeFrame(JsonWriter& json, int index, const FrameRecord& record) {
    json.beginObject();
    json.key("index");
    json.value(index);
    json.key("time");
    json.value(record.time);
    json.key("gx");
    json.value(record.gx);
    json.key("gy");
    json.value(record.gy);
    json.key("g");
    json.value(record.g);
    json.key("stamp");
    json.value(record.stamp);
    json.key("fileNumber");
    json.value(record.fileNumber);
    json.key("fileIndex");
    json.value(record.fileIndex);
    json.key("payloadOffset");
    json.value(record.payloadOffset);
    json.key("payloadSize");
    json.value(record.payloadSize);
    json.key("flag");
    json.value(record.flag);
    json.endObject();
}

void writeInfo(JsonWriter& json, const VideoArchive& archive, ArchiveFormat format, bool withFrames) {
    const RecordingHeader& header = archive.header();
    json.beginObject();
    json.key("format");
    json.value(archiveFormatName(format));
    json.key("triggerKind");
    json.value(header.triggerKind);
    json.key("recordedAt");
    json.value(header.recordedAt);
    json.key("eventStamp");
    json.value(header.eventStamp);
    json.key("headerGx");
    json.value(header.headerGx);
    json.key("headerGy");
    json.value(header.headerGy);
    json.key("indicator");
    json.value(int{archive.indicator()});
    json.key("frameCount");
    json.value(archive.frameCount());
    json.key("referenceFrame");
    json.value(archive.referenceFrame());
    json.key("firstFrameTime");
    json.value(archive.firstFrameTime());
    json.key("lastFrameTime");
    json.value(archive.lastFrameTime());
    json.key("soundBytes");
    json.value(archive.soundDataBytes());
    if (withFrames) {
        json.key("frames");
        json.beginArray();
        for (int i = 0; i < archive.frameCount(); ++i) {
            if (const FrameRecord* record = archive.record(i)) writeFrame(json, i, *record);
        }
        json.endArray();
    }
    json.endObject();
}

int runInfo(const std::vector<std::wstring>& arguments) {
    bool withFrames = false;
    std::wstring path;
    for (const std::wstring& argument : arguments) {
        if (argument == L"--frames") {
            withFrames = true;
        } else if (path.empty()) {
            path = argument;
        } else {
            return usageError("info");
        }
    }
    if (path.empty()) return usageError("info");
    if (platform::isFolder(path)) path = eventArchiveOf(path);

    loadModelCode();
    setSoundWarningHandler(printWarning);
    const ArchiveFormat format = archiveFormatOf(path);
    VideoArchive archive;
    try {
        readArchiveFile(archive, path, format);
    } catch (const Exception& failure) {
        return fail(path, failure.message());
    }
    JsonWriter json(std::cout);
    writeInfo(json, archive, format, withFrames);
    std::cout << std::endl;
    return 0;
}

const bool registered = registerCommand(Command{"info", "info [--frames] FILE|FOLDER", runInfo});

}  // namespace
