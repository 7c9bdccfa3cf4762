// Both readers of the settings file format on arbitrary bytes. Whatever a
// reader keeps must come out of the writer's bytes and read back the same.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "maintenance/FirmInfo.h"
#include "maintenance/SettingsFileSource.h"

namespace {

void checkRoundTrip(FirmInfo& table) {
    if (table.itemCount() > FirmInfo::maxItems) std::abort();
    const std::vector<std::uint8_t> bytes = table.settingsFileBytes();
    FirmInfo again;
    SettingsFileSource source(bytes.data(), bytes.size());
    again.readSettings(source);
    if (again.itemCount() != table.itemCount()) std::abort();
    for (std::size_t i = 0; i < table.itemCount(); ++i) {
        if (again.item(i) != table.item(i)) std::abort();
    }
}

void readWith(bool firmwareInfo, const std::uint8_t* data, std::size_t size) {
    FirmInfo table;
    SettingsFileSource source(data, size);
    try {
        firmwareInfo ? table.readFirmwareInfo(source) : table.readSettings(source);
    } catch (const Exception&) {
        return;
    }
    checkRoundTrip(table);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    modelCode() = ModelCode{2, 3};
    readWith(false, data, size);
    readWith(true, data, size);
    return 0;
}
