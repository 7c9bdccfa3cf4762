#include "tools/samplewriter/SampleCard.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <iterator>

#include "platform/FileSystem.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/RecorderSettingsFiles.h"
#include "tools/samplewriter/SampleArchive.h"

namespace samplewriter {
namespace {

constexpr std::uint8_t kModelMajor = 2;
constexpr std::uint8_t kModelMinor = 3;
constexpr int kChapterFrames[] = {600, 600, 150};
constexpr int kTwinTimeShot = 11;  // shares the time of the shot before it
constexpr int kUndatedShot = 5;    // taken before the recorder's clock was set
constexpr std::array<std::uint8_t, 16> kFirmwarePrefix = {'V', 'E', 'R', ' ', '0', '1', '.', '0',
                                                          '2', '.', '0', '0', '0', '3', 0,   0};

struct EventFolder {
    const wchar_t* name;
    std::uint8_t kindByte;
    CalendarTime at;
    std::uint32_t firstStamp;
    bool indicator;
    bool failsValidation;
};

constexpr EventFolder kEvents[] = {
    {L"EV000001", kKindAutomaticEvent, {2009, 6, 15, 8, 12, 41}, 1203456, false, false},
    {L"EV000002", kKindManualEvent, {2009, 6, 15, 12, 3, 7}, 15012345, false, false},
    {L"EV000003", kKindAutomaticEvent, {2009, 6, 16, 17, 45, 30}, 2400100, true, false},
    {L"EV000004", kKindAutomaticEvent, {2009, 6, 17, 7, 58, 2}, 830200, false, true},
};

std::wstring numbered(const wchar_t* format, int number) {
    wchar_t name[32];
    std::swprintf(name, 32, format, number);
    return name;
}

bool endsWithNoCase(const std::wstring& name, const std::wstring& ending) {
    if (name.size() < ending.size()) return false;
    return std::equal(ending.begin(), ending.end(), name.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

bool sameNoCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && endsWithNoCase(a, b);
}

// Files of an earlier, larger card must not linger among the new ones. Run
// before writing, so that a file system that ignores case never loses a new file.
void removeStale(const std::wstring& folder, const std::wstring& ending, const std::vector<std::wstring>& keep) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(folder, entries)) return;
    for (const platform::FolderEntry& entry : entries) {
        const std::wstring path = platform::joinPath(folder, entry.name);
        const bool kept =
            std::any_of(keep.begin(), keep.end(), [&](const std::wstring& k) { return sameNoCase(k, path); });
        if (!entry.isFolder && endsWithNoCase(entry.name, ending) && !kept) {
            platform::makeNormal(path);
            platform::deleteFile(path);
        }
    }
}

// The settings file is left hidden and read-only, as the viewer leaves it.
bool writeProtectedFile(const std::wstring& path, const Bytes& bytes) {
    platform::makeNormal(path);
    platform::deleteFile(path);
    if (!writeBytes(path, bytes)) return false;
    platform::makeHiddenReadOnly(path);
    return true;
}

bool writeEvents(const std::wstring& root, const SampleCardOptions& options, SampleCardContents& contents) {
    const std::wstring eventRoot = platform::joinPath(root, L"EVENT");
    if (!platform::createFolder(eventRoot)) return false;
    for (const EventFolder& event : kEvents) {
        ArchiveSetup setup;
        setup.kind = ArchiveKind::Event;
        setup.kindByte = event.kindByte;
        setup.recordedAt = event.at;
        setup.frameCount = options.eventFrames;
        setup.fps = 30;
        setup.eventFrame = std::min(360, options.eventFrames * 2 / 5);
        setup.firstStamp = event.firstStamp;
        setup.width = options.eventWidth;
        setup.height = options.eventHeight;
        setup.jpegQuality = options.jpegQuality;
        setup.indicator = event.indicator;
        if (event.indicator) setup.indicatorFrame = setup.eventFrame;
        if (event.failsValidation) setup.eventStamp = 0;  // the recorder lost the detection moment
        setup.modelMajor = kModelMajor;
        setup.modelMinor = kModelMinor;
        setup.firstFileIndex = static_cast<int>(event.firstStamp % 9000);
        const std::wstring folder = platform::joinPath(eventRoot, event.name);
        if (!platform::createFolder(folder) ||
            !writeBytes(platform::joinPath(folder, L"Video.dvt"), buildArchive(setup)))
            return false;
        contents.eventFolders.push_back(folder);
    }
    return true;
}

bool writeChapters(const std::wstring& root, const SampleCardOptions& options, SampleCardContents& contents) {
    contents.videoFolder = platform::joinPath(root, L"VIDEO");
    if (!platform::createFolder(contents.videoFolder)) return false;
    const CalendarTime start{2009, 6, 15, 9, 0, 0};
    for (std::size_t i = 0; i < std::size(kChapterFrames); ++i)
        contents.chapters.push_back(
            platform::joinPath(contents.videoFolder, numbered(L"Video%04d.dmv", static_cast<int>(i) + 1)));
    removeStale(contents.videoFolder, L".dmv", contents.chapters);
    int chapter = 0;
    for (int frames : kChapterFrames) {
        ArchiveSetup setup;
        setup.kind = ArchiveKind::Chapter;
        setup.kindByte = kKindVideo;
        setup.recordedAt = addSeconds(start, 60 * chapter);
        setup.frameCount = frames;
        setup.fps = 10;
        setup.firstStamp = 5000000 + 60000u * static_cast<std::uint32_t>(chapter);
        setup.firstSceneFrame = 600 * chapter;
        setup.width = options.chapterWidth;
        setup.height = options.chapterHeight;
        setup.jpegQuality = options.jpegQuality;
        setup.modelMajor = kModelMajor;
        setup.modelMinor = kModelMinor;
        setup.fileNumber = static_cast<std::uint8_t>(chapter + 1);
        if (!writeBytes(contents.chapters[static_cast<std::size_t>(chapter)], buildArchive(setup))) return false;
        ++chapter;
    }
    return true;
}

CalendarTime shotTime(int shot, int count) {
    if (shot == kUndatedShot) return CalendarTime{2000, 0, 0, 0, 0, 0};
    const int slot = shot == kTwinTimeShot ? shot - 1 : shot;
    // Spread over the day and out of name order, so the viewer's time sort shows.
    return addSeconds(CalendarTime{2009, 6, 15, 10, 0, 0}, (slot * 7 % std::max(count, 1)) * 97);
}

bool writeOneShots(const std::wstring& root, const SampleCardOptions& options, SampleCardContents& contents) {
    contents.oneShotFolder = platform::joinPath(root, L"ONESHOT");
    if (!platform::createFolder(contents.oneShotFolder)) return false;
    for (int shot = 1; shot <= options.oneShotCount; ++shot)
        contents.oneShots.push_back(platform::joinPath(contents.oneShotFolder, numbered(L"Pic%05d.dpc", shot)));
    removeStale(contents.oneShotFolder, L".dpc", contents.oneShots);
    for (int shot = 1; shot <= options.oneShotCount; ++shot) {
        OneShotSetup setup;
        setup.time = shotTime(shot, options.oneShotCount);
        setup.stamp = 100000u * static_cast<std::uint32_t>(shot);
        setup.sceneFrame = shot * 45;
        setup.width = options.eventWidth;
        setup.height = options.eventHeight;
        setup.jpegQuality = options.jpegQuality;
        setup.fileIndex = shot;
        setup.gxDigits = shot % 3 == 0 ? 8120 : 40 + shot;  // some negative, some positive
        setup.gyDigits = shot % 4 == 0 ? 8035 : 15;
        setup.modelMajor = kModelMajor;
        setup.modelMinor = kModelMinor;
        if (!writeBytes(contents.oneShots[static_cast<std::size_t>(shot - 1)], buildOneShotFile(setup))) return false;
    }
    return true;
}

bool writeSettings(const std::wstring& root, SampleCardContents& contents) {
    contents.firmwareInfoFile = platform::joinPath(root, L"FIRMINFO.DAT");
    contents.settingsFile = platform::joinPath(root, L"TAVR.INI");
    return writeBytes(contents.firmwareInfoFile,
                      buildFirmwareInfoFile(kFirmwarePrefix, kModelMajor, kModelMinor, reportedSettingsItems())) &&
           writeProtectedFile(contents.settingsFile,
                              buildSettingsFile(kModelMajor, kModelMinor, standardSettingsItems()));
}

}  // namespace

bool writeSampleCard(const std::wstring& root, const SampleCardOptions& options, SampleCardContents* contents) {
    SampleCardContents written;
    const bool ok = platform::createFolder(root) && writeSettings(root, written) &&
                    writeEvents(root, options, written) && writeChapters(root, options, written) &&
                    writeOneShots(root, options, written);
    if (contents) *contents = written;
    return ok;
}

}  // namespace samplewriter
