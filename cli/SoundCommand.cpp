// orvelle sound FILE OUT.wav: the sound the archive reader restores from an
// event or chapter archive, as the WAVE file the viewer plays.
#include <iostream>
#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "cli/Command.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "recording/ArchiveFormat.h"
#include "recording/SoundWarning.h"
#include "recording/VideoArchive.h"

namespace {

constexpr int kTextNoData = 5505;
constexpr int kTextSoundNotRestored = 5501;
constexpr int kTextWriteFailed = 5035;
constexpr std::size_t kCopyPiece = 65536;

void printWarning(const std::wstring& text) {
    std::cerr << toUtf8(text) << std::endl;
}

bool copyFile(const std::wstring& from, const std::wstring& to) {
    File source;
    File target;
    if (!source.open(from, File::Mode::Read) || !target.open(to, File::Mode::Create)) return false;
    std::vector<unsigned char> piece(kCopyPiece);
    while (const std::size_t got = source.read(piece.data(), piece.size())) {
        if (!target.write(piece.data(), got)) return false;
    }
    return true;
}

int runSound(const std::vector<std::wstring>& arguments) {
    if (arguments.size() != 2) return usageError("sound");
    const std::wstring& path = arguments[0];
    const std::wstring& output = arguments[1];
    const ArchiveFormat format = archiveFormatOf(path);
    // A one-shot picture has no sound.
    if (format == ArchiveFormat::OneShot) return fail(path, loadText(kTextNoData));

    loadModelCode();
    setSoundWarningHandler(printWarning);
    VideoArchive archive;
    try {
        readArchiveFile(archive, path, format);
    } catch (const Exception& failure) {
        return fail(path, failure.message());
    }
    if (archive.soundFilePath().empty()) return fail(path, loadText(kTextSoundNotRestored));
    if (!copyFile(archive.soundFilePath(), output)) {
        platform::deleteFile(output);
        return fail(output, loadText(kTextWriteFailed));
    }
    return 0;
}

const bool registered = registerCommand(Command{"sound", "sound FILE OUT.wav", runSound});

}  // namespace
