#include "maintenance/CardRestoreCabinet.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "app/Exception.h"
#include "app/Resources.h"
#include "app/Texts.h"
#include "app/WindowError.h"
#include "maintenance/CabinetRestore.h"
#include "maintenance/FirmInfo.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

constexpr int cabinetResourceId = 309;
constexpr const wchar_t* cabinetResourceType = L"BINARY";
constexpr const wchar_t* cabinetCopyFolder = L"C:\\Temp";
constexpr const wchar_t* cabinetCopyPrefix = L"cab";
constexpr int noCabinetTextId = 5006;
constexpr int noTemporaryFileTextId = 5026;
// A cabinet's fixed header: "MSCF", and 36 bytes in all before anything optional.
constexpr unsigned char cabinetSignature[] = {'M', 'S', 'C', 'F'};
constexpr std::size_t cabinetHeaderSize = 36;

bool startsAsCabinet(const ResourceBytes& bytes) {
    return bytes.data && bytes.size >= cabinetHeaderSize &&
           std::equal(std::begin(cabinetSignature), std::end(cabinetSignature), bytes.data);
}

void writeCabinet(const std::wstring& path, const ResourceBytes& cabinet) {
    File file;
    if (!file.open(path, File::Mode::Create)) throw makeWindowException(GetLastError());
    // A short copy would only surface later as a corrupt cabinet.
    if (!file.write(cabinet.data, cabinet.size)) throw makeWindowException(GetLastError());
}

}  // namespace

void extractProgramFiles(const std::wstring& cardPath) {
    const ResourceBytes cabinet = loadResource(cabinetResourceType, cabinetResourceId);
    if (!cabinet.data) throw Exception(loadText(noCabinetTextId));
    // The extractor reads files, not memory: it gets a copy on the local disk.
    const std::wstring copy = makeTempFileName();
    try {
        writeCabinet(copy, cabinet);
        CabinetRestore(cardPath).extract(copy);
    } catch (const Exception&) {
        deleteFile(copy);
        throw;
    }
    deleteFile(copy);
}

bool hasProgramFiles() {
    try {
        return startsAsCabinet(loadResource(cabinetResourceType, cabinetResourceId));
    } catch (const Exception&) {
        return false;
    }
}

std::wstring makeTempFileName() {
    platform::createFolder(cabinetCopyFolder);
    const std::wstring path = platform::createTemporaryFile(cabinetCopyFolder, cabinetCopyPrefix);
    if (path.empty()) throw IOException(loadText(noTemporaryFileTextId));
    return path;
}
