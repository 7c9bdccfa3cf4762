#pragma once
// Exports a recording for people who do not have this viewer: the pictures and
// sound as a standard video (or one-shot pictures as JPEG files), subtitles
// with the recorder's times, the G-sensor table and a manifest of checksums.
// Reads the card and writes only into the output folder, all files or none.
#include <cstdint>
#include <string>

#include "export/AviWriter.h"
#include "export/ExportPlan.h"
#include "export/ExportResult.h"

class ExportProgress;

class EvidenceExport {
public:
    // source: an event folder or archive, a video-memory folder or chapter, a
    // one-shot folder or picture. Throws ExportException (with the path it
    // concerns) or ExportCancelled; either way nothing is left in folder.
    static ExportResult run(const std::wstring& source, const std::wstring& folder, const ExportRange& range,
                            ExportProgress* progress, std::int64_t riffLimit = AviWriter::kRiffLimit);
};
