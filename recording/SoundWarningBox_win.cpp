#include <windows.h>

#include "app/Texts.h"
#include "recording/SoundWarning.h"
#include "recording/SoundWarningBox.h"

namespace {

constexpr int kWarningCaption = 5005;

void showSoundWarningBox(const std::wstring& text) {
    const std::wstring caption = loadText(kWarningCaption);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace

void installSoundWarningBox() {
    setSoundWarningHandler(showSoundWarningBox);
}
