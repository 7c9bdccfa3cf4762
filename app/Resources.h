#pragma once
// The executable's own resources (Windows only).
#include <cstddef>

struct ResourceBytes {
    const unsigned char* data = nullptr;  // valid for the life of the process
    std::size_t size = 0;
};

// The resource id of type "type" (e.g. L"IMAGE", L"BINARY"). Throws the
// WindowException of the last error when it is absent, empty or cannot be
// loaded; data is null only when the final locking step gives no pointer.
ResourceBytes loadResource(const wchar_t* type, int id);
