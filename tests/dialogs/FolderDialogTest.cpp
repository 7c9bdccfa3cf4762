// The folder dialog driven as a user would: it opens at the start folder with
// the display-mode list, OK returns the chosen folder and mode, Cancel changes
// nothing, and a folder without a file-system path is refused with 5004.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <functional>
#include <string>
#include <vector>

#include "app/DisplayMode.h"
#include "app/Texts.h"
#include "dialogs/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "ui/main/FolderDialog.h"

namespace {

constexpr int modeLabelId = 1007;
constexpr int modeListId = 5503;
constexpr int dialogProcHolderId = 5504;
constexpr int treeProcHolderId = 5509;

void initialiseShellOnce() {
    static const bool done = [] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

// Wine's shell learns the drives in the background the first time it is asked
// in a process; a browser opened before that cannot walk to a path on C:, and
// does not look again. Wait until "My Computer" lists drive C:.
bool computerListsDriveC() {
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) return false;
    PIDLIST_ABSOLUTE computerItem = nullptr;
    IShellFolder* computer = nullptr;
    IEnumIDList* items = nullptr;
    bool found = false;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computerItem)) &&
        SUCCEEDED(
            desktop->BindToObject(computerItem, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&computer))) &&
        computer->EnumObjects(nullptr, SHCONTF_FOLDERS, &items) == S_OK) {
        PITEMID_CHILD item = nullptr;
        while (!found && items->Next(1, &item, nullptr) == S_OK) {
            STRRET name{};
            wchar_t text[MAX_PATH] = {};
            if (SUCCEEDED(computer->GetDisplayNameOf(item, SHGDN_FORPARSING, &name)) &&
                SUCCEEDED(StrRetToBufW(&name, item, text, MAX_PATH))) {
                found = _wcsicmp(text, L"C:\\") == 0;
            }
            CoTaskMemFree(item);
        }
    }
    if (items) items->Release();
    if (computer) computer->Release();
    CoTaskMemFree(computerItem);
    desktop->Release();
    return found;
}

void waitForDrives() {
    for (int attempt = 0; attempt < 100 && !computerListsDriveC(); ++attempt) Sleep(100);
}

// Two recording folders on drive C: (outside the hidden profile folders, which
// the browser does not list).
class CardFolders {
public:
    CardFolders() {
        root_ = L"C:\\orvelle-folder-dialog-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
        CreateDirectoryW(first().c_str(), nullptr);
        CreateDirectoryW(second().c_str(), nullptr);
        for (const auto& folder : {root_, first(), second()}) readOnce(folder);
    }
    ~CardFolders() {
        RemoveDirectoryW(second().c_str());
        RemoveDirectoryW(first().c_str());
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring first() const { return root_ + L"\\EV000001"; }
    std::wstring second() const { return root_ + L"\\EV000002"; }

private:
    // The shell's item lists carry each folder's access time, and the browser
    // matches a path against its tree byte for byte. The first read of a new
    // folder moves that time, so a folder first read between the tree being
    // filled and a path being looked up is never found. Read each folder once
    // now, while nothing looks at it.
    static void readOnce(const std::wstring& folder) {
        WIN32_FIND_DATAW entry{};
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return;
        while (FindNextFileW(search, &entry)) {
        }
        FindClose(search);
    }

    std::wstring root_;
};

struct PathBuffer {
    explicit PathBuffer(const std::wstring& start) { wcsncpy(text, start.c_str(), MAX_PATH - 1); }
    wchar_t text[MAX_PATH] = {};
};

HWND createOwner() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"viewer", WS_POPUP | WS_VISIBLE, 100, 80, 700, 500, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(owner);
    return owner;
}

RECT clientRectangleOf(HWND control) {
    RECT rectangle{};
    GetWindowRect(control, &rectangle);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rectangle), 2);
    return rectangle;
}

std::wstring selectedTreeItem(HWND dialog) {
    return selectedTreeText(FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr));
}

std::vector<std::wstring> listItems(HWND list) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 64)
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// What the test saw of the browser before acting on it.
struct BrowserLook {
    std::wstring selected;
    bool hasModeList = false;
    std::vector<std::wstring> modes;
    LRESULT shownMode = CB_ERR;
    std::wstring label;
    bool listFirstInTabOrder = false;
    RECT labelPlace{}, listPlace{}, okPlace{}, cancelPlace{};
    bool contextHelp = true;
    bool dialogHolderHidden = false;
    bool treeHolderHidden = false;
    POINT centre{};
};

BrowserLook look(HWND dialog) {
    BrowserLook seen;
    seen.selected = selectedTreeItem(dialog);
    HWND list = GetDlgItem(dialog, modeListId);
    seen.hasModeList = list != nullptr;
    if (list) {
        seen.modes = listItems(list);
        seen.shownMode = SendMessageW(list, CB_GETCURSEL, 0, 0);
        seen.label = windowText(GetDlgItem(dialog, modeLabelId));
        seen.listFirstInTabOrder = GetWindow(dialog, GW_CHILD) == list;
        seen.labelPlace = clientRectangleOf(GetDlgItem(dialog, modeLabelId));
        seen.listPlace = clientRectangleOf(list);
        seen.okPlace = clientRectangleOf(GetDlgItem(dialog, IDOK));
        seen.cancelPlace = clientRectangleOf(GetDlgItem(dialog, IDCANCEL));
    }
    seen.contextHelp = (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP) != 0;
    HWND dialogHolder = GetDlgItem(dialog, dialogProcHolderId);
    seen.dialogHolderHidden = dialogHolder && !IsWindowVisible(dialogHolder);
    HWND tree = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr);
    HWND treeHolder = tree ? GetDlgItem(tree, treeProcHolderId) : nullptr;
    seen.treeHolderHidden = treeHolder && !IsWindowVisible(treeHolder);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    seen.centre = {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    return seen;
}

// Lets the browser settle (painted, laid out) for a few ticks and looks at it;
// from then on hands it to the test at every tick with the step number, until
// the test presses a button. Message boxes are read and answered.
class BrowserScript {
public:
    explicit BrowserScript(std::function<void(HWND, int)> act)
        : driver_([this, act](HWND box) {
              if (isMessageBox(box)) {
                  boxes.push_back(answerMessageBox(box));
                  return;
              }
              if (++ticks_ < 3) return;
              if (ticks_ == 3) seen = look(box);
              act(box, ticks_ - 3);
          }) {}

    BrowserLook seen;
    std::vector<ShownBox> boxes;

private:
    int ticks_ = 0;
    DialogDriver driver_;
};

class FolderDialog : public ::testing::Test {
protected:
    // Created once: the browser refreshes its tree when it hears of new folders.
    static void SetUpTestSuite() {
        initialiseShellOnce();
        folders = new CardFolders;
        waitForDrives();
    }
    static void TearDownTestSuite() {
        delete folders;
        folders = nullptr;
    }
    void SetUp() override {
        initialiseShellOnce();
        owner = createOwner();
    }
    void TearDown() override {
        DestroyWindow(owner);
        displayMode = 0;
    }

    static CardFolders* folders;
    HWND owner = nullptr;
};

CardFolders* FolderDialog::folders = nullptr;

TEST_F(FolderDialog, RecordingFolderOpensAtTheStartFolderAndOkReturnsTheChosenFolderAndMode) {
    displayMode = DisplayModeVideo;
    PathBuffer path(folders->first());
    BrowserScript script([&](HWND dialog, int step) {
        if (step > 40) pressButton(dialog, IDCANCEL);  // the selection never took: fail, do not hang
        if (selectedTreeItem(dialog) != L"EV000002") {
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folders->second().c_str()));
            return;
        }
        SendDlgItemMessageW(dialog, modeListId, CB_SETCURSEL, DisplayModeOneShot, 0);
        pressButton(dialog, IDOK);
    });
    ASSERT_TRUE(chooseRecordingFolder(owner, path.text));

    EXPECT_STREQ(path.text, folders->second().c_str());
    EXPECT_EQ(displayMode, DisplayModeOneShot);
    EXPECT_TRUE(script.boxes.empty());

    const BrowserLook& seen = script.seen;
    EXPECT_EQ(seen.selected, L"EV000001");
    ASSERT_TRUE(seen.hasModeList);
    EXPECT_EQ(seen.modes, (std::vector<std::wstring>{L"ｲﾍﾞﾝﾄﾒﾓﾘｰ", L"ﾜﾝｼｮｯﾄﾒﾓﾘｰ", L"ﾋﾞﾃﾞｵﾒﾓﾘｰ"}));
    EXPECT_EQ(seen.shownMode, DisplayModeVideo);
    EXPECT_EQ(seen.label, L"ﾃﾞｰﾀ種別:");
    EXPECT_TRUE(seen.listFirstInTabOrder);
    EXPECT_FALSE(seen.contextHelp);
    EXPECT_TRUE(seen.dialogHolderHidden);
    EXPECT_TRUE(seen.treeHolderHidden);

    // The list and its label sit at the left of the button row, OK and Cancel beside them.
    const int row = seen.okPlace.top;
    EXPECT_EQ(seen.labelPlace.left, 18);
    EXPECT_EQ(seen.labelPlace.top, row + 5);
    EXPECT_EQ(seen.listPlace.left, 73);
    EXPECT_EQ(seen.listPlace.top, row);
    EXPECT_EQ(seen.okPlace.left, 169);
    EXPECT_EQ(seen.cancelPlace.left, (seen.okPlace.right - seen.okPlace.left) + 175);
    EXPECT_EQ(seen.cancelPlace.top, row);

    RECT frame{};
    GetWindowRect(owner, &frame);
    EXPECT_NEAR(seen.centre.x, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR(seen.centre.y, (frame.top + frame.bottom) / 2, 1);
}

TEST_F(FolderDialog, CancelLeavesPathAndDisplayModeAlone) {
    displayMode = DisplayModeVideo;
    PathBuffer path(folders->first());
    BrowserScript script([&](HWND dialog, int) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folders->second().c_str()));
        SendDlgItemMessageW(dialog, modeListId, CB_SETCURSEL, DisplayModeEvent, 0);
        pressButton(dialog, IDCANCEL);
    });
    EXPECT_FALSE(chooseRecordingFolder(owner, path.text));
    EXPECT_STREQ(path.text, folders->first().c_str());
    EXPECT_EQ(displayMode, DisplayModeVideo);
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(FolderDialog, VirtualFolderIsRefusedWith5004AndChangesNothing) {
    displayMode = DisplayModeEvent;
    PathBuffer path(folders->first());
    BrowserScript script([&](HWND dialog, int step) {
        if (step == 2) {
            SendDlgItemMessageW(dialog, modeListId, CB_SETCURSEL, DisplayModeVideo, 0);
            pressButton(dialog, IDOK);
        }
        if (step != 0) return;
        PIDLIST_ABSOLUTE computer = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
        SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
        CoTaskMemFree(computer);
    });
    EXPECT_FALSE(chooseRecordingFolder(owner, path.text));

    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].text, loadText(5004));
    EXPECT_EQ(script.boxes[0].caption, loadText(5005));
    EXPECT_EQ(script.boxes[0].owner, owner);
    EXPECT_STREQ(path.text, folders->first().c_str());
    EXPECT_EQ(displayMode, DisplayModeEvent);
}

TEST_F(FolderDialog, CardDrivePromptHasNoModeListButTheSameAdjustments) {
    displayMode = DisplayModeOneShot;
    PathBuffer path(folders->second());
    BrowserScript script([&](HWND dialog, int) { pressButton(dialog, IDOK); });
    ASSERT_TRUE(chooseFolder(loadText(5011), owner, path.text));

    EXPECT_STREQ(path.text, folders->second().c_str());
    EXPECT_EQ(displayMode, DisplayModeOneShot);
    EXPECT_EQ(script.seen.selected, L"EV000002");
    EXPECT_FALSE(script.seen.hasModeList);
    EXPECT_FALSE(script.seen.contextHelp);
    EXPECT_TRUE(script.seen.dialogHolderHidden);
    EXPECT_TRUE(script.seen.treeHolderHidden);
}

}  // namespace
