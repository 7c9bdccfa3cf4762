#include "restore/RestoreDriver.h"

#include <cwchar>

#include "maintenance/CardRestore.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/FileTimes.h"

std::vector<std::wstring> RestoreRun::texts() const {
    std::vector<std::wstring> result;
    for (const ShownBox& box : boxes) result.push_back(box.text);
    return result;
}

RestoreRun runRestore(const std::wstring& card, const std::vector<int>& answers, bool chooseCard) {
    RestoreRun run;
    wchar_t cardPath[MAX_PATH] = L"";
    const CardChooser chooser = [&](const std::wstring& prompt, HWND, wchar_t* path) {
        run.chooserAsked = true;
        run.prompt = prompt;
        if (!chooseCard) return false;
        wcsncpy(path, card.c_str(), MAX_PATH - 1);
        return true;
    };
    MessageBoxAnswerer answerer(answers);
    restoreCard(nullptr, cardPath, {}, chooser);
    run.boxes = answerer.boxes();
    return run;
}

std::vector<std::wstring> textsOf(const std::vector<int>& ids) {
    std::vector<std::wstring> result;
    for (int id : ids) result.push_back(loadText(id));
    return result;
}

Bytes readBytes(const std::wstring& path) {
    File file;
    if (!file.open(path, File::Mode::Read)) return {};
    Bytes bytes(static_cast<std::size_t>(file.size()));
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

bool writeBytes(const std::wstring& path, const Bytes& bytes) {
    File file;
    return file.open(path, File::Mode::Create) && file.write(bytes.data(), bytes.size());
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::wstring windowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
}

std::vector<std::wstring> temporaryCabinets() {
    std::vector<platform::FolderEntry> entries;
    platform::listFolder(L"C:\\Temp", entries);
    std::vector<std::wstring> names;
    for (const platform::FolderEntry& entry : entries) {
        if (_wcsnicmp(entry.name.c_str(), L"cab", 3) == 0) names.push_back(entry.name);
    }
    return names;
}

CalendarTime creationTime(const std::wstring& path) {
    CalendarTime time;
    platform::fileCreationStamp(path, time);
    return time;
}

CalendarTime writeTime(const std::wstring& path) {
    CalendarTime time;
    platform::fileWriteStamp(path, time);
    return time;
}
