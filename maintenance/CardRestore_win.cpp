#include "maintenance/CardRestore.h"

#include <utility>

#include "app/Exception.h"
#include "app/Texts.h"
#include "maintenance/CardRestoreCabinet.h"
#include "maintenance/CardRestoreSettings.h"
#include "maintenance/ViewerCopy.h"
#include "ui/framework/DialogMutex.h"

namespace {

constexpr int warningCaptionId = 5005;
constexpr int noProgramFilesTextId = 5006;
constexpr int confirmCaptionId = 5013;
constexpr int informationCaptionId = 5017;
constexpr int restoreQuestionId = 5061;
constexpr int keepSettingsQuestionId = 5062;
constexpr int restoredTextId = 5063;
constexpr int notAllWrittenTextId = 5064;
constexpr int chooseCardPromptId = 5071;

// The wait cursor from the first file written to the closing message, the arrow
// again however the command ends.
class WaitCursor {
public:
    WaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }
    ~WaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CardRestore::CardRestore(HWND owner, wchar_t* cardPath, CardChooser chooseCard)
    : owner_(owner), cardPath_(cardPath), chooseCard_(std::move(chooseCard)) {}

void CardRestore::run() {
    if (!hasProgramFiles()) {
        warnNoProgramFiles();
        return;
    }
    // Only warns when another viewer is in a maintenance command.
    DialogMutex guard;
    guard.take(owner_);
    if (!chooseCard() || !confirmRestore()) return;
    const int keep = askKeepSettings();
    if (keep == IDCANCEL) return;
    WaitCursor wait;
    report(writeFiles(keep == IDNO));
}

// Told before the first question: nothing has been chosen or changed yet, so
// the user's card and settings stay exactly as they were.
void CardRestore::warnNoProgramFiles() const {
    MessageBoxW(owner_, loadText(noProgramFilesTextId).c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
}

bool CardRestore::chooseCard() {
    return chooseCard_ && chooseCard_(loadText(chooseCardPromptId), owner_, cardPath_);
}

bool CardRestore::confirmRestore() const {
    return ask(restoreQuestionId, MB_OKCANCEL) == IDOK;
}

int CardRestore::askKeepSettings() const {
    const int answer = ask(keepSettingsQuestionId, MB_YESNOCANCEL);
    return answer == IDYES || answer == IDNO ? answer : IDCANCEL;
}

// The settings file is written before the program files, and its failure does
// not stop them: a card without the recorder's programs is of no use at all.
// The failures' own texts are not shown; the closing message stands for them.
bool CardRestore::writeFiles(bool standardSettings) const {
    const std::wstring card = cardPath_;
    bool complete = true;
    if (standardSettings) {
        try {
            writeDefaultSettings(card);
        } catch (const Exception&) {
            complete = false;
        }
    }
    try {
        extractProgramFiles(card);
        copyViewer(card);
    } catch (const Exception&) {
        complete = false;
    }
    return complete;
}

void CardRestore::report(bool complete) const {
    const int text = complete ? restoredTextId : notAllWrittenTextId;
    const int caption = complete ? informationCaptionId : warningCaptionId;
    const UINT icon = complete ? MB_ICONINFORMATION : MB_ICONWARNING;
    MessageBoxW(owner_, loadText(text).c_str(), loadText(caption).c_str(), icon);
}

int CardRestore::ask(int textId, UINT buttons) const {
    return MessageBoxW(owner_, loadText(textId).c_str(), loadText(confirmCaptionId).c_str(), buttons | MB_ICONQUESTION);
}

void restoreCard(HWND owner, wchar_t* cardPath, const std::function<void()>& pausePlayback,
                 const CardChooser& chooseCard) {
    if (pausePlayback) pausePlayback();
    CardRestore(owner, cardPath, chooseCard).run();
}
