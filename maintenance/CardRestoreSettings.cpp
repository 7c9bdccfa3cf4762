#include "maintenance/CardRestoreSettings.h"

#include "app/Exception.h"
#include "maintenance/FirmInfo.h"
#include "platform/FileSystem.h"

namespace {
constexpr int standardVolume = 0;
constexpr int standardShockSensitivity = 45;
}  // namespace

void writeDefaultSettings(const std::wstring& cardPath) {
    const std::wstring path = platform::joinPath(cardPath, L"TAVR.INI");
    deleteFile(path);
    try {
        // The existing file is not merged: the point is to drop what it held.
        FirmInfo settings;
        settings.setOperationVolume(standardVolume);
        settings.setShockSensitivity(standardShockSensitivity);
        settings.setStandardDetectionValues();
        settings.writeSettingsFile(path, false);
        settings.verifySettingsFile(path);
    } catch (const Exception& failure) {
        deleteFile(path);
        throw Exception(failure.message());
    }
}
