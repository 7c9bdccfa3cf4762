#pragma once
// Every engine test starts with a fresh owner window holding a fresh player
// of 640 × 480 in event-memory mode; the sample recordings are written once
// for the whole program.
#include <gtest/gtest.h>

#include <string>

#include "app/DisplayMode.h"
#include "engine/EngineHarness.h"
#include "engine/EngineSamples.h"

// Only guards against a hang; never a claim about speed.
constexpr DWORD kPatienceMs = 30000;

const EngineSamples& engineSamples();

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const EngineSamples& samples() const { return engineSamples(); }
    // Sets the display mode as the main window does before it opens a recording.
    void useMode(int mode);
    // As the main window opens a video-memory folder: its first chapter.
    void openVideoFolder(const std::wstring& folder);
    // Waits until the picture of frame is on screen.
    bool waitForShown(int frame, DWORD timeoutMs = kPatienceMs);
    bool waitForState(int state, DWORD timeoutMs = kPatienceMs);

    TestOwner* owner = nullptr;
    TestPlayer* player = nullptr;
};
