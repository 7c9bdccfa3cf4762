// The one-shot scan of a folder, a VideoArchive operation kept with the folder
// catalogue because it is a folder scan: which files, how many, in what order.
#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"
#include "platform/FileSystem.h"
#include "recording/FileSource.h"
#include "recording/RecordingFolder.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kTextCannotRead = 5510;

}  // namespace

bool VideoArchive::readOneShotFolder(const std::wstring& folder, bool keepPictures) {
    close();
    const std::wstring pattern = patternFor(1);
    std::vector<std::wstring> names;
    if (!findRecordingFiles(folder, pattern, names)) throw VideoArchiveException(loadText(kTextCannotRead));

    bool tooMany = false;
    int count = 0;
    for (const std::wstring& name : names) {
        if (count == kMaxOneShotPictures) {
            tooMany = true;
            break;
        }
        const std::wstring path = platform::joinPath(folder, name);
        std::unique_ptr<FileSource> source = FileSource::open(path);
        // A picture that cannot be opened or read is left out without a word:
        // the strip shows the rest, or reports the folder as empty.
        if (!source) continue;
        try {
            OneShotEntry entry = readOneShotRecord(*source, path);
            // Opening a file costs far more than reading it, so a picture about
            // to be decoded keeps the file the listing opened.
            if (keepPictures) entry.record->keptFile = std::move(source);
            takeOneShotEntry(std::move(entry), count);
            ++count;
        } catch (const Exception&) {
        }
    }
    finishOneShotScan(count);
    return tooMany;
}
