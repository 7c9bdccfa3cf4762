#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/FirmInfo.h"
#include "maintenance/TAVR09Setting.h"
#include "maintenance/TAVR09SettingPage1.h"
#include "maintenance/TAVR09SettingPage2.h"
#include "resources/DialogIds.h"
#include "ui/framework/WindowPosition.h"
// Needs the Windows types above.
#include <commctrl.h>

namespace {

constexpr int simpleTabTextId = 5083;
constexpr int detailTabTextId = 5084;
constexpr int chooseCardTextId = 5022;
constexpr int confirmWriteTextId = 5023;
constexpr int writtenTextId = 5024;
constexpr int cannotWriteTextId = 5020;
constexpr int warningCaptionId = 5005;
constexpr int confirmCaptionId = 5013;
constexpr int informationCaptionId = 5017;

constexpr int shockKind = SensitivityTable::kindShock;
constexpr int ecoKind = SensitivityTable::kindEco;

struct Preset {
    int buttonId;
    int kind;
    int value;
};

// "標準" and "高感度" of each sensitivity.
constexpr Preset presets[] = {
    {IDC_SHOCK_STANDARD, shockKind, 45},
    {IDC_SHOCK_HIGH, shockKind, 30},
    {IDC_ECO_STANDARD, ecoKind, 40},
    {IDC_ECO_HIGH, ecoKind, 30},
};

constexpr const wchar_t* overwriteChoices[] = {L"する", L"しない"};
constexpr const wchar_t* volumeChoices[] = {L"標準", L"大", L"OFF"};

template <std::size_t count>
void fillCombo(HWND combo, const wchar_t* const (&choices)[count]) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* choice : choices) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

int selectionOf(HWND combo) {
    const LRESULT selection = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? 0 : static_cast<int>(selection);
}

void select(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, index, 0);
}

RECT clientRectOfChild(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

TAVR09Setting::TAVR09Setting(const wchar_t* cardPath, CardChooser chooseCard, const CardFileWriter& writer)
    : Dialog(IDD_RECORDER_SETTINGS), chooseCard(std::move(chooseCard)), writer(&writer) {
    lstrcpynW(drivePath.data(), cardPath ? cardPath : L"", static_cast<int>(drivePath.size()));
}

TAVR09Setting::~TAVR09Setting() = default;

INT_PTR TAVR09Setting::dialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog();
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom != tabControl || header->code != TCN_SELCHANGE) return FALSE;
            applyTab();
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    writeSettings();
                    return TRUE;
                case IDCANCEL:
                    EndDialog(window, IDCANCEL);
                    return TRUE;
                case IDC_SHOCK_STANDARD:
                case IDC_SHOCK_HIGH:
                case IDC_ECO_STANDARD:
                case IDC_ECO_HIGH:
                    onPreset(LOWORD(wParam));
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void TAVR09Setting::onInitDialog() {
    presetButtons = {GetDlgItem(window, IDC_SHOCK_STANDARD), GetDlgItem(window, IDC_SHOCK_HIGH),
                     GetDlgItem(window, IDC_ECO_STANDARD), GetDlgItem(window, IDC_ECO_HIGH)};
    tabControl = GetDlgItem(window, IDC_SENSITIVITY_TAB);
    overwriteCombo = GetDlgItem(window, IDC_OVERWRITE_COMBO);
    operationVolumeCombo = GetDlgItem(window, IDC_OPERATION_VOLUME_COMBO);
    eventVolumeCombo = GetDlgItem(window, IDC_EVENT_VOLUME_COMBO);
    guidanceVolumeCombo = GetDlgItem(window, IDC_GUIDANCE_VOLUME_COMBO);
    addTabs();
    createPagePair(IDC_SHOCK_PAGE_PLACE, shockSimplePage, shockDetailPage, shockKind);
    createPagePair(IDC_ECO_PAGE_PLACE, ecoSimplePage, ecoDetailPage, ecoKind);
    orderPagesAfter(IDC_SHOCK_HIGH, *shockSimplePage, *shockDetailPage);
    orderPagesAfter(IDC_ECO_HIGH, *ecoSimplePage, *ecoDetailPage);
    DestroyWindow(GetDlgItem(window, IDC_SHOCK_PAGE_PLACE));
    DestroyWindow(GetDlgItem(window, IDC_ECO_PAGE_PLACE));
    loadSettings();
    centreWindow(window, parentWindow);
}

void TAVR09Setting::addTabs() {
    const int textIds[] = {simpleTabTextId, detailTabTextId};
    for (int index = 0; index < 2; ++index) {
        std::wstring text = loadText(textIds[index]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabControl, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
}

// The pages take the placeholder's place: centred across it, top at its top.
void TAVR09Setting::createPagePair(int placeholderId, std::unique_ptr<TAVR09SettingPage1>& simple,
                                   std::unique_ptr<TAVR09SettingPage2>& detail, int kind) {
    const RECT place = clientRectOfChild(window, GetDlgItem(window, placeholderId));
    simple = std::make_unique<TAVR09SettingPage1>(*this, kind);
    detail = std::make_unique<TAVR09SettingPage2>(*this, kind);
    placePage(simple->createModeless(window, SW_SHOW), place);
    placePage(detail->createModeless(window, SW_HIDE), place);
}

void TAVR09Setting::placePage(HWND page, const RECT& place) {
    if (!page) return;
    RECT size{};
    GetClientRect(page, &size);
    const int x = place.left + ((place.right - place.left) - size.right) / 2;
    SetWindowPos(page, nullptr, x, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

// The tab order then runs from a pair's preset buttons into its pages.
void TAVR09Setting::orderPagesAfter(int buttonId, const TAVR09SettingPage1& simple, const TAVR09SettingPage2& detail) {
    constexpr UINT keepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;
    if (simple.handle()) SetWindowPos(simple.handle(), GetDlgItem(window, buttonId), 0, 0, 0, 0, keepPlace);
    if (detail.handle()) {
        HWND after = simple.handle() ? simple.handle() : GetDlgItem(window, buttonId);
        SetWindowPos(detail.handle(), after, 0, 0, 0, 0, keepPlace);
    }
}

void TAVR09Setting::onPreset(int buttonId) {
    for (const Preset& preset : presets) {
        if (preset.buttonId == buttonId) showSensitivity(preset.kind, preset.value);
    }
}

void TAVR09Setting::showSensitivity(int kind, int value) {
    simplePage(kind).showValue(value);
    detailPage(kind).setDetail(value);
}

void TAVR09Setting::loadSettings() {
    const RecorderSettings defaults;
    showSensitivity(shockKind, defaults.shockSensitivity);
    showSensitivity(ecoKind, defaults.ecoSensitivity);
    fillCombos();
    RecorderSettings reported;
    if (!readReport(reported)) return;
    showSettings(reported);
    // A value between two levels can only be seen exactly on the detailed tab.
    const bool needsDetail = !shockSimplePage->inTable(shockDetailPage->detailValue()) ||
                             !ecoSimplePage->inTable(ecoDetailPage->detailValue());
    loaded = true;
    SendMessageW(tabControl, TCM_SETCURSEL, needsDetail ? detailTab : simpleTab, 0);
    applyTab();
}

void TAVR09Setting::fillCombos() {
    fillCombo(overwriteCombo, overwriteChoices);
    fillCombo(operationVolumeCombo, volumeChoices);
    fillCombo(eventVolumeCombo, volumeChoices);
    fillCombo(guidanceVolumeCombo, volumeChoices);
}

// False when the user cancels the card choice or the report cannot be read
// (the reader's message is shown).
bool TAVR09Setting::readReport(RecorderSettings& settings) {
    if (!chooseCard(loadText(chooseCardTextId), window, drivePath.data())) return false;
    FirmInfo report;
    try {
        report.readFirmwareInfoFile(firmwareInfoPath(drivePath.data()));
    } catch (const Exception& failure) {
        MessageBoxW(window, failure.message().c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
        return false;
    }
    settings = readRecorderSettings(report);
    return true;
}

void TAVR09Setting::showSettings(const RecorderSettings& settings) {
    showSensitivity(shockKind, settings.shockSensitivity);
    showSensitivity(ecoKind, settings.ecoSensitivity);
    select(overwriteCombo, settings.overwriteIndex);
    select(operationVolumeCombo, settings.operationVolumeIndex);
    select(eventVolumeCombo, settings.eventVolumeIndex);
    select(guidanceVolumeCombo, settings.guidanceVolumeIndex);
}

RecorderSettings TAVR09Setting::currentSettings() const {
    RecorderSettings settings;
    settings.shockSensitivity = shockDetailPage->detailValue();
    settings.ecoSensitivity = ecoDetailPage->detailValue();
    settings.overwriteIndex = selectionOf(overwriteCombo);
    settings.operationVolumeIndex = selectionOf(operationVolumeCombo);
    settings.eventVolumeIndex = selectionOf(eventVolumeCombo);
    settings.guidanceVolumeIndex = selectionOf(guidanceVolumeCombo);
    return settings;
}

void TAVR09Setting::applyTab() {
    SetFocus(tabControl);
    const bool detailed = SendMessageW(tabControl, TCM_GETCURSEL, 0, 0) == detailTab;
    if (!detailed) {
        shockSimplePage->showValue(shockDetailPage->detailValue());
        ecoSimplePage->showValue(ecoDetailPage->detailValue());
    }
    showPair(shockKind, detailed);
    showPair(ecoKind, detailed);
}

void TAVR09Setting::showPair(int kind, bool detailed) {
    ShowWindow(detailPage(kind).handle(), detailed ? SW_SHOW : SW_HIDE);
    ShowWindow(simplePage(kind).handle(), detailed ? SW_HIDE : SW_SHOW);
}

void TAVR09Setting::writeSettings() {
    if (!loaded && !chooseCard(loadText(chooseCardTextId), window, drivePath.data())) return;
    if (MessageBoxW(window, loadText(confirmWriteTextId).c_str(), loadText(confirmCaptionId).c_str(),
                    MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        return;
    }
    const RecorderSettings settings = currentSettings();
    const bool written = writeCardSettings(
        settingsFilePath(drivePath.data()), [&](FirmInfo& table) { storeRecorderSettings(table, settings); }, *writer);
    if (written) {
        MessageBoxW(window, loadText(writtenTextId).c_str(), loadText(informationCaptionId).c_str(),
                    MB_ICONINFORMATION);
    } else {
        MessageBoxW(window, loadText(cannotWriteTextId).c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
    }
    EndDialog(window, IDOK);
}

TAVR09SettingPage1& TAVR09Setting::simplePage(int kind) const {
    return kind == shockKind ? *shockSimplePage : *ecoSimplePage;
}

TAVR09SettingPage2& TAVR09Setting::detailPage(int kind) const {
    return kind == shockKind ? *shockDetailPage : *ecoDetailPage;
}
