#pragma once
// A failed export: the user's text and the path it concerns (the source, or
// the output folder), which the command-line tool puts before the text.
#include "app/Exception.h"

class ExportException : public Exception {
public:
    ExportException(std::wstring path, std::wstring message) : Exception(std::move(message)), path_(std::move(path)) {}
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

// Thrown out of an export whose progress listener asked it to stop.
class ExportCancelled {};
