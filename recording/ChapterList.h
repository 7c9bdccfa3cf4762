#pragma once
// The chapters of a video-memory folder: their full paths in playing order and
// the total frame count of the recording they make.
#include <array>
#include <string>

#include "recording/RecordingFolder.h"

// Full paths of the chapters in playing order; entries without a chapter are empty.
using ChapterTable = std::array<std::wstring, kMaxChapters>;

// Fills table with the first 60 chapters of folder in playing order, sets count
// to how many were listed and tooMany when more existed, and returns the total
// frame count: 600 for every chapter but the last, which is counted from its file.
// Throws VideoArchiveException 5510 when the folder cannot be searched, holds no
// chapter, or the last chapter cannot be read.
int listChapters(const std::wstring& folder, ChapterTable& table, int& count, bool& tooMany);

// The playing order of chapter paths, as the Windows locale-aware comparison
// orders these names: letters are compared without regard to case first, and
// case only breaks a tie, lower case first (video0002.DMV after Video0001.dmv).
bool chapterPathBefore(const std::wstring& a, const std::wstring& b);
