// The information panel under Wine with a real engine: which date and time it
// shows in each display mode, drawn in digit pictures, the kind picture and
// its place beside the indicator, and the logo.
#include <gtest/gtest.h>

#include <cwchar>

#include "app/DisplayMode.h"
#include "console-info/PanelTestSupport.h"
#include "media/VideoPlayer.h"
#include "platform/LocalTime.h"
#include "resources/ImageIds.h"
#include "ui/main/InfoPanel.h"

namespace {

int datePictureId(wchar_t character) {
    if (character == L'-') return IDB_DATE_MINUS;
    if (character == L'/') return IDB_DATE_SLASH;
    return IDB_DATE_DIGIT_0 + (character - L'0');
}

int timePictureId(wchar_t character) {
    if (character == L'-') return IDB_TIME_MINUS;
    if (character == L':') return IDB_TIME_COLON;
    return IDB_TIME_DIGIT_0 + (character - L'0');
}

std::wstring dateOf(const CalendarTime& time) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d/%02d/%02d", time.year, time.month, time.day);
    return text;
}

std::wstring timeOf(const CalendarTime& time) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

constexpr int kKindWidth = 117;
constexpr int kKindHeight = 20;
constexpr int kIndicatorSize = 32;

}  // namespace

class InfoPanelTest : public PanelTest {
protected:
    ::testing::AssertionResult showsDateAndTime(const Snapshot& shot, const std::wstring& date,
                                                const std::wstring& time) {
        ::testing::AssertionResult shown =
            showsCharacters(shot, date, InfoPanel::dateLeft, InfoPanel::dateTop, datePictureId);
        if (!shown) return shown;
        return showsCharacters(shot, time, InfoPanel::timeLeft, InfoPanel::timeTop, timePictureId);
    }
    ::testing::AssertionResult showsDateAndTime(const Snapshot& shot, const CalendarTime& at) {
        return showsDateAndTime(shot, dateOf(at), timeOf(at));
    }
    // The panel's background shows through in a rectangle.
    static ::testing::AssertionResult showsBackground(const Snapshot& shot, int x, int y, int width, int height) {
        return showsPicture(shot, IDB_INFO_BACKGROUND, x, y, width, height, x, y);
    }
    static ::testing::AssertionResult showsKind(const Snapshot& shot, int id, bool besideIndicator) {
        return showsPicture(shot, id, besideIndicator ? InfoPanel::kindLeftBesideIndicator : InfoPanel::kindLeft,
                            InfoPanel::kindTop);
    }
};

TEST_F(InfoPanelTest, NothingOpenShowsDashesUnderTheLogoAndNoKind) {
    const Snapshot shot(info->handle());
    EXPECT_EQ(shot.width(), PanelHost::columnWidth);
    EXPECT_TRUE(showsPicture(shot, IDB_INFO_TITLE, 30, 15));
    EXPECT_TRUE(showsDateAndTime(shot, L"----/--/--", L"--:--:--"));
    EXPECT_TRUE(showsBackground(shot, InfoPanel::kindLeftBesideIndicator, InfoPanel::kindTop,
                                InfoPanel::indicatorLeft + kIndicatorSize - InfoPanel::kindLeftBesideIndicator,
                                kIndicatorSize));
}

// The header of this recording says one second later than its reference frame.
TEST_F(InfoPanelTest, AnEventShowsItsReferenceFramesTimeWhateverFrameIsShown) {
    openEvent(samples().eventFolder);
    Snapshot shot(info->handle());
    EXPECT_TRUE(showsDateAndTime(shot, PanelSamples::eventTime));
    EXPECT_TRUE(showsKind(shot, IDB_KIND_AUTO, false));
    // No indicator: beside and under the kind picture the background shows.
    const int kindRight = InfoPanel::kindLeft + kKindWidth;
    EXPECT_TRUE(showsBackground(shot, kindRight, InfoPanel::kindTop,
                                InfoPanel::indicatorLeft + kIndicatorSize - kindRight, kIndicatorSize));
    EXPECT_TRUE(showsBackground(shot, InfoPanel::indicatorLeft, InfoPanel::kindTop + kKindHeight, kIndicatorSize,
                                kIndicatorSize - kKindHeight));

    player->seek(0);
    host->repaintInformationPanel();
    EXPECT_TRUE(showsDateAndTime(Snapshot(info->handle()), PanelSamples::eventTime));
}

TEST_F(InfoPanelTest, TheIndicatorMovesTheKindLeftAndShowsBesideIt) {
    openEvent(samples().manualFolder);
    const Snapshot shot(info->handle());
    EXPECT_TRUE(showsKind(shot, IDB_KIND_MANUAL, true));
    EXPECT_TRUE(showsPicture(shot, IDB_INDICATOR, InfoPanel::indicatorLeft, InfoPanel::kindTop));
}

// Without a reference frame the engine's time is its first frame's.
TEST_F(InfoPanelTest, AFailedDetectionShowsNoDetectionAndTheFirstFramesTime) {
    openEvent(samples().undetectedFolder);
    const Snapshot shot(info->handle());
    EXPECT_TRUE(showsKind(shot, IDB_KIND_NONE, false));
    EXPECT_TRUE(showsDateAndTime(shot, PanelSamples::eventTime));
}

TEST_F(InfoPanelTest, VideoMemoryShowsTheChaptersHeaderTimeNotTheFramesTime) {
    openVideo(samples().videoFolder);
    Snapshot shot(info->handle());
    EXPECT_TRUE(showsDateAndTime(shot, PanelSamples::chapterHeaderTime));
    EXPECT_TRUE(showsKind(shot, IDB_KIND_VIDEO, false));

    player->seekAbsolute(600 + 5, VideoPlayer::stateStopped);
    host->repaintInformationPanel();
    shot = Snapshot(info->handle());
    EXPECT_TRUE(showsDateAndTime(shot, CalendarTime{2010, 1, 2, 3, 10, 5}));
}

TEST_F(InfoPanelTest, AOneShotPictureShowsItsOwnTimeOrDashesWithoutOne) {
    openShot(samples().shotFolder, samples().datedShot);
    Snapshot shot(info->handle());
    EXPECT_TRUE(showsDateAndTime(shot, PanelSamples::shotTime));
    EXPECT_TRUE(showsKind(shot, IDB_KIND_ONE_SHOT, false));

    openShot(samples().shotFolder, samples().undatedShot);
    shot = Snapshot(info->handle());
    EXPECT_TRUE(showsDateAndTime(shot, L"----/--/--", L"--:--:--"));
    EXPECT_TRUE(showsKind(shot, IDB_KIND_ONE_SHOT, false));
}

// Time 0 means no time in every mode, event memory included.
TEST(InfoPanelTime, NoTimeShowsDashesInEveryMode) {
    EXPECT_EQ(InfoPanel::shownTime(DisplayModeEvent, 0, 0), 0);
    EXPECT_EQ(InfoPanel::dateText(0), L"----/--/--");
    EXPECT_EQ(InfoPanel::timeText(0), L"--:--:--");
}
