#include "recording/SoundWarning.h"

#include <atomic>

namespace {

std::atomic<SoundWarningHandler> currentHandler{nullptr};

}  // namespace

void setSoundWarningHandler(SoundWarningHandler handler) {
    currentHandler.store(handler);
}

void reportSoundWarning(const std::wstring& text) {
    if (SoundWarningHandler handler = currentHandler.load()) handler(text);
}
