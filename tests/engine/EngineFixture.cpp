#include "engine/EngineFixture.h"

#include "app/ModelCode.h"

namespace {

EngineSamples writtenSamples;

class SamplesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        modelCode() = ModelCode{2, 3};  // the sample writer's model code
        writtenSamples = EngineSamples::write();
    }
    void TearDown() override { writtenSamples.remove(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SamplesEnvironment);

}  // namespace

const EngineSamples& engineSamples() {
    return writtenSamples;
}

void EngineTest::SetUp() {
    ASSERT_FALSE(samples().root.empty()) << "the sample recordings could not be written";
    displayMode = DisplayModeEvent;
    owner = new TestOwner(900, 700);
    player = new TestPlayer(*owner);
    owner->player = player;
    pumpFor(20);
}

void EngineTest::TearDown() {
    if (owner) DestroyWindow(owner->handle());
    pumpFor(20);
    displayMode = DisplayModeEvent;
}

void EngineTest::useMode(int mode) {
    displayMode = mode;
    player->setOpenMode(mode);
}

void EngineTest::openVideoFolder(const std::wstring& folder) {
    useMode(DisplayModeVideo);
    player->showLoading();
    player->buildChapterList(folder);
    ASSERT_TRUE(player->openChapter(0));
}

bool EngineTest::waitForShown(int frame, DWORD timeoutMs) {
    return pumpUntil([&] { return player->shownFrame() == frame; }, timeoutMs);
}

bool EngineTest::waitForState(int state, DWORD timeoutMs) {
    return pumpUntil([&] { return player->playState() == state; }, timeoutMs);
}
