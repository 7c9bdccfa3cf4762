#include "maintenance/FirmInfo.h"

#include <cstdlib>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "app/Texts.h"
#include "maintenance/SettingsFileSource.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

namespace {

constexpr int textCannotRead = 5019;
constexpr int textCannotWrite = 5020;
constexpr int textVerifyFailed = 5007;
constexpr int textTimeOutOfRange = 5021;

constexpr std::size_t valueOffset = 2;
constexpr std::size_t checkOffset = 7;

constexpr std::uint16_t itemClock = 0x0101;
constexpr std::uint16_t itemOperationVolume = 0x0301;
constexpr std::uint16_t itemGuidanceVolume = 0x0303;
constexpr std::uint16_t itemEventVolume = 0x0304;
constexpr std::uint16_t itemEcoSensitivity = 0x0714;
constexpr std::uint16_t itemEcoCompanion = 0x0715;
constexpr std::uint16_t itemShockSensitivity = 0x0801;
constexpr std::uint16_t itemShockCompanion1 = 0x0802;
constexpr std::uint16_t itemShockCompanion2 = 0x0803;
constexpr std::uint16_t itemShockCompanion3 = 0x0804;
constexpr std::uint16_t itemOverwrite = 0x1801;

static_assert(sizeof(FirmInfo::Item) == FirmInfo::itemSize);

// Items are read in batches so that a long file costs few system calls.
constexpr std::size_t itemsPerRead = 512;

std::uint8_t checkByte(const FirmInfo::Item& item) {
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < checkOffset; ++i) check ^= item[i];
    return check;
}

bool hasGoodCheckByte(const FirmInfo::Item& item) {
    return item[checkOffset] == checkByte(item);
}

FirmInfo::Item headerItem() {
    FirmInfo::Item header{0x00, 0x01, modelCode().major, modelCode().minor, 0xFF, 0xFF, 0xFF, 0x00};
    header[checkOffset] = checkByte(header);
    return header;
}

// Bytes 4 to 6 of the header are the recorder's and are not judged.
bool isOwnHeader(const FirmInfo::Item& header) {
    return header[0] == 0x00 && header[1] == 0x01 && header[2] == modelCode().major && header[3] == modelCode().minor &&
           hasGoodCheckByte(header);
}

// The last digitCount decimal digits of number in packed decimal, high digit
// first. The sign is dropped: a card value is never negative.
void storeDigits(std::uint8_t* value, int number, int digitCount) {
    std::uint32_t rest = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(number)) % 10000);
    std::uint8_t digits[4] = {};
    for (int i = 0; i < digitCount; ++i) {
        digits[i] = static_cast<std::uint8_t>(rest % 10);
        rest /= 10;
    }
    for (int byte = 0; byte < digitCount / 2; ++byte) {
        const int high = digitCount - 1 - 2 * byte;
        value[byte] = static_cast<std::uint8_t>(digits[high] << 4 | digits[high - 1]);
    }
}

[[noreturn]] void failReading() {
    throw Exception(loadText(textCannotRead));
}

}  // namespace

void FirmInfo::readSettingsFile(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) throw FirmInfoException(loadText(textCannotRead));
    SettingsFileSource source(file);
    readSettings(source);
}

void FirmInfo::readFirmwareInfoFile(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) throw FirmInfoException(loadText(textCannotRead));
    SettingsFileSource source(file);
    readFirmwareInfo(source);
}

void FirmInfo::readSettings(SettingsFileSource& source) {
    readItems(source, false);
}

void FirmInfo::readFirmwareInfo(SettingsFileSource& source) {
    readItems(source, true);
}

// Items with a wrong check byte are skipped, as are those beyond the table's
// size; reading stops once the table is full since nothing more could be kept.
void FirmInfo::readItems(SettingsFileSource& source, bool firmwareInfo) {
    if (firmwareInfo) {
        std::uint8_t prefix[firmwareInfoPrefixSize];
        if (source.read(prefix, sizeof prefix) != sizeof prefix) failReading();
    }
    Item header;
    if (source.read(header.data(), header.size()) != header.size() || !isOwnHeader(header)) failReading();

    FirmInfo read;
    std::array<Item, itemsPerRead> batch;
    while (read.count_ < maxItems) {
        const std::size_t got = source.read(batch.data(), sizeof batch);
        for (std::size_t i = 0; i < got / itemSize && read.count_ < maxItems; ++i) {
            if (hasGoodCheckByte(batch[i])) read.appendItem(batch[i]);
        }
        if (got < sizeof batch) break;
    }
    items_ = read.items_;
    count_ = read.count_;
}

void FirmInfo::writeSettingsFile(const std::wstring& path, bool keepOthers, const CardFileWriter& writer) {
    if (keepOthers) {
        FirmInfo existing;
        try {
            existing.readSettingsFile(path);
            mergeItemsOf(existing);
        } catch (const Exception&) {
            // An unreadable or foreign file has nothing to keep.
        }
    }
    const std::vector<std::uint8_t> bytes = settingsFileBytes();
    platform::makeNormal(path);
    File file;
    if (!file.open(path, File::Mode::Create)) throw FirmInfoException(loadText(textCannotWrite));
    if (!writer.write(file, bytes.data(), bytes.size())) {
        file.close();
        deleteFile(path);
        throw Exception(loadText(textCannotWrite));
    }
    file.close();
    platform::makeHiddenReadOnly(path);
}

void FirmInfo::verifySettingsFile(const std::wstring& path) const {
    FirmInfo written;
    written.readSettingsFile(path);
    bool same = written.count_ == count_;
    for (std::size_t i = 0; same && i < count_; ++i) same = written.items_[i] == items_[i];
    if (!same) throw FirmInfoException(loadText(textVerifyFailed));
}

std::vector<std::uint8_t> FirmInfo::settingsFileBytes() {
    const Item header = headerItem();
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    for (std::size_t i = 0; i < count_; ++i) {
        Item& item = items_[i];
        item[checkOffset] = checkByte(item);
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    return bytes;
}

// The existing file's own items follow the table's, in file order, as far as
// the table has room.
void FirmInfo::mergeItemsOf(const FirmInfo& existing) {
    for (std::size_t i = 0; i < existing.count_ && count_ < maxItems; ++i) {
        const Item& item = existing.items_[i];
        if (!find(itemId(item))) appendItem(item);
    }
}

void FirmInfo::appendItem(const Item& item) {
    items_[count_++] = item;
}

FirmInfo::Item* FirmInfo::find(std::uint16_t id) {
    for (std::size_t i = 0; i < count_; ++i) {
        if (itemId(items_[i]) == id) return &items_[i];
    }
    return nullptr;
}

const FirmInfo::Item* FirmInfo::find(std::uint16_t id) const {
    return const_cast<FirmInfo*>(this)->find(id);
}

std::uint8_t* FirmInfo::findItem(std::uint16_t id) {
    Item* item = find(id);
    if (!item) throw FirmInfoException(L"");
    return item->data() + valueOffset;
}

const std::uint8_t* FirmInfo::findItem(std::uint16_t id) const {
    return const_cast<FirmInfo*>(this)->findItem(id);
}

std::uint8_t* FirmInfo::findOrAddItem(std::uint16_t id) {
    if (Item* item = find(id)) return item->data() + valueOffset;
    if (count_ >= maxItems) throw FirmInfoException(L"");
    Item added;
    added.fill(0xFF);
    added[0] = static_cast<std::uint8_t>(id >> 8);
    added[1] = static_cast<std::uint8_t>(id & 0xFF);
    appendItem(added);
    return items_[count_ - 1].data() + valueOffset;
}

void FirmInfo::setRecorderClock(std::int64_t time) {
    CalendarTime local;
    if (!platform::timeValueToLocal(time, local)) throw FirmInfoException(loadText(textTimeOutOfRange));
    std::uint8_t* value = findOrAddItem(itemClock);
    storeDigits(value + 0, (local.year - 1900) % 100, 2);
    storeDigits(value + 1, local.month, 2);
    storeDigits(value + 2, local.day, 2);
    storeDigits(value + 3, local.hour, 2);
    storeDigits(value + 4, local.minute, 2);
}

void FirmInfo::setShockSensitivity(int value) {
    storeDigits(findOrAddItem(itemShockSensitivity), value, 4);
    storeDigits(findOrAddItem(itemShockCompanion1), 10, 2);
    storeDigits(findOrAddItem(itemShockCompanion2), 20, 2);
    storeDigits(findOrAddItem(itemShockCompanion3), 4, 2);
}

void FirmInfo::setEcoSensitivity(int value) {
    storeDigits(findOrAddItem(itemEcoSensitivity), value, 4);
    storeDigits(findOrAddItem(itemEcoCompanion), 5, 2);
}

void FirmInfo::setStandardDetectionValues() {
    storeDigits(findOrAddItem(itemShockCompanion1), 100, 4);
    storeDigits(findOrAddItem(itemShockCompanion2), 200, 4);
    storeDigits(findOrAddItem(itemShockCompanion3), 40, 4);
}

void FirmInfo::setOperationVolume(int index) {
    storeDigits(findOrAddItem(itemOperationVolume), index, 2);
}

void FirmInfo::setEventVolume(int index) {
    storeDigits(findOrAddItem(itemEventVolume), index, 2);
}

void FirmInfo::setGuidanceVolume(int index) {
    storeDigits(findOrAddItem(itemGuidanceVolume), index, 2);
}

void FirmInfo::setOverwrite(int value) {
    storeDigits(findOrAddItem(itemOverwrite), value, 2);
}

void deleteFile(const std::wstring& path) {
    platform::makeNormal(path);
    platform::deleteFile(path);
}
