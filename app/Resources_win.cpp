#include <windows.h>

#include "app/Resources.h"
#include "app/WindowError.h"

ResourceBytes loadResource(const wchar_t* type, int id) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), type);
    if (!found) throw makeWindowException(GetLastError());
    const DWORD size = SizeofResource(self, found);
    if (size == 0) throw makeWindowException(GetLastError());
    HGLOBAL loaded = LoadResource(self, found);
    if (!loaded) throw makeWindowException(GetLastError());
    ResourceBytes bytes;
    bytes.data = static_cast<const unsigned char*>(LockResource(loaded));
    bytes.size = bytes.data ? size : 0;
    return bytes;
}
