#include "ui/main/MainWindow.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwchar>

#include "app/Application.h"
#include "app/DisplayMode.h"
#include "app/Exception.h"
#include "app/Texts.h"
#include "app/WindowError.h"
#include "maintenance/CardRestore.h"
#include "maintenance/MaintenanceCommands.h"
#include "media/AlphaImage.h"
#include "media/Animation.h"
#include "media/Thumbnail.h"
#include "media/VideoPlayer.h"
#include "platform/FileSystem.h"
#include "recording/ChapterList.h"
#include "recording/IVideoInfo.h"
#include "recording/RecordingFolder.h"
#include "resources/ImageIds.h"
#include "resources/MenuIds.h"
#include "ui/main/ConfigPanel.h"
#include "ui/main/ConsolePanel.h"
#include "ui/main/ExportCommand.h"
#include "ui/main/FolderDialog.h"
#include "ui/main/Help.h"
#include "ui/main/InfoPanel.h"
#include "ui/main/KeyboardShortcuts.h"
#include "ui/main/LineChart.h"
#include "ui/main/NeighbourFolder.h"
#include "ui/main/PlaybackCommands.h"

namespace {

constexpr wchar_t className[] = L"MainWindow";
constexpr int columnWidth = 209;
constexpr int leftStripWidth = 21;
constexpr int consoleHeight = 65;
constexpr UINT warningStyle = MB_ICONWARNING;            // 0x30
constexpr UINT closeQuestionStyle = MB_ICONQUESTION | MB_OKCANCEL;  // 0x21
constexpr int titleLimit = 1024;

bool classRegistered = false;

std::wstring executableFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

void copyPath(wchar_t* target, const std::wstring& source) {
    wcsncpy(target, source.c_str(), MAX_PATH - 1);
    target[MAX_PATH - 1] = L'\0';
}

std::wstring displayModeName() {
    switch (displayMode) {
    case DisplayModeOneShot: return loadText(5507);
    case DisplayModeVideo: return loadText(5508);
    default: return loadText(5506);
    }
}

// At once: what is drawn straight after a repaint (the player's loading
// notice) would otherwise be wiped by the paint at the next turn of the loop.
void repaint(Window* window, bool erase) {
    if (!window || !window->handle()) return;
    InvalidateRect(window->handle(), nullptr, erase ? TRUE : FALSE);
    UpdateWindow(window->handle());
}

}  // namespace

MainWindow::MainWindow() {
    const std::wstring folder = executableFolder();
    copyPath(currentFolder_, folder);
    copyPath(cardFolder_, folder);
    registerClassOnce();
    createWindow();
    loadDecoration();
    createChildren();
    consolePanel_->update();
    if (!GetFocus()) SetFocus(handle());
    applyModeLayout();
}

MainWindow::~MainWindow() = default;

void MainWindow::registerClassOnce() {
    if (classRegistered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = applicationInstance();
    windowClass.hIcon = LoadIconW(applicationInstance(), MAKEINTRESOURCEW(294));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass)) throw makeWindowException(GetLastError());
    classRegistered = true;
}

void MainWindow::createWindow() {
    HMENU menu = LoadMenuW(applicationInstance(), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    const bool vista = osVersion().dwMajorVersion == 6;
    const int width = vista ? 890 : 882;
    const int height = vista ? 697 : 693;
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int x = desktop.left + (desktop.right - desktop.left - width) / 2;
    const int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    create(WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, className, applicationTitle().c_str(),
           WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, width, height, nullptr, menu, applicationInstance(), nullptr);
    // Beyond the menu, a folder dropped from the file manager opens as if chosen.
    DragAcceptFiles(handle(), TRUE);
}

void MainWindow::loadDecoration() {
    // A picture that does not load leaves the background to a plain fill.
    auto load = [](int id) {
        auto picture = std::make_unique<AlphaImage>(id);
        return picture->image() ? std::move(picture) : nullptr;
    };
    columnTop_ = load(IDB_COLUMN_TOP);
    columnMiddle_ = load(IDB_COLUMN_MIDDLE);
    columnBottom_ = load(IDB_COLUMN_BOTTOM);
    leftStrip_ = load(IDB_LEFT_STRIP);
}

void MainWindow::createChildren() {
    player_ = new VideoPlayer(*this);
    configPanel_ = new ConfigPanel(handle(), *this, *player_);
    consolePanel_ = new ConsolePanel(handle(), *this, *player_);
    infoPanel_ = new InfoPanel(handle(), *player_);
    lineChart_ = new LineChart(handle(), *player_);
    thumbnail_ = new Thumbnail(*this);
    playbackCommands_ = std::make_unique<PlaybackCommands>(*this);
    keyboardShortcuts_ = std::make_unique<KeyboardShortcuts>(*this);
}

void MainWindow::startLogoAnimation() {
    if (animation_) return;
    RECT area;
    GetClientRect(player_->handle(), &area);
    const int x = (area.right - area.left - Animation::width) / 2;
    const int y = (area.bottom - area.top - Animation::height) / 2;
    animation_ = new Animation(player_->handle(), x, y);
    animation_->start();
}

LRESULT MainWindow::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_PAINT: onPaint(); return 0;
    case WM_CLOSE: onClose(); return 0;
    case WM_ERASEBKGND: onEraseBackground(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_MOUSEACTIVATE:
    case WM_ACTIVATE: return 0;
    case WM_GETMINMAXINFO: onMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_DROPFILES: onDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_INITMENUPOPUP: onInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_COMMAND:
        if (lParam == 0) {
            onCommand(LOWORD(wParam));
            return 0;
        }
        break;
    }
    return Window::windowProc(message, wParam, lParam);
}

// The class styles redraw only the main window's own background: with clip-
// children the children are left out, and they move with their pixels copied
// from the old place. Those pixels are gone, for the window's surface is rebuilt
// at every size change (black after maximising, a shifted piece after a drag),
// so every child is repainted whole, with the erase in which the panels draw.
void MainWindow::onSize(int width, int height) {
    layoutChildren(width, height);
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::onPaint() {
    PAINTSTRUCT paint;
    BeginPaint(handle(), &paint);
    EndPaint(handle(), &paint);
}

void MainWindow::onClose() { confirmClose(); }

void MainWindow::onEraseBackground(HDC dc) { paintBackground(dc); }

void MainWindow::onMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize.x = minimumWidth;
    info->ptMinTrackSize.y = minimumHeight;
}

void MainWindow::onDropFiles(HDROP drop) {
    wchar_t path[MAX_PATH] = {};
    const bool single = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) >= 1 && DragQueryFileW(drop, 0, path, MAX_PATH);
    DragFinish(drop);
    if (single && PathIsDirectoryW(path)) openFolder(path);
}

void MainWindow::onCommand(int command) {
    // Playback keys act on playback, which must not be paused first.
    if (playbackCommands_->run(command)) return;
    if (command != IDM_EXIT) pauseIfPlaying();
    switch (command) {
    case IDM_OPEN: chooseAndOpenFolder(); break;
    case IDM_EXIT: SendMessageW(handle(), WM_CLOSE, 0, 0); break;
    case IDM_RECORDER_SETTINGS: runSettingsCommand(handle(), cardFolder_); break;
    case IDM_DATE_TIME: runDateTimeCommand(handle(), cardFolder_); break;
    case IDM_HELP: openHelpCommand(); break;
    case IDM_ABOUT: runAboutCommand(handle()); break;
    case IDM_RESTORE_CARD: restoreCard(handle(), cardFolder_); break;
    case IDM_EXPORT: exportCommand(); break;
    default: break;
    }
}

void MainWindow::onInitMenuPopup(HMENU menu) {
    EnableMenuItem(menu, IDM_EXPORT, MF_BYCOMMAND | (isShowingSomething() ? MF_ENABLED : MF_GRAYED));
}

// Video memory offers the open chapter besides the whole folder.
void MainWindow::exportCommand() {
    if (!isShowingSomething()) return;
    ExportSubject subject;
    subject.mode = displayMode;
    subject.folder = currentFolder_;
    if (displayMode == DisplayModeVideo) {
        ChapterTable chapters;
        int count = 0;
        bool tooMany = false;
        try {
            listChapters(currentFolder_, chapters, count, tooMany);
        } catch (const Exception&) {
            count = 0;
        }
        if (player_->chapter() >= 0 && player_->chapter() < count) subject.chapter = chapters[player_->chapter()];
    }
    runExportCommand(handle(), subject);
}

void MainWindow::openHelpCommand() {
    try {
        openHelp();
    } catch (const Exception&) {
        warn(loadText(5058));
    }
}

void MainWindow::layoutChildren(int width, int height) {
    int y = height;
    if (lineChart_->isEnabled()) {
        y -= bottomBandHeight;
        MoveWindow(lineChart_->handle(), 0, y, width, bottomBandHeight, TRUE);
    }
    if (thumbnail_->isEnabled()) {
        y -= bottomBandHeight;
        MoveWindow(thumbnail_->handle(), 0, y, width, bottomBandHeight, TRUE);
    }
    MoveWindow(consolePanel_->handle(), 0, y - consoleHeight, width, consoleHeight, TRUE);
    MoveWindow(configPanel_->handle(), width - columnWidth, y - 205, columnWidth, 140, TRUE);
    MoveWindow(infoPanel_->handle(), width - columnWidth, 0, columnWidth, 180, TRUE);
    MoveWindow(player_->handle(), leftStripWidth, 0, width - 230, y - consoleHeight, TRUE);
    if (animation_) {
        MoveWindow(animation_->handle(), (width - 510) / 2, (y - 138) / 2, Animation::width, Animation::height, TRUE);
    }
}

void MainWindow::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (!columnTop_ || !columnMiddle_ || !columnBottom_ || !leftStrip_) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    const int x = client.right - columnWidth;
    columnTop_->draw(dc, x, 180);
    const int bottom = client.bottom - (columnBottom_->height() + 295);
    for (int y = 180 + columnTop_->height(); y < bottom; y += columnMiddle_->height()) {
        const int tile = std::min(columnMiddle_->height(), bottom - y);
        columnMiddle_->draw(dc, x, y, columnWidth, tile, 0, columnWidth, tile);
    }
    columnBottom_->draw(dc, x, bottom);
    leftStrip_->draw(dc, 0, 0, leftStripWidth, client.bottom - 155);
}

void MainWindow::applyModeLayout() {
    const bool oneShot = displayMode == DisplayModeOneShot;
    RECT client;
    GetClientRect(handle(), &client);
    const int bandTop = client.bottom - bottomBandHeight;
    const int bandWidth = client.right - client.left;
    if (oneShot) {
        lineChart_->setEnabled(false);
        lineChart_->setVisible(false);
        consolePanel_->setEnabled(false);
        thumbnail_->setEnabled(true);
        thumbnail_->setVisible(true);
        MoveWindow(thumbnail_->handle(), client.left, bandTop, bandWidth, bottomBandHeight, TRUE);
    } else {
        lineChart_->setEnabled(true);
        lineChart_->setVisible(true);
        consolePanel_->setEnabled(true);
        thumbnail_->setEnabled(false);
        thumbnail_->setVisible(false);
        MoveWindow(lineChart_->handle(), client.left, bandTop, bandWidth, bottomBandHeight, TRUE);
    }
    configPanel_->setSoundControlsEnabled(!oneShot);
    consolePanel_->setControlsEnabled(!oneShot);
}

bool MainWindow::isShowingSomething() const {
    return player_->info() != nullptr || thumbnail_->loadedCount() > 0 || thumbnail_->isAllLoaded();
}

std::wstring MainWindow::titleText() const {
    if (!isShowingSomething()) return applicationTitle();
    std::wstring caption = displayModeName() + L" " + currentFolder_ + L" - " + applicationTitle();
    if (caption.size() > titleLimit - 1) caption.resize(titleLimit - 1);
    return caption;
}

void MainWindow::updateTitle() {
    SetWindowTextW(handle(), titleText().c_str());
    repaint(infoPanel_, true);
    repaint(consolePanel_, true);
    HDC dc = GetDC(handle());
    paintBackground(dc);
    ReleaseDC(handle(), dc);
}

void MainWindow::refresh() {
    consolePanel_->update();
    if (!GetFocus()) SetFocus(handle());
    if (lineChart_->isEnabled()) lineChart_->followCurrentFrame();
}

void MainWindow::repaintInformationPanel() { repaint(infoPanel_, true); }

void MainWindow::resetChart() { lineChart_->reset(); }

void MainWindow::emptyThumbnails() {
    thumbnail_->reset();
    thumbnail_->repaint(false);
    thumbnail_->updateButtons();
}

void MainWindow::closeRecording() {
    player_->close();
    repaint(player_, true);
    refresh();
}

void MainWindow::resetToEmpty() {
    closeRecording();
    emptyThumbnails();
    // Also while disabled: after one-shot mode the chart still holds the
    // recording open before, and the empty view enables it again.
    if (lineChart_->hasCachedChart()) {
        lineChart_->dropChart();
        repaint(lineChart_, true);
    }
    displayMode = DisplayModeEvent;
    applyModeLayout();
    updateTitle();
    repaint(this, true);
}

void MainWindow::showOneShotPicture(int index) {
    try {
        const bool valid = index >= 0 && index < thumbnail_->totalCount();
        player_->setOneShotPath(valid ? thumbnail_->picturePath(index) : std::wstring());
        player_->openOneShot(currentFolder_);
        updateTitle();
    } catch (const Exception& failure) {
        updateTitle();
        warn(failure.message());
    }
}

void MainWindow::pauseIfPlaying() {
    if (player_->playState() == VideoPlayer::statePlaying) player_->pause();
}

bool MainWindow::chooseDisplayMode(const std::wstring& folder) {
    const int counts[3] = {countMatching(folder, patternFor(DisplayModeEvent)),
                           countMatching(folder, patternFor(DisplayModeOneShot)),
                           countMatching(folder, patternFor(DisplayModeVideo))};
    const int kinds = (counts[0] > 0) + (counts[1] > 0) + (counts[2] > 0);
    if (kinds == 0) return false;
    if (kinds == 1) {
        displayMode = counts[0] ? DisplayModeEvent : counts[1] ? DisplayModeOneShot : DisplayModeVideo;
        return true;
    }
    return displayMode >= 0 && displayMode <= 2 && counts[displayMode] > 0;
}

void MainWindow::chooseAndOpenFolder() {
    wchar_t chosen[MAX_PATH];
    copyPath(chosen, currentFolder_);
    if (chooseRecordingFolder(handle(), chosen)) openFolder(chosen);
}

void MainWindow::destroyAnimation() {
    if (!animation_) return;
    DestroyWindow(animation_->handle());  // the framework deletes the object
    animation_ = nullptr;
}

// The folder is kept as the file system spells it: the neighbour search finds
// it by its exact name, and a path given in other letter case would not match.
void MainWindow::openFolder(const std::wstring& path) {
    pauseIfPlaying();
    copyPath(currentFolder_, spellingOnDisk(path));
    try {
        openFolderSteps();
    } catch (const Exception& failure) {
        recoverFromFailedOpen(failure.message());
    }
}

void MainWindow::openFolderSteps() {
    destroyAnimation();
    if (!chooseDisplayMode(currentFolder_)) {
        closeRecording();
        emptyThumbnails();
        throw Exception(loadText(5505));
    }
    applyModeLayout();
    consolePanel_->setModeTooltips(displayMode);
    player_->setOpenMode(displayMode);
    switch (displayMode) {
    case DisplayModeOneShot: openOneShotFolder(); break;
    case DisplayModeVideo: openVideoFolder(); break;
    default: openEventFolder(); break;
    }
    lineChart_->reset();
    updateTitle();
    if (displayMode == DisplayModeOneShot) return;  // waits for a chosen picture
    if (player_->playState() == VideoPlayer::statePaused) {
        player_->resume();
    } else {
        player_->playFrom(player_->currentFrame());
    }
}

void MainWindow::openEventFolder() {
    emptyThumbnails();
    closeRecording();
    repaintInformationPanel();
    lineChart_->reset();
    player_->openEventRecording(currentFolder_);
}

void MainWindow::openOneShotFolder() {
    closeRecording();
    repaintInformationPanel();
    player_->showLoading();
    if (thumbnail_->openOneShotFolder(currentFolder_)) warn(loadText(5516));
}

void MainWindow::openVideoFolder() {
    emptyThumbnails();
    closeRecording();
    repaintInformationPanel();
    lineChart_->reset();
    resetPositionBar();
    player_->showLoading();
    player_->buildChapterList(currentFolder_);
    if (!player_->openChapter(0)) throw VideoArchiveException(loadText(5510));
}

void MainWindow::resetPositionBar() { consolePanel_->resetPosition(); }

void MainWindow::recoverFromFailedOpen(const std::wstring& message) {
    repaint(player_, true);
    displayMode = DisplayModeEvent;
    applyModeLayout();
    lineChart_->reset();
    thumbnail_->repaint();
    updateTitle();
    warn(message);
}

void MainWindow::openNeighbourFolder(int direction) {
    pauseIfPlaying();
    std::wstring neighbour;
    try {
        neighbour = findNeighbourFolder(currentFolder_, direction);
        if (displayMode == DisplayModeVideo) {
            if (countMatching(neighbour, patternFor(DisplayModeVideo)) == 0) throw Exception(L"");
            resetPositionBar();
        } else if (!platform::isFile(platform::joinPath(neighbour, L"VideoInf.dat")) &&
                   !platform::isFile(platform::joinPath(neighbour, L"Video.dvt"))) {
            throw Exception(L"");
        }
    } catch (const DataMissingException&) {
        resetToEmpty();
        warn(loadText(5078));
        return;
    } catch (const Exception&) {
        warn(loadText(direction == PanelOwner::previousFolder ? 5066 : 5065));
        return;
    }
    openFolder(neighbour);
}

void MainWindow::confirmClose() {
    pauseIfPlaying();
    if (isShowingSomething() &&
        MessageBoxW(handle(), loadText(5059).c_str(), loadText(5013).c_str(), closeQuestionStyle) != IDOK) {
        return;
    }
    DestroyWindow(handle());
}

void MainWindow::warn(const std::wstring& text) const {
    MessageBoxW(handle(), text.c_str(), loadText(5005).c_str(), warningStyle);
}
