#pragma once
// What the maintenance dialog tests share: the common controls and model code
// that start-up would set, an owner window standing for the main window, and a
// card choice that answers without the system's folder browser.
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "maintenance/CardChooser.h"
#include "maintenance/FirmInfo.h"

// Common controls (tabs, sliders, up-downs, date picker) and the model code.
void prepareMaintenanceTests();

// A visible top-level window owning the dialogs, destroyed at the end.
class TestOwner {
public:
    TestOwner();
    ~TestOwner();
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// Each call takes the next answer: a folder to choose, or an empty text to
// cancel. No answers left: cancel. Records the prompts and owners it was given.
class CardChoice {
public:
    explicit CardChoice(std::deque<std::wstring> answers) : answers_(std::move(answers)) {}
    CardChooser chooser();

    std::vector<std::wstring> prompts;
    std::vector<HWND> owners;

private:
    std::deque<std::wstring> answers_;
};

// The items of a settings file (throws as FirmInfo does).
FirmInfo readSettingsFile(const std::wstring& path);
