#pragma once
// Which files of a card folder belong to a display mode, and the directory
// search the folder scans share.
#include <string>
#include <vector>

// A folder shows at most this many one-shot pictures and chapters.
constexpr int kMaxOneShotPictures = 600;
constexpr int kMaxChapters = 60;
// Every chapter but the last is taken to hold one minute at 10 frames per second.
constexpr int kFramesPerChapter = 600;

// "Video.dvt" for mode 0 and any unknown mode, "*.dpc" for 1, "Video????.dmv" for 2.
std::wstring patternFor(int mode);

// Whether a name returned by the directory search for pattern belongs to its
// kind: the last four characters agree ignoring case, and a chapter name is
// exactly "VIDEO" + four digits + ".DMV" in any case.
bool nameMatches(const std::wstring& pattern, const std::wstring& name);

// Files of folder that match pattern and satisfy the name rule, in the order the
// system lists them. Sub-folders are left out: a folder is never a recording.
// False when the folder cannot be searched.
bool findRecordingFiles(const std::wstring& folder, const std::wstring& pattern, std::vector<std::wstring>& names);

// How many files of folder belong to pattern's kind; 0 when it cannot be searched.
int countMatching(const std::wstring& folder, const std::wstring& pattern);
