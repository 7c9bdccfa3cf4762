#pragma once
// The panel at the top of the main window's right column: under the product
// logo, the date and time that belong to what is on screen (the event moment,
// the picture's time, or the start of a video-memory recording) in digit
// pictures, and a picture naming the recording's kind. It has no input; the
// main window repaints it with erase whenever the recording or frame changes.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "media/AlphaImage.h"
#include "ui/framework/Window.h"

class IVideoInfo;
class Label;
class VideoPlayer;

class InfoPanel : public Window {
public:
    // A child of parent at (0, 0) with no size: the main window's layout places it.
    // player must outlive the panel.
    InfoPanel(HWND parent, const VideoPlayer& player);
    ~InfoPanel() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The time shown in a display mode: the recording's own date and time
    // (recordedAt) in video memory, the picture's in one-shot memory, and in
    // event memory the reference frame's unless it has none.
    static std::int64_t shownTime(int mode, std::int64_t recordedAt, std::int64_t recordingTime);
    // The texts drawn for a time value; dashes when there is no time.
    static std::wstring dateText(std::int64_t time);
    static std::wstring timeText(std::int64_t time);

    Label* logo() const { return logo_; }

    // Where the pictures go, in client coordinates.
    static constexpr int dateLeft = 62;
    static constexpr int dateTop = 65;
    static constexpr int timeLeft = 20;
    static constexpr int timeTop = 90;
    static constexpr int kindTop = 130;
    static constexpr int kindLeft = 45;
    static constexpr int kindLeftBesideIndicator = 30;
    static constexpr int indicatorLeft = 150;

private:
    using Picture = std::unique_ptr<AlphaImage>;

    void onEraseBackground(HDC dc);
    void onPaint();
    void drawInformation(HDC dc);
    void drawMissingNotice(HDC dc);
    void drawDateAndTime(HDC dc, std::int64_t time);
    void drawKind(HDC dc, int triggerKind, bool indicator);
    const AlphaImage* datePicture(wchar_t character) const;
    const AlphaImage* timePicture(wchar_t character) const;
    const AlphaImage* kindPicture(int triggerKind) const;

    const VideoPlayer& player_;
    // A child window, freed with it.
    Label* logo_ = nullptr;
    Picture background_;
    Picture kindAuto_;
    Picture kindManual_;
    Picture kindNone_;
    Picture kindOneShot_;
    Picture kindVideo_;
    Picture indicatorPicture_;
    std::array<Picture, 10> dateDigits_;
    Picture dateMinus_;
    Picture dateSlash_;
    std::array<Picture, 10> timeDigits_;
    Picture timeMinus_;
    Picture timeColon_;
};
