#include "ui/framework/Dialog.h"

#include <map>

#include "app/Texts.h"
#include "app/WindowError.h"

namespace {

constexpr int warningCaptionId = 5005;

// Entries live from WM_INITDIALOG to WM_DESTROY (or to the object's end).
std::map<HWND, Dialog*> dialogs;

Dialog* findDialog(HWND window) {
    auto found = dialogs.find(window);
    return found == dialogs.end() ? nullptr : found->second;
}

HINSTANCE moduleInstance() {
    return GetModuleHandleW(nullptr);
}

}  // namespace

Dialog::Dialog(int templateId) : templateId(templateId) {}

Dialog::~Dialog() {
    if (window && findDialog(window) == this) dialogs.erase(window);
}

INT_PTR Dialog::dialogProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) EndDialog(window, id);
    return TRUE;
}

INT_PTR Dialog::doModal(HWND parent) {
    parentWindow = parent;
    modal_ = true;
    const INT_PTR result = DialogBoxParamW(moduleInstance(), MAKEINTRESOURCEW(templateId), parent, sharedDialogProc,
                                           reinterpret_cast<LPARAM>(this));
    const DWORD error = GetLastError();
    modal_ = false;
    rethrowFailure();
    if (result == -1) showCreationFailure(parent, error);
    return result;
}

HWND Dialog::createModeless(HWND parent, int showCommand) {
    parentWindow = parent;
    modal_ = false;
    HWND created = CreateDialogParamW(moduleInstance(), MAKEINTRESOURCEW(templateId), parent, sharedDialogProc,
                                      reinterpret_cast<LPARAM>(this));
    const DWORD error = GetLastError();
    if (created && failure_) DestroyWindow(created);  // its set-up failed half-way
    rethrowFailure();
    if (!created) {
        showCreationFailure(parent, error);
        return nullptr;
    }
    ShowWindow(created, showCommand);
    return created;
}

INT_PTR CALLBACK Dialog::sharedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG && lParam) {
            auto* object = reinterpret_cast<Dialog*>(lParam);
            object->window = dialog;
            dialogs[dialog] = object;
        }
    } catch (...) {
        return FALSE;  // no memory for the entry: the dialog runs with default handling
    }
    Dialog* object = findDialog(dialog);
    if (!object) return FALSE;  // messages before WM_INITDIALOG, or after the object ended
    const INT_PTR result = object->guardedDialogProc(message, wParam, lParam);
    if (message == WM_DESTROY && findDialog(dialog) == object) {
        dialogs.erase(dialog);
        object->window = nullptr;
    }
    return result;
}

INT_PTR Dialog::guardedDialogProc(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return dialogProc(message, wParam, lParam);
    } catch (...) {
        keepFailure(std::current_exception());
        return FALSE;
    }
}

// Exceptions must not unwind through the dialog manager. A modal dialog ends and
// doModal throws the failure again; a page inside a modal dialog hands it to
// that dialog; a modeless dialog keeps it for createModeless.
void Dialog::keepFailure(std::exception_ptr failure) {
    if (!modal_ && window) {
        Dialog* root = findDialog(GetAncestor(window, GA_ROOT));
        if (root && root != this && root->modal_) {
            root->keepFailure(failure);
            return;
        }
    }
    if (!failure_) failure_ = failure;
    if (modal_ && window) EndDialog(window, -1);
}

void Dialog::rethrowFailure() {
    if (!failure_) return;
    std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
}

void Dialog::showCreationFailure(HWND parent, DWORD error) {
    const WindowException failure = makeWindowException(error);
    MessageBoxW(parent, failure.message().c_str(), loadText(warningCaptionId).c_str(), MB_ICONWARNING);
}
