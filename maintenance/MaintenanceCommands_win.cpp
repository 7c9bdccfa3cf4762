#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/AboutDialog.h"
#include "maintenance/DateTimeDialog.h"
#include "maintenance/MaintenanceCommands.h"
#include "maintenance/TAVR09Setting.h"
#include "ui/framework/DialogMutex.h"

namespace {

constexpr int warningCaptionId = 5005;

void warn(HWND owner, const Exception& failure) {
    MessageBoxW(owner, failure.message().c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
}

// Runs a card dialog under the maintenance guard and takes over its card after OK.
template <class CardDialog>
void runCardDialog(HWND owner, wchar_t* cardFolder, const PausePlayback& pausePlayback, const CardChooser& chooseCard) {
    if (pausePlayback) pausePlayback();
    DialogMutex guard;
    guard.take(owner);
    try {
        CardDialog dialog(cardFolder, chooseCard);
        if (dialog.doModal(owner) == IDOK && cardFolder) lstrcpynW(cardFolder, dialog.cardPath(), MAX_PATH);
    } catch (const Exception& failure) {
        warn(owner, failure);
    }
}

}  // namespace

void runSettingsCommand(HWND owner, wchar_t* cardFolder, const PausePlayback& pausePlayback,
                        const CardChooser& chooseCard) {
    runCardDialog<TAVR09Setting>(owner, cardFolder, pausePlayback, chooseCard);
}

void runDateTimeCommand(HWND owner, wchar_t* cardFolder, const PausePlayback& pausePlayback,
                        const CardChooser& chooseCard) {
    runCardDialog<DateTimeDialog>(owner, cardFolder, pausePlayback, chooseCard);
}

void runAboutCommand(HWND owner, const PausePlayback& pausePlayback) {
    if (pausePlayback) pausePlayback();
    try {
        AboutDialog dialog;
        dialog.doModal(owner);
    } catch (const Exception& failure) {
        warn(owner, failure);
    }
}
