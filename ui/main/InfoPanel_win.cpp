#include <algorithm>
#include <cwchar>

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "media/VideoPlayer.h"
#include "platform/LocalTime.h"
#include "recording/IVideoInfo.h"
#include "resources/ImageIds.h"
#include "ui/controls/Label.h"
#include "ui/main/InfoPanel.h"

namespace {

constexpr int kMissingInformationText = 5025;
constexpr RECT kMissingInformationArea{35, 70, 170, 160};
constexpr COLORREF kMissingInformationColour = RGB(0, 0, 255);

constexpr int kLogoLeft = 30, kLogoTop = 15, kLogoWidth = 146, kLogoHeight = 34;
constexpr int kMaxTextCharacters = 256;
constexpr wchar_t kNoDate[] = L"----/--/--";
constexpr wchar_t kNoTime[] = L"--:--:--";

std::unique_ptr<AlphaImage> load(int id) {
    return std::make_unique<AlphaImage>(id);
}

std::array<std::unique_ptr<AlphaImage>, 10> loadDigits(int firstId) {
    std::array<std::unique_ptr<AlphaImage>, 10> digits;
    for (int d = 0; d < 10; ++d) digits[static_cast<std::size_t>(d)] = load(firstId + d);
    return digits;
}

const AlphaImage* digitPicture(const std::array<std::unique_ptr<AlphaImage>, 10>& digits, wchar_t character) {
    if (character < L'0' || character > L'9') return nullptr;
    return digits[static_cast<std::size_t>(character - L'0')].get();
}

// Time 0 is no time wherever it appears; a value the system cannot convert is
// shown the same way.
bool toLocal(std::int64_t time, CalendarTime& local) {
    return time != 0 && platform::timeValueToLocal(time, local);
}

}  // namespace

InfoPanel::InfoPanel(HWND parent, const VideoPlayer& player)
    : player_(player),
      // Loaded before the window exists, so an absent picture leaves no window
      // behind bound to an object that was never finished.
      background_(load(IDB_INFO_BACKGROUND)),
      kindAuto_(load(IDB_KIND_AUTO)),
      kindManual_(load(IDB_KIND_MANUAL)),
      kindNone_(load(IDB_KIND_NONE)),
      kindOneShot_(load(IDB_KIND_ONE_SHOT)),
      kindVideo_(load(IDB_KIND_VIDEO)),
      indicatorPicture_(load(IDB_INDICATOR)),
      dateDigits_(loadDigits(IDB_DATE_DIGIT_0)),
      dateMinus_(load(IDB_DATE_MINUS)),
      dateSlash_(load(IDB_DATE_SLASH)),
      timeDigits_(loadDigits(IDB_TIME_DIGIT_0)),
      timeMinus_(load(IDB_TIME_MINUS)),
      timeColon_(load(IDB_TIME_COLON)) {
    create(WS_EX_CONTROLPARENT, defaultClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
           nullptr, GetModuleHandleW(nullptr), nullptr);
    logo_ = new Label(handle(), kLogoLeft, kLogoTop, kLogoWidth, kLogoHeight);
    logo_->setPicture(IDB_INFO_TITLE);
}

InfoPanel::~InfoPanel() = default;

LRESULT InfoPanel::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            return 0;
        case WM_PAINT:
            onPaint();
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return Window::windowProc(message, wParam, lParam);
    }
}

std::int64_t InfoPanel::shownTime(int mode, std::int64_t recordedAt, std::int64_t recordingTime) {
    switch (mode) {
        case DisplayModeVideo:
            return recordedAt;
        case DisplayModeOneShot:
            return recordingTime;
        default:
            return recordingTime != 0 ? recordingTime : recordedAt;
    }
}

std::wstring InfoPanel::dateText(std::int64_t time) {
    CalendarTime local;
    if (!toLocal(time, local)) return kNoDate;
    wchar_t text[kMaxTextCharacters];
    std::swprintf(text, kMaxTextCharacters, L"%04d/%02d/%02d", local.year, local.month, local.day);
    return text;
}

std::wstring InfoPanel::timeText(std::int64_t time) {
    CalendarTime local;
    if (!toLocal(time, local)) return kNoTime;
    wchar_t text[kMaxTextCharacters];
    std::swprintf(text, kMaxTextCharacters, L"%02d:%02d:%02d", local.hour, local.minute, local.second);
    return text;
}

// Everything is drawn here, so that one repaint with erase renews the whole panel.
void InfoPanel::onEraseBackground(HDC dc) {
    if (background_->image()) {
        background_->draw(dc, 0, 0);
    } else {
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    if (dc) drawInformation(dc);
    UpdateWindow(logo_->handle());
}

void InfoPanel::onPaint() {
    PAINTSTRUCT paint;
    BeginPaint(handle(), &paint);
    EndPaint(handle(), &paint);
}

void InfoPanel::drawInformation(HDC dc) {
    const IVideoInfo* info = player_.info();
    if (!info) {
        drawDateAndTime(dc, 0);
        return;
    }
    if (info->informationMissing()) {
        drawMissingNotice(dc);
        return;
    }
    drawDateAndTime(dc, shownTime(displayMode, info->recordedAt(), player_.recordingTime()));
    const bool indicator = player_.indicator();
    drawKind(dc, info->triggerKind(), indicator);
    if (indicator) indicatorPicture_->draw(dc, indicatorLeft, kindTop);
}

void InfoPanel::drawMissingNotice(HDC dc) {
    RECT area = kMissingInformationArea;
    const std::wstring text = loadText(kMissingInformationText);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColour = SetTextColor(dc, kMissingInformationColour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_WORDBREAK);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}

void InfoPanel::drawDateAndTime(HDC dc, std::int64_t time) {
    drawCharacterPictures(dc, dateText(time), dateLeft, dateTop, [this](wchar_t c) { return datePicture(c); });
    drawCharacterPictures(dc, timeText(time), timeLeft, timeTop, [this](wchar_t c) { return timePicture(c); });
}

void InfoPanel::drawKind(HDC dc, int triggerKind, bool indicator) {
    const AlphaImage* picture = kindPicture(triggerKind);
    if (picture) picture->draw(dc, indicator ? kindLeftBesideIndicator : kindLeft, kindTop);
}

const AlphaImage* InfoPanel::datePicture(wchar_t character) const {
    if (character == L'-') return dateMinus_.get();
    if (character == L'/') return dateSlash_.get();
    return digitPicture(dateDigits_, character);
}

const AlphaImage* InfoPanel::timePicture(wchar_t character) const {
    if (character == L'-') return timeMinus_.get();
    if (character == L':') return timeColon_.get();
    return digitPicture(timeDigits_, character);
}

const AlphaImage* InfoPanel::kindPicture(int triggerKind) const {
    switch (triggerKind) {
        case 0:
            return kindNone_.get();
        case 1:
            return kindAuto_.get();
        case 2:
            return kindManual_.get();
        case 11:
            return kindOneShot_.get();
        case 12:
            return kindVideo_.get();
        default:
            return nullptr;
    }
}
