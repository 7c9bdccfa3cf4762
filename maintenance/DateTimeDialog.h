#pragma once
// The date and time at which the recorder is to set its clock: it has no clock
// setting of its own and takes the clock item of TAVR.INI when next switched
// on. The user picks the moment the engine will be started, not the present.
#include <windows.h>

#include <array>

#include "maintenance/CardChooser.h"
#include "maintenance/CardFileWriter.h"
#include "ui/framework/Dialog.h"

class DateTimeDialog : public Dialog {
public:
    // cardPath: the card's root last chosen (MAX_PATH characters at most);
    // writer: how TAVR.INI reaches the card (it must outlive the dialog).
    explicit DateTimeDialog(const wchar_t* cardPath, CardChooser chooseCard = folderDialogChooser(),
                            const CardFileWriter& writer = CardFileWriter::direct());

    INT_PTR dialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // OK: asks for the card, confirms, checks the hour and minute and writes the
    // clock item into TAVR.INI, keeping the file's other items. Ends the dialog
    // with IDOK after a write attempt; a cancelled choice or a bad hour or
    // minute leaves it open.
    void writeClock();

    // The card's root; the caller takes it over after IDOK.
    const wchar_t* cardPath() const { return cardFolder.data(); }

private:
    void onInitDialog();
    void showPresentTime();
    bool readTime(SYSTEMTIME& date, int& hour, int& minute);
    void showBox(int textId, int captionId, UINT style);

    HWND datePicker = nullptr;
    HWND hourSpin = nullptr;
    HWND minuteSpin = nullptr;
    std::array<wchar_t, MAX_PATH> cardFolder{};
    CardChooser chooseCard;
    const CardFileWriter* writer;
};
