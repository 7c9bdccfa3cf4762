#include "maintenance-dialogs/DialogScript.h"

#include <gtest/gtest.h>

#include "app/Texts.h"
#include "platform/Utf8.h"

namespace {

DialogScript* activeScript = nullptr;
constexpr UINT tickMs = 40;
constexpr DWORD stepTimeoutMs = 8000;
std::string narrow(const std::wstring& text) {
    return toUtf8(text);
}

std::string describe(HWND box) {
    return "box \"" + narrow(windowText(box)) + "\" saying \"" + narrow(messageBoxText(box)) + "\"";
}

}  // namespace

DialogScript::DialogScript() {
    activeScript = this;
    timer_ = SetTimer(nullptr, 0, tickMs, onTimer);
}

DialogScript::~DialogScript() {
    KillTimer(nullptr, timer_);
    activeScript = nullptr;
    if (!steps_.empty() && !aborted_)
        ADD_FAILURE() << "dialog script ended before step \"" << steps_.front().name << "\"";
}

DialogScript& DialogScript::then(const std::string& name, Step step) {
    steps_.push_back({name, std::move(step)});
    return *this;
}

DialogScript& DialogScript::onDialog(const std::wstring& caption, const std::string& name,
                                     std::function<void(HWND)> action) {
    return then(name, [caption, action](HWND box) {
        if (windowText(box) != caption) return false;
        action(box);
        return true;
    });
}

DialogScript& DialogScript::answer(int textId, int captionId, int button) {
    return answerText(loadText(textId), captionId, button);
}

DialogScript& DialogScript::answerText(const std::wstring& text, int captionId, int button) {
    return then("message box " + narrow(loadText(captionId)), [text, captionId, button](HWND box) {
        if (windowText(box) != loadText(captionId) || messageBoxText(box) != text) return false;
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        return true;
    });
}

void CALLBACK DialogScript::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript* script = activeScript;
    if (!script || script->busy_) return;
    HWND box = findThreadDialog(true);
    if (!box) return;
    script->busy_ = true;
    script->tick(box);
    script->busy_ = false;
}

void DialogScript::tick(HWND box) {
    if (aborted_) {
        closeAll(box);
        return;
    }
    if (steps_.empty()) {
        ADD_FAILURE() << "unexpected " << describe(box);
        aborted_ = true;
        closeAll(box);
        return;
    }
    if (waitingSince_ == 0) waitingSince_ = GetTickCount();
    if (steps_.front().step(box)) {
        steps_.pop_front();
        waitingSince_ = 0;
        return;
    }
    if (GetTickCount() - waitingSince_ < stepTimeoutMs) return;
    ADD_FAILURE() << "step \"" << steps_.front().name << "\" waited in vain; showing " << describe(box);
    aborted_ = true;
    steps_.clear();
    closeAll(box);
}

// Message boxes are dialogs too: every box ends as if cancelled.
void DialogScript::closeAll(HWND box) {
    EndDialog(box, IDCANCEL);
}

std::wstring itemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

void postClick(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
