// orvelle scan FOLDER: what the viewer finds in a card folder: how many
// recordings of each kind, the chapters in playing order with the total frame
// count, and the one-shot pictures in the order the thumbnail strip shows them.
#include <iostream>

#include "app/Exception.h"
#include "app/Texts.h"
#include "cli/Command.h"
#include "cli/JsonWriter.h"
#include "platform/FileSystem.h"
#include "recording/ChapterList.h"
#include "recording/RecordingFolder.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kTextCannotRead = 5510;

struct FolderCounts {
    int event = 0;
    int oneShot = 0;
    int video = 0;
};

struct Chapters {
    ChapterTable table;
    int count = 0;
    bool tooMany = false;
    int totalFrames = 0;
};

void writeCounts(JsonWriter& json, const FolderCounts& counts) {
    json.key("counts");
    json.beginObject();
    json.key("event");
    json.value(counts.event);
    json.key("oneshot");
    json.value(counts.oneShot);
    json.key("video");
    json.value(counts.video);
    json.endObject();
}

void writeChapters(JsonWriter& json, const Chapters& chapters) {
    json.key("chapters");
    json.beginArray();
    for (int i = 0; i < chapters.count; ++i) json.value(chapters.table[i]);
    json.endArray();
    json.key("tooManyChapters");
    json.value(chapters.tooMany);
    json.key("totalFrames");
    json.value(chapters.totalFrames);
}

void writeOneShots(JsonWriter& json, const VideoArchive& archive, bool tooMany) {
    json.key("oneShots");
    json.beginArray();
    for (int i = 0; i < archive.frameCount(); ++i) {
        const FrameRecord* record = archive.record(i);
        if (!record) continue;
        json.beginObject();
        json.key("path");
        json.value(record->path);
        json.key("time");
        json.value(record->time);
        json.endObject();
    }
    json.endArray();
    json.key("tooManyOneShots");
    json.value(tooMany);
}

int runScan(const std::vector<std::wstring>& arguments) {
    if (arguments.size() != 1) return usageError("scan");
    const std::wstring& folder = arguments[0];
    if (!platform::isFolder(folder)) return fail(folder, loadText(kTextCannotRead));

    FolderCounts counts;
    counts.event = countMatching(folder, patternFor(0));
    counts.oneShot = countMatching(folder, patternFor(1));
    counts.video = countMatching(folder, patternFor(2));

    Chapters chapters;
    VideoArchive archive;
    bool tooManyOneShots = false;
    try {
        if (counts.video > 0) {
            chapters.totalFrames = listChapters(folder, chapters.table, chapters.count, chapters.tooMany);
        }
        if (counts.oneShot > 0) tooManyOneShots = archive.readOneShotFolder(folder);
    } catch (const Exception& failure) {
        return fail(folder, failure.message());
    }

    JsonWriter json(std::cout);
    json.beginObject();
    writeCounts(json, counts);
    writeChapters(json, chapters);
    writeOneShots(json, archive, tooManyOneShots);
    json.endObject();
    std::cout << std::endl;
    return 0;
}

const bool registered = registerCommand(Command{"scan", "scan FOLDER", runScan});

}  // namespace
