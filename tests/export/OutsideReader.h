#pragma once
// Debian's ffmpeg and ffprobe as the outside judge of exported files: what
// another player makes of them, never our own reader. Setup installs them, so
// a missing program fails the tests instead of skipping them.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace outside {

struct Output {
    int status = -1;
    std::string text;
};

// Runs a shell command and collects its standard output (and standard error
// when the command redirects it).
inline Output run(const std::string& command) {
    Output output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[65536];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.text.append(buffer, got);
    output.status = pclose(pipe);
    return output;
}

inline std::string quoted(const std::string& path) {
    std::string text = "'";
    for (char c : path) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// ffprobe's view of one stream ("v:0", "a:0"), with the frames counted by
// reading them: key=value pairs.
inline std::map<std::string, std::string> probeStream(const std::string& path, const std::string& stream) {
    const Output output = run("ffprobe -v error -count_frames -select_streams " + stream +
                              " -show_entries stream=codec_name,codec_tag_string,width,height,r_frame_rate,"
                              "sample_rate,channels,sample_fmt,nb_read_frames,duration -of default=nw=1 " +
                              quoted(path));
    std::map<std::string, std::string> fields;
    std::size_t at = 0;
    while (at < output.text.size()) {
        const std::size_t end = output.text.find('\n', at);
        const std::string line = output.text.substr(at, end - at);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) fields[line.substr(0, equals)] = line.substr(equals + 1);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return fields;
}

// The SHA-256 of every video packet as the demuxer hands it out, in order.
inline std::vector<std::string> videoPacketHashes(const std::string& path) {
    const Output output =
        run("ffmpeg -v error -i " + quoted(path) + " -map 0:v -c copy -f framehash -hash sha256 -");
    std::vector<std::string> hashes;
    std::size_t at = 0;
    while (at < output.text.size()) {
        const std::size_t end = output.text.find('\n', at);
        const std::string line = output.text.substr(at, end - at);
        if (!line.empty() && line[0] != '#') hashes.push_back(line.substr(line.rfind(' ') + 1));
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return hashes;
}

// The SHA-256 of the whole sound stream's bytes as the demuxer hands them out.
inline std::string soundHash(const std::string& path) {
    const Output output = run("ffmpeg -v error -i " + quoted(path) + " -map 0:a -c copy -f hash -hash sha256 -");
    const std::size_t at = output.text.find("SHA256=");
    return at == std::string::npos ? "" : output.text.substr(at + 7, 64);
}

// Decodes every frame of every stream; the errors ffmpeg reports (empty when
// all decoded), or a note when it did not finish.
inline std::string decodeErrors(const std::string& path) {
    const Output output = run("ffmpeg -v error -i " + quoted(path) + " -f null - 2>&1");
    return output.status == 0 ? output.text : "ffmpeg failed: " + output.text;
}

inline std::string sha256sum(const std::string& path) {
    const Output output = run("sha256sum " + quoted(path));
    return output.text.substr(0, 64);
}

}  // namespace outside
