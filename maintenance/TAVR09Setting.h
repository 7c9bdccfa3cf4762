#pragma once
// The recorder settings dialog: shock-detection and eco-guidance sensitivity,
// each on a simple and a detailed page under a tab control, the video-memory
// overwrite and three volumes. It reads the recorder's report FIRMINFO.DAT from
// the card when it opens and writes TAVR.INI on OK.
#include <windows.h>

#include <array>
#include <memory>

#include "maintenance/CardChooser.h"
#include "maintenance/CardFileWriter.h"
#include "maintenance/RecorderSettings.h"
#include "ui/framework/Dialog.h"

class TAVR09SettingPage1;
class TAVR09SettingPage2;

class TAVR09Setting : public Dialog {
public:
    static constexpr int simpleTab = 0;
    static constexpr int detailTab = 1;

    // cardPath: the card's root last chosen (MAX_PATH characters at most);
    // writer: how TAVR.INI reaches the card (it must outlive the dialog).
    explicit TAVR09Setting(const wchar_t* cardPath, CardChooser chooseCard = folderDialogChooser(),
                           const CardFileWriter& writer = CardFileWriter::direct());
    ~TAVR09Setting() override;

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Defaults, then the card's report when a card is chosen and its report read.
    void loadSettings();
    // Shows the pages of the selected tab; the simple pages are brought up to
    // the detailed values first.
    void applyTab();
    // OK: asks for the card unless one was read, confirms, writes TAVR.INI and
    // ends the dialog with IDOK whether the write succeeded or not.
    void writeSettings();

    // The card's root; the caller takes it over after IDOK.
    const wchar_t* cardPath() const { return drivePath.data(); }
    bool isLoaded() const { return loaded; }
    TAVR09SettingPage1& simplePage(int kind) const;
    TAVR09SettingPage2& detailPage(int kind) const;

private:
    void onInitDialog();
    void addTabs();
    void createPagePair(int placeholderId, std::unique_ptr<TAVR09SettingPage1>& simple,
                        std::unique_ptr<TAVR09SettingPage2>& detail, int kind);
    void placePage(HWND page, const RECT& place);
    void orderPagesAfter(int buttonId, const TAVR09SettingPage1& simple, const TAVR09SettingPage2& detail);
    void onPreset(int buttonId);
    void fillCombos();
    bool readReport(RecorderSettings& settings);
    void showSensitivity(int kind, int value);
    void showSettings(const RecorderSettings& settings);
    RecorderSettings currentSettings() const;
    void showPair(int kind, bool detailed);

    std::array<HWND, 4> presetButtons{};
    HWND tabControl = nullptr;
    HWND overwriteCombo = nullptr;
    HWND operationVolumeCombo = nullptr;
    HWND eventVolumeCombo = nullptr;
    HWND guidanceVolumeCombo = nullptr;
    std::unique_ptr<TAVR09SettingPage1> shockSimplePage;
    std::unique_ptr<TAVR09SettingPage2> shockDetailPage;
    std::unique_ptr<TAVR09SettingPage1> ecoSimplePage;
    std::unique_ptr<TAVR09SettingPage2> ecoDetailPage;
    bool loaded = false;
    std::array<wchar_t, MAX_PATH> drivePath{};
    CardChooser chooseCard;
    const CardFileWriter* writer;
};
