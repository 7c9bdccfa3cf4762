// The command-line tool as a user meets it: help on standard output, failures
// naming what failed, and the export printing one JSON object.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/Texts.h"
#include "platform/Utf8.h"
#include "support/ScratchFolder.h"
#include "tools/samplewriter/SampleArchive.h"

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun orvelle(const std::string& arguments, const ScratchFolder& scratch) {
    const std::string errPath = toUtf8(scratch.file(L"stderr.txt"));
    ToolRun run;
    FILE* pipe = popen((std::string(ORVELLE_CLI) + " " + arguments + " 2>" + errPath).c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = std::fopen(errPath.c_str(), "r")) {
        while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, err)) run.err.append(buffer, got);
        std::fclose(err);
    }
    return run;
}

class CommandLine : public ::testing::Test {
protected:
    ScratchFolder scratch_{L"clit"};
};

TEST_F(CommandLine, HelpGoesToStandardOutputAndSucceeds) {
    const ToolRun all = orvelle("--help", scratch_);
    EXPECT_EQ(all.status, 0);
    EXPECT_NE(all.out.find("usage: orvelle COMMAND"), std::string::npos);
    EXPECT_NE(all.out.find("orvelle export [--from SECONDS] [--to SECONDS] SOURCE OUTDIR"), std::string::npos);
    EXPECT_EQ(all.err, "");
    const ToolRun one = orvelle("info --help", scratch_);
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, "usage: orvelle info [--frames] FILE|FOLDER\n");
    const ToolRun wrong = orvelle("export onlyone", scratch_);
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("usage: orvelle export"), std::string::npos);
}

TEST_F(CommandLine, FailuresNameWhatFailed) {
    const std::string missing = toUtf8(scratch_.file(L"gone.dvt"));
    const ToolRun run = orvelle("info " + missing, scratch_);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "orvelle: " + missing + ": " + toUtf8(loadText(5510)) + "\n");
}

TEST_F(CommandLine, ExportPrintsOneObjectNamingItsFiles) {
    samplewriter::ArchiveSetup setup;
    setup.frameCount = 60;
    setup.eventFrame = 30;
    setup.width = 64;
    setup.height = 48;
    ASSERT_TRUE(samplewriter::writeBytes(scratch_.file(L"Video.dvt"), samplewriter::buildArchive(setup)));
    const std::string source = toUtf8(scratch_.file(L"Video.dvt"));
    const std::string folder = toUtf8(scratch_.file(L"out"));
    const ToolRun run = orvelle("export --from 0.5 --to 1.5 " + source + " " + folder, scratch_);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.front(), '{');
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);
    EXPECT_NE(run.out.find("\"files\":[\"20090615_143012_event.avi\",\"20090615_143012_event.srt\","
                           "\"20090615_143012_event.csv\",\"manifest.json\"]"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"frames\":30"), std::string::npos) << run.out;

    const std::string below = toUtf8(scratch_.file(L"stderr.txt")) + "/inside";
    const ToolRun refused = orvelle("export " + source + " " + below, scratch_);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "orvelle: " + below + ": " + toUtf8(loadText(5540)) + "\n");
}

}  // namespace
