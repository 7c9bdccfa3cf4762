// orvelle export [--from SECONDS] [--to SECONDS] SOURCE OUTDIR: a recording as
// files anyone can open (see export/EvidenceExport.h); prints one JSON object
// naming what was written.
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "app/ModelCode.h"
#include "cli/Command.h"
#include "cli/JsonWriter.h"
#include "export/EvidenceExport.h"
#include "export/ExportException.h"
#include "platform/Utf8.h"
#include "recording/SoundWarning.h"

namespace {

struct ExportArguments {
    ExportRange range;
    std::wstring source;
    std::wstring folder;
};

void printWarning(const std::wstring& text) {
    std::cerr << "orvelle: " << toUtf8(text) << std::endl;
}

bool parseSeconds(const std::wstring& text, double& seconds) {
    const std::string narrow = toUtf8(text);
    char* end = nullptr;
    seconds = std::strtod(narrow.c_str(), &end);
    return !narrow.empty() && end && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0;
}

bool parseArguments(const std::vector<std::wstring>& arguments, ExportArguments& parsed) {
    int paths = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"--from") {
            if (!hasValue || !parseSeconds(arguments[++i], parsed.range.from)) return false;
            parsed.range.hasFrom = true;
        } else if (argument == L"--to") {
            if (!hasValue || !parseSeconds(arguments[++i], parsed.range.to)) return false;
            parsed.range.hasTo = true;
        } else if (argument.rfind(L"--", 0) == 0 || paths == 2) {
            return false;
        } else {
            (paths++ == 0 ? parsed.source : parsed.folder) = argument;
        }
    }
    if (paths != 2) return false;
    return !(parsed.range.hasFrom && parsed.range.hasTo && parsed.range.to <= parsed.range.from);
}

void writeResult(JsonWriter& json, const ExportResult& result) {
    json.beginObject();
    json.key("kind");
    json.value(recordingKindName(result.kind));
    json.key("folder");
    json.value(result.folder);
    json.key("files");
    json.beginArray();
    for (const std::wstring& name : result.files) json.value(name);
    json.endArray();
    json.key("frames");
    json.value(result.frames);
    json.key("framesPerSecond");
    json.value(result.framesPerSecond);
    json.key("soundBytes");
    json.value(result.soundBytes);
    json.key("substitutedFrames");
    json.value(result.substitutedFrames);
    json.endObject();
}

int runExport(const std::vector<std::wstring>& arguments) {
    ExportArguments parsed;
    if (!parseArguments(arguments, parsed)) return usageError("export");
    loadModelCode();
    setSoundWarningHandler(printWarning);
    ExportResult result;
    try {
        result = EvidenceExport::run(parsed.source, parsed.folder, parsed.range, nullptr);
    } catch (const ExportException& failure) {
        return fail(failure.path(), failure.message());
    }
    JsonWriter json(std::cout);
    writeResult(json, result);
    std::cout << std::endl;
    return 0;
}

const bool registered =
    registerCommand(Command{"export", "export [--from SECONDS] [--to SECONDS] SOURCE OUTDIR", runExport});

}  // namespace
