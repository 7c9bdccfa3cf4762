#include "thumbnails/OneShotPictures.h"

#include <filesystem>

#include "app/ModelCode.h"
#include "platform/FileSystem.h"
#include "tools/samplewriter/CalendarArithmetic.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

constexpr CalendarTime kFirstTime{2009, 6, 15, 9, 0, 0};

}  // namespace

OneShotPictures::OneShotPictures() {
    marker_ = platform::createTemporaryFile(platform::temporaryFolder(), L"shot");
    folder_ = marker_ + L".d";
    platform::createFolder(folder_);
}

OneShotPictures::~OneShotPictures() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    platform::deleteFile(marker_);
}

bool OneShotPictures::add(int count, int width, int height) {
    for (int i = 0; i < count; ++i) {
        if (!write(nextName(), timeOf(dated_), width, height, false)) return false;
        ++dated_;
    }
    return true;
}

bool OneShotPictures::addUndated() {
    return write(nextName(), CalendarTime{2000, 0, 0, 0, 0, 0}, 64, 48, false);
}

bool OneShotPictures::addUndecodable() {
    return write(nextName(), timeOf(dated_++), 64, 48, true);
}

CalendarTime OneShotPictures::timeOf(int n) {
    return samplewriter::addSeconds(kFirstTime, 60 * n);
}

bool OneShotPictures::write(const std::wstring& name, const CalendarTime& time, int width, int height,
                            bool foreignModel) {
    samplewriter::OneShotSetup setup;
    setup.time = time;
    setup.width = width;
    setup.height = height;
    setup.fileIndex = files_;
    setup.sceneFrame = files_ * 7;
    setup.modelMajor = modelCode().major;
    setup.modelMinor = static_cast<std::uint8_t>(modelCode().minor + (foreignModel ? 1 : 0));
    return samplewriter::writeBytes(platform::joinPath(folder_, name), samplewriter::buildOneShotFile(setup));
}

std::wstring OneShotPictures::nextName() {
    wchar_t name[32];
    swprintf(name, 32, L"Pic%05d.dpc", ++files_);
    return name;
}
