// How the archive reader compares with the least that any reader must do, on a
// 900-frame 640 x 480 event archive from the sample writer:
//   OpenArchive    vs ReadWholeFile: opening (header walk, sound restoration)
//                  against reading every byte of the file once;
//   DecodeFrame    vs PlainLibjpeg:  a frame from the file to an Image against
//                  libjpeg decoding the same restored JPEG bytes, already in
//                  memory, to plain RGB; DecodeJpegInMemory between them
//                  separates the reader's share from the decoder's.
// The archive is written once into the temporary folder and removed at exit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/ModelCode.h"
#include "media/JpegDecoder.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "recording/VideoArchive.h"
#include "tools/bench/PlainJpegDecode.h"
#include "tools/samplewriter/RecorderJpeg.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

namespace sw = samplewriter;

constexpr std::size_t kReadPiece = 1 << 20;

class SampleEvent {
public:
    SampleEvent() {
        modelCode() = ModelCode{setup_.modelMajor, setup_.modelMinor};
        marker_ = platform::createTemporaryFile(platform::temporaryFolder(), L"obb");
        path_ = marker_ + L".dvt";
        sw::writeBytes(path_, sw::buildArchive(setup_, &layout_));
        for (const sw::BlockPlacement& block : layout_.blocks) {
            if (block.frame >= 0) jpegs_.push_back(restoredJpeg(block.frame));
        }
    }
    ~SampleEvent() {
        platform::deleteFile(path_);
        platform::deleteFile(marker_);
    }

    const std::wstring& path() const { return path_; }
    const std::vector<sw::Bytes>& jpegs() const { return jpegs_; }

private:
    sw::Bytes restoredJpeg(int frame) const {
        sw::Bytes jpeg = sw::framePicturePayload(setup_, frame);
        std::copy(sw::kRecorderJpegStart.begin(), sw::kRecorderJpegStart.end(), jpeg.begin());
        return jpeg;
    }

    sw::ArchiveSetup setup_;  // 900 frames, 640 x 480, with sound
    sw::ArchiveLayout layout_;
    std::wstring marker_;
    std::wstring path_;
    std::vector<sw::Bytes> jpegs_;
};

const SampleEvent& sample() {
    static const SampleEvent event;
    return event;
}

void OpenArchive(benchmark::State& state) {
    VideoArchive archive;
    for (auto _ : state) {
        archive.readEventArchive(sample().path());
        benchmark::DoNotOptimize(archive.frameCount());
    }
    state.counters["frames"] = archive.frameCount();
    state.counters["soundBytes"] = static_cast<double>(archive.soundDataBytes());
}

void ReadWholeFile(benchmark::State& state) {
    std::vector<unsigned char> piece(kReadPiece);
    std::int64_t total = 0;
    for (auto _ : state) {
        File file;
        file.open(sample().path(), File::Mode::Read);
        total = 0;
        while (const std::size_t got = file.read(piece.data(), piece.size())) total += static_cast<std::int64_t>(got);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * total);
}

void DecodeFrame(benchmark::State& state) {
    VideoArchive archive;
    archive.readEventArchive(sample().path());
    int frame = 0;
    for (auto _ : state) {
        std::unique_ptr<Image> image = archive.decodeFrame(frame);
        if (!image) state.SkipWithError("frame did not decode");
        benchmark::DoNotOptimize(image.get());
        frame = (frame + 1) % archive.frameCount();
    }
    state.SetItemsProcessed(state.iterations());
}

// The program's decoder on the same bytes in memory: what DecodeFrame adds to
// it is the archive reader's own cost (reading the payload, checking the tag).
void DecodeJpegInMemory(benchmark::State& state) {
    const std::vector<sw::Bytes>& jpegs = sample().jpegs();
    std::size_t frame = 0;
    for (auto _ : state) {
        std::unique_ptr<Image> image = decodeJpeg(jpegs[frame].data(), jpegs[frame].size());
        benchmark::DoNotOptimize(image.get());
        frame = (frame + 1) % jpegs.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void PlainLibjpeg(benchmark::State& state) {
    const std::vector<sw::Bytes>& jpegs = sample().jpegs();
    std::vector<unsigned char> rgb;
    std::size_t frame = 0;
    for (auto _ : state) {
        decodePlainly(jpegs[frame], rgb);
        benchmark::DoNotOptimize(rgb.data());
        frame = (frame + 1) % jpegs.size();
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(OpenArchive)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(DecodeJpegInMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    sample();  // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
