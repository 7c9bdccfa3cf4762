#include "ui/main/NeighbourFolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "app/Exception.h"
#include "app/Texts.h"

namespace {

constexpr SHCONTF listedItems = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;  // 0x20 | 0x80

// Releases a COM object on every path.
template <typename T>
class Released {
public:
    ~Released() {
        if (object) object->Release();
    }
    T* object = nullptr;
};

// Item identifiers from the shell, freed with the shell's allocator.
class ItemList {
public:
    explicit ItemList(IMalloc* allocator) : allocator_(allocator) {}
    ~ItemList() {
        for (LPITEMIDLIST item : items) allocator_->Free(item);
    }
    std::vector<LPITEMIDLIST> items;

private:
    IMalloc* allocator_;
};


std::wstring lastComponent(const std::wstring& path) {
    std::wstring trimmed = path;
    while (trimmed.size() > 3 && (trimmed.back() == L'\\' || trimmed.back() == L'/')) trimmed.pop_back();
    const std::size_t slash = trimmed.find_last_of(L"\\/");
    return slash == std::wstring::npos ? trimmed : trimmed.substr(slash + 1);
}

std::wstring parentOf(const std::wstring& path) {
    std::wstring trimmed = path;
    while (trimmed.size() > 3 && (trimmed.back() == L'\\' || trimmed.back() == L'/')) trimmed.pop_back();
    const std::size_t slash = trimmed.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    std::wstring parent = trimmed.substr(0, slash);
    if (parent.size() == 2 && parent[1] == L':') parent += L'\\';  // a drive's root keeps its backslash
    return parent;
}

LPITEMIDLIST parseName(IShellFolder* desktop, const std::wstring& path) {
    std::wstring name = path;
    LPITEMIDLIST item = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &item, nullptr)) || !item) {
        throw DataMissingException();  // the folder (or its parent) has gone
    }
    return item;
}

std::vector<std::wstring> folderNames(IShellFolder* parent, IMalloc* allocator) {
    Released<IEnumIDList> items;
    if (parent->EnumObjects(nullptr, listedItems, &items.object) != S_OK || !items.object) {
        throw IOException(loadText(5043));
    }
    ItemList list(allocator);
    LPITEMIDLIST item = nullptr;
    while (items.object->Next(1, &item, nullptr) == S_OK) list.items.push_back(item);

    std::vector<std::wstring> names;
    for (LPITEMIDLIST entry : list.items) {
        WIN32_FIND_DATAW data{};
        if (FAILED(SHGetDataFromIDListW(parent, entry, SHGDFIL_FINDDATA, &data, sizeof(data)))) {
            throw IOException(loadText(5042));
        }
        names.emplace_back(data.cFileName);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    return names;
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The name of path's last item as the file system spells it; empty when it
// cannot be found.
std::wstring spellingOfItem(const std::wstring& path) {
    if (path.find_first_of(L"*?") != std::wstring::npos) return {};
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW(path.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return {};
    FindClose(search);
    return data.cFileName;
}

// "C:\", "\\server\share\" or nothing: the part of path that names no folder.
std::size_t rootLength(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && isSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t end = path.find_first_of(L"\\/", 2);
        if (end != std::wstring::npos) end = path.find_first_of(L"\\/", end + 1);
        return end == std::wstring::npos ? path.size() : end + 1;
    }
    return 0;
}

}  // namespace

std::wstring spellingOnDisk(const std::wstring& path) {
    const std::size_t root = rootLength(path);
    std::wstring result = path.substr(0, root);
    if (root >= 2 && result[1] == L':') result[0] = static_cast<wchar_t>(towupper(result[0]));
    std::size_t start = root;
    while (start < path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring component = path.substr(start, end - start);
        std::wstring spelt;
        if (!component.empty() && component != L"." && component != L"..") spelt = spellingOfItem(result + component);
        result += lstrcmpiW(spelt.c_str(), component.c_str()) == 0 ? spelt : component;
        if (end < path.size()) result += path[end];
        start = end + 1;
    }
    return result;
}

std::wstring findNeighbourFolder(const std::wstring& folder, int direction) {
    const std::wstring name = lastComponent(folder);
    const std::wstring parentPath = parentOf(folder);

    Released<IMalloc> allocator;
    if (FAILED(SHGetMalloc(&allocator.object))) throw Exception(loadText(5045));
    Released<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop.object))) throw Exception(loadText(5046));

    ItemList identifiers(allocator.object);
    identifiers.items.push_back(parseName(desktop.object, folder));
    if (parentPath.empty()) throw DataMissingException();
    LPITEMIDLIST parentItem = parseName(desktop.object, parentPath);
    identifiers.items.push_back(parentItem);

    Released<IShellFolder> parent;
    if (FAILED(desktop.object->BindToObject(parentItem, nullptr, IID_IShellFolder,
                                            reinterpret_cast<void**>(&parent.object)))) {
        throw Exception(loadText(5047));
    }
    const std::vector<std::wstring> names = folderNames(parent.object, allocator.object);
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) throw Exception(loadText(5048));

    const std::size_t index = static_cast<std::size_t>(found - names.begin());
    if (direction == 1) {
        if (index == 0) throw Exception(loadText(5066));
        return parentPath + (parentPath.back() == L'\\' ? L"" : L"\\") + names[index - 1];
    }
    if (index + 1 >= names.size()) throw Exception(loadText(5065));
    return parentPath + (parentPath.back() == L'\\' ? L"" : L"\\") + names[index + 1];
}
