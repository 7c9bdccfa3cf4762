#pragma once
// Which reader a recorder file needs, told by its extension as the recorder
// names them: ".dvt" event, ".dmv" video-memory chapter, ".dpc" one-shot.
#include <string>

class VideoArchive;

enum class ArchiveFormat { Event, Chapter, OneShot, Unknown };

// Case-insensitive test of the last four characters.
ArchiveFormat archiveFormatOf(const std::wstring& path);
// "event", "chapter", "oneshot" or "unknown".
const char* archiveFormatName(ArchiveFormat format);
// Reads path into archive with the reader of format. Throws what the reader
// throws; VideoArchiveException (5510) for ArchiveFormat::Unknown.
void readArchiveFile(VideoArchive& archive, const std::wstring& path, ArchiveFormat format);
