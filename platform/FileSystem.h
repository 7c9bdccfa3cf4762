#pragma once
// Folder listing, attributes, deletion and temporary files: the few file-system
// services the portable core needs, with one Win32 and one POSIX implementation.
// Nothing here throws; failures are reported by the return value.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FolderEntry {
    std::wstring name;  // the entry's own name, without the folder
    bool isFolder = false;
};

// Entries of a folder in the order the system lists them, without "." and "..".
// False when the folder cannot be listed.
bool listFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);

// The folder separator of the platform ('\\' on Windows, '/' elsewhere).
wchar_t pathSeparator();
// folder + separator + name, with no doubled separator.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);
// Last component of a path (after the last separator of either kind).
std::wstring fileName(const std::wstring& path);
// Everything before the last separator; empty when there is none.
std::wstring parentFolder(const std::wstring& path);

bool isFolder(const std::wstring& path);
bool isFile(const std::wstring& path);
bool createFolder(const std::wstring& path);  // true when it exists afterwards
bool deleteFile(const std::wstring& path);
bool deleteFolder(const std::wstring& path);  // an empty folder only
// Gives a file a new name in the same folder; false, with nothing changed,
// when the new name is taken or the system refuses.
bool renameFile(const std::wstring& from, const std::wstring& to);

// Card files are rewritten only after their hidden and read-only attributes are
// cleared, and are left hidden and read-only afterwards. Where the platform has
// no such attributes these succeed without doing anything.
bool makeNormal(const std::wstring& path);
bool makeHiddenReadOnly(const std::wstring& path);
bool isHidden(const std::wstring& path);
bool isReadOnly(const std::wstring& path);

// The system's temporary folder, ending without a separator.
std::wstring temporaryFolder();
// Creates a new empty file with a unique name "<prefix>XXXX.tmp" in folder and
// returns its path; empty on failure.
std::wstring createTemporaryFile(const std::wstring& folder, const std::wstring& prefix);

}  // namespace platform
