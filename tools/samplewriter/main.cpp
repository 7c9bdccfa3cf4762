// orvelle-sample-card: writes a sample SD card, or one archive, from synthetic
// content, deterministically.
//
//   orvelle-sample-card OUTDIR
//   orvelle-sample-card --event FILE [--frames N] [--width W] [--height H] [--quality Q]
//   orvelle-sample-card --chapter FILE [--frames N] [--width W] [--height H] [--quality Q]
//   orvelle-sample-card --oneshot FILE [--width W] [--height H] [--quality Q]
//   orvelle-sample-card --jpeg FILE [--width W] [--height H] [--quality Q]
// --jpeg writes one picture as a plain JPEG file in the recorder's layout (the
// stream a reader decodes once it has put the 16 fixed bytes back), for decoder
// benchmarks and fuzz corpora.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "platform/Utf8.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/RoadScene.h"
#include "tools/samplewriter/SampleArchive.h"
#include "tools/samplewriter/SampleCard.h"

namespace {

struct Options {
    std::string mode;  // "card", "--event", "--chapter", "--oneshot" or "--jpeg"
    std::wstring target;
    int frames = -1;
    int width = 640;
    int height = 480;
    int quality = 60;
};

int usage() {
    std::fputs(
        "usage: orvelle-sample-card OUTDIR\n"
        "       orvelle-sample-card --event FILE [--frames N] [--width W] [--height H] [--quality Q]\n"
        "       orvelle-sample-card --chapter FILE [--frames N] [--width W] [--height H] [--quality Q]\n"
        "       orvelle-sample-card --oneshot FILE [--width W] [--height H] [--quality Q]\n"
        "       orvelle-sample-card --jpeg FILE [--width W] [--height H] [--quality Q]\n",
        stderr);
    return 2;
}

bool parseNumber(const char* text, int low, int high, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > high) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseArguments(int argc, char** argv, Options& options) {
    if (argc < 2) return false;
    int next = 1;
    const std::string first = argv[next];
    if (first == "--event" || first == "--chapter" || first == "--oneshot" || first == "--jpeg") {
        options.mode = first;
        ++next;
    } else if (first.rfind("--", 0) == 0) {
        return false;  // an unknown option, not a folder name
    } else {
        options.mode = "card";
    }
    if (next >= argc) return false;
    options.target = fromUtf8(argv[next++]);
    if (options.mode == "card") return next == argc;
    for (; next + 1 < argc; next += 2) {
        const std::string name = argv[next];
        const char* value = argv[next + 1];
        const bool ok = (name == "--frames" && parseNumber(value, 0, 900, options.frames)) ||
                        (name == "--width" && parseNumber(value, 1, 4096, options.width)) ||
                        (name == "--height" && parseNumber(value, 1, 4096, options.height)) ||
                        (name == "--quality" && parseNumber(value, 1, 100, options.quality));
        if (!ok) return false;
    }
    return next == argc;
}

samplewriter::Bytes buildSingle(const Options& options) {
    if (options.mode == "--jpeg") {
        samplewriter::SceneMoment moment;
        moment.seconds = 12.0;
        moment.frameText = "#0360";
        moment.timeText = "2009/06/15 14:30:12";
        const samplewriter::RgbFrame frame = samplewriter::RoadScene(options.width, options.height).render(moment);
        return samplewriter::encodeRecorderJpeg(frame, options.quality);
    }
    if (options.mode == "--oneshot") {
        samplewriter::OneShotSetup setup;
        setup.width = options.width;
        setup.height = options.height;
        setup.jpegQuality = options.quality;
        return samplewriter::buildOneShotFile(setup);
    }
    samplewriter::ArchiveSetup setup;
    if (options.mode == "--chapter") {
        setup.kind = samplewriter::ArchiveKind::Chapter;
        setup.kindByte = samplewriter::kKindVideo;
        setup.fps = 10;
        setup.frameCount = 600;
    }
    if (options.frames >= 0) setup.frameCount = options.frames;
    setup.width = options.width;
    setup.height = options.height;
    setup.jpegQuality = options.quality;
    return samplewriter::buildArchive(setup);
}

int run(const Options& options) {
    if (options.mode == "card") {
        if (samplewriter::writeSampleCard(options.target, samplewriter::SampleCardOptions{})) return 0;
        std::fprintf(stderr, "orvelle-sample-card: cannot write the card into %s\n", toUtf8(options.target).c_str());
        return 1;
    }
    if (samplewriter::writeBytes(options.target, buildSingle(options))) return 0;
    std::fprintf(stderr, "orvelle-sample-card: cannot write %s\n", toUtf8(options.target).c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) return usage();
    try {
        return run(options);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "orvelle-sample-card: %s\n", failure.what());
        return 1;
    }
}
