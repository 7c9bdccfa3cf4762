#pragma once
// The directory search's wildcards, applied to a listed name: '*' stands for any
// run of characters, '?' for exactly one. Card file systems ignore case, so
// letters a-z match either case whatever the host file system does.
#include <string>

bool wildcardMatches(const std::wstring& pattern, const std::wstring& name);
