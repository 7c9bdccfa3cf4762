#pragma once
// The files of one export while they are written: each under a temporary name
// in the output folder, renamed to its own name only when all are complete, so
// that a failed or cancelled export leaves nothing behind (not even the folder,
// when the export made it).
#include <cstddef>
#include <string>
#include <vector>

class File;

class OutputFiles {
public:
    // Creates folder when it is missing. Throws ExportException (5540) when
    // it cannot be made.
    explicit OutputFiles(std::wstring folder);
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // Opens a new temporary file for writing and returns its number; the final
    // name is given later. Throws ExportException (5540).
    int create(File& file);
    // A whole file at once. Throws ExportException (5540).
    int write(const std::string& bytes, const std::wstring& name);
    int write(const void* bytes, std::size_t size, const std::wstring& name);
    void setName(int id, const std::wstring& name);
    const std::wstring& temporaryPath(int id) const { return files_[id].temporary; }
    const std::wstring& name(int id) const { return files_[id].name; }
    int count() const { return static_cast<int>(files_.size()); }
    const std::wstring& folder() const { return folder_; }

    // Throws ExportException 5541 when a name is already taken in the folder.
    void checkNamesFree() const;
    // Gives every file its name. On failure the files renamed so far are
    // removed again and ExportException (5541 or 5540) is thrown.
    void commit();

    std::wstring finalPath(int id) const;

private:
    struct Entry {
        std::wstring temporary;
        std::wstring name;
    };
    [[noreturn]] void cannotWrite() const;
    void discard();

    std::wstring folder_;
    bool madeFolder_ = false;
    bool committed_ = false;
    std::vector<Entry> files_;
};
