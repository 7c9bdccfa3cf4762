// orvelle settings [--firminfo] FILE: the items of a recorder settings file
// (TAVR.INI) or firmware information file (FIRMINFO.DAT) in table order.
#include <cstdio>
#include <iostream>

#include "app/Exception.h"
#include "app/ModelCode.h"
#include "cli/Command.h"
#include "maintenance/FirmInfo.h"
#include "platform/FileSystem.h"

namespace {

bool isFirmwareInfoName(const std::wstring& path) {
    std::wstring name = platform::fileName(path);
    for (wchar_t& c : name) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return name == L"FIRMINFO.DAT";
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

// Written directly rather than through JsonWriter: identifiers and values are
// plain hexadecimal and need no escaping.
void printItems(const FirmInfo& table) {
    std::cout << "{\"items\": [";
    for (std::size_t i = 0; i < table.itemCount(); ++i) {
        const FirmInfo::Item& item = table.item(i);
        if (i > 0) std::cout << ", ";
        std::cout << "{\"id\": \"" << hexBytes(item.data(), 2) << "\", \"value\": \""
                  << hexBytes(item.data() + 2, FirmInfo::valueSize) << "\"}";
    }
    std::cout << "]}" << std::endl;
}

int runSettings(const std::vector<std::wstring>& arguments) {
    bool firmwareInfo = false;
    std::wstring path;
    for (const std::wstring& argument : arguments) {
        if (argument == L"--firminfo") {
            firmwareInfo = true;
        } else if (path.empty() && !argument.empty() && argument[0] != L'-') {
            path = argument;
        } else {
            return usageError("settings");
        }
    }
    if (path.empty()) return usageError("settings");
    loadModelCode();  // the header must carry the viewer's own model code
    FirmInfo table;
    try {
        if (firmwareInfo || isFirmwareInfoName(path)) {
            table.readFirmwareInfoFile(path);
        } else {
            table.readSettingsFile(path);
        }
    } catch (const Exception& failure) {
        return fail(path, failure.message());
    }
    printItems(table);
    return 0;
}

const bool registered = registerCommand(Command{"settings", "settings [--firminfo] FILE", runSettings});

}  // namespace
