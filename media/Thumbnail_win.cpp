#include "media/Thumbnail.h"
// mmsystem.h only after windows.h, which the strip's header brings.
#include <mmsystem.h>

#include <cwchar>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/ImageListView.h"
#include "media/Miniature.h"
#include "media/ResourceImage.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"
#include "resources/ImageIds.h"
#include "ui/controls/TrackToolTip.h"

namespace {

constexpr int kWarningCaption = 5005;
constexpr int kPreviousTip = 5074;
constexpr int kNextTip = 5075;
constexpr int kFolderGoneText = 5078;
constexpr int kCannotReadText = 5510;
constexpr int kFirstTip = 5512;
constexpr int kLastTip = 5513;

constexpr int kButtonSize = 30;
constexpr int kButtonTop = 31;
constexpr int kFirstButtonLeft = 6;
constexpr int kPreviousButtonLeft = 39;
constexpr int kLastButtonFromRight = 36;
constexpr int kNextButtonFromRight = 69;
constexpr int kListHalfWidth = 253;
constexpr int kListTop = 2;
constexpr int kListWidth = 506;
constexpr int kListHeight = 90;

constexpr const wchar_t* kNoTimeCaption = L"----/--/-- --:--:--";

}  // namespace

Thumbnail::Thumbnail(ThumbnailOwner& owner) : owner_(owner) {
    create(WS_EX_CONTROLPARENT, defaultClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, owner.ownerWindow(), nullptr,
           GetModuleHandleW(nullptr), nullptr);
    background_ = CreateSolidBrush(RGB(255, 255, 255));
    createButtons();
    list_ = new ImageListView(handle(), 0, kListTop, kListWidth, kListHeight);
    createToolTips();
    leftPicture_ = std::make_unique<AlphaImage>(IDB_STRIP_LEFT);
    middlePicture_ = std::make_unique<AlphaImage>(IDB_STRIP_MIDDLE);
    rightPicture_ = std::make_unique<AlphaImage>(IDB_STRIP_RIGHT);
    loader_ = std::make_unique<ImageLoader>(handle(), decodeMiniature);
}

Thumbnail::~Thumbnail() {
    reset();
    loader_.reset();
    if (background_) DeleteObject(background_);
}

void Thumbnail::createButtons() {
    firstButton_ = createButton(kFirstButtonLeft, IDB_STRIP_FIRST, IDB_STRIP_FIRST_PRESSED, IDB_STRIP_FIRST_DISABLED);
    lastButton_ = createButton(kFirstButtonLeft, IDB_STRIP_LAST, IDB_STRIP_LAST_PRESSED, IDB_STRIP_LAST_DISABLED);
    previousButton_ =
        createButton(kPreviousButtonLeft, IDB_STRIP_PREVIOUS, IDB_STRIP_PREVIOUS_PRESSED, IDB_STRIP_PREVIOUS_DISABLED);
    nextButton_ = createButton(kPreviousButtonLeft, IDB_STRIP_NEXT, IDB_STRIP_NEXT_PRESSED, IDB_STRIP_NEXT_DISABLED);
}

ImageButton* Thumbnail::createButton(int x, int normalId, int pressedId, int disabledId) {
    auto* button = new ImageButton(handle(), x, kButtonTop, kButtonSize, kButtonSize);
    button->setImages(normalId, pressedId, disabledId);
    button->listener = this;
    // Nothing can be chosen before the first folder has loaded.
    button->setEnabled(false);
    return button;
}

void Thumbnail::createToolTips() {
    toolTip_ = new TrackToolTip(handle());
    toolTip_->addTool(loadText(kFirstTip), firstButton_->handle());
    toolTip_->addTool(loadText(kLastTip), lastButton_->handle());
    toolTip_->addTool(loadText(kPreviousTip), previousButton_->handle());
    toolTip_->addTool(loadText(kNextTip), nextButton_->handle());
}

LRESULT Thumbnail::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            onSize(LOWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            onEraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom != list_->handle()) break;
            return onListNotify(reinterpret_cast<NMHDR*>(lParam));
        case ImageLoader::tickMessage:
            onTick();
            return 0;
        case ImageLoader::imageReadyMessage:
            onPictureArrived(static_cast<int>(wParam), reinterpret_cast<Image*>(lParam));
            return 0;
        default:
            break;
    }
    return Window::windowProc(message, wParam, lParam);
}

// ---- Operations ----

bool Thumbnail::openOneShotFolder(const std::wstring& folder) {
    try {
        return openFolder(folder);
    } catch (const Exception& failure) {
        throw Exception(failure.message());
    }
}

bool Thumbnail::openFolder(const std::wstring& folder) {
    reset();
    updateButtons();
    repaint();
    folder_ = folder;
    const bool tooMany =
        loader_->runLocked([&](VideoArchive& archive) { return archive.readOneShotFolder(folder, true); });
    if (loader_->archive().frameCount() < 1) throw ThumbnailException(loadText(kCannotReadText));
    info_ = std::make_unique<VideoInfo07>(loader_->archive());
    total_ = info_->frameCount();
    list_->clear();
    startLoading();
    updateButtons();
    return tooMany;
}

void Thumbnail::reset() {
    loader_->cancel();
    selected_ = 0;
    loaded_ = 0;
    total_ = 0;
    allLoaded_ = false;
    folder_.clear();
    list_->clear();
    info_.reset();
    arrived_.reset();
    gathered_.clear();
    groupPictures_.clear();
    loader_->closeArchive();
    // After the close, which waits for a decode in progress to be posted: no
    // picture of this folder may be taken for an entry of the next one.
    dropQueuedPictures();
}

void Thumbnail::updateButtons() {
    const bool backward = allLoaded_ && selected_ > 0;
    const bool forward = allLoaded_ && selected_ < total_ - 1;
    firstButton_->setEnabled(backward);
    previousButton_->setEnabled(backward);
    lastButton_->setEnabled(forward);
    nextButton_->setEnabled(forward);
}

void Thumbnail::repaint(bool erase) {
    RedrawWindow(handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | (erase ? RDW_ERASE : 0));
}

std::wstring Thumbnail::picturePath(int index) const {
    if (!info_ || index < 0 || index >= total_) return {};
    const FrameRecord* record = info_->frameRecord(index);
    return record ? record->path : std::wstring();
}

// ---- Loading ----

void Thumbnail::startLoading() {
    if (!platform::isFolder(folder_)) {
        dropVanishedFolder();
        throw Exception(loadText(kFolderGoneText));
    }
    loader_->armTick(tickPeriod);
    lastArrival_ = timeGetTime();
    requestRun();
}

// After every group taken in.
void Thumbnail::loadNext() {
    if (total_ == 0 || allLoaded_) return;
    if (loaded_ >= total_) {
        finishLoading();
        return;
    }
    loader_->armTick(tickPeriod);
    loader_->allowRunTo(loaded_ + aheadLimit());
}

// A tick already queued when a group came is stale; a tick after a quiet
// period means the run's request was refused, or the run was lost.
void Thumbnail::onTick() {
    if (total_ == 0 || allLoaded_) return;
    if (!addGathered()) return;
    if (loaded_ >= total_) {
        finishLoading();
        return;
    }
    loader_->armTick(tickPeriod);
    if (timeGetTime() - lastArrival_ >= tickPeriod) requestRun();
}

void Thumbnail::requestRun() {
    loader_->requestRun(loaded_, loaded_ + aheadLimit());
}

void Thumbnail::finishLoading() {
    allLoaded_ = true;
    highlight(selected_);
    updateButtons();
    owner_.showOneShotPicture(selected_);
}

// On the loader's worker. A picture file that cannot be opened gives no
// picture, and the entry the placeholder, so one bad file never stalls the
// strip; whether the whole folder went is decided when it arrives.
std::unique_ptr<Image> Thumbnail::decodeMiniature(VideoArchive& archive, int index) {
    std::unique_ptr<Image> picture =
        archive.decodeOneShotEntryToFit(index, ImageListView::cellWidth, ImageListView::cellHeight);
    if (!picture) return nullptr;
    return std::make_unique<Miniature>(*picture, captionOf(archive.record(index)));
}

// The strip empties itself before the owner's reset, so that no tick of the
// gone folder comes back with a second warning whatever the owner does.
void Thumbnail::dropVanishedFolder() {
    reset();
    updateButtons();
    repaint(false);
    owner_.resetToEmpty();
}

void Thumbnail::warnFolderGone() {
    const std::wstring text = loadText(kFolderGoneText);
    const std::wstring caption = loadText(kWarningCaption);
    MessageBoxW(owner_.ownerWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

void Thumbnail::dropQueuedPictures() {
    ImageLoader::dropQueuedImages(handle());
}

// Everything that has arrived is gathered; the gathered miniatures go into the
// list as one group, which is drawn once, when addingIsDue says so.
void Thumbnail::onPictureArrived(int index, Image* picture) {
    bool folderStays = takePicture(index, picture);
    MSG queued;
    while (folderStays && takeQueuedPicture(queued)) {
        folderStays = takePicture(static_cast<int>(queued.wParam), reinterpret_cast<Image*>(queued.lParam));
    }
    if (!folderStays) return;
    lastArrival_ = timeGetTime();
    // The loader goes on while the group is added and drawn.
    if (loaded_ < total_) loadNext();
    if (!addingIsDue()) return;
    const bool viewWasFilling = list_->itemCount() < screenful;
    if (!addGathered()) return;
    if (loaded_ >= total_ || viewWasFilling) loadNext();
}

// Until the view is filled the loader makes only what it shows, so that the
// first screenful has both cores; then it runs far ahead, so that it never
// waits while a group goes in.
int Thumbnail::aheadLimit() const {
    return list_->itemCount() < screenful ? screenful : runAhead;
}

// Each group costs the list a fixed price far above that of a miniature, and
// each group in sight a drawing: so the first screenful goes in as one group,
// and past it the miniatures, which are out of sight, every groupIntervalMs or
// groupLimit. The last goes in at once; should the loader stall, the tick adds
// what has come.
bool Thumbnail::addingIsDue() const {
    if (gathered_.empty()) return false;
    if (loaded_ >= total_) return true;
    const int gathered = static_cast<int>(gathered_.size());
    const int inList = list_->itemCount();
    if (inList < screenful) return inList + gathered >= screenful;
    return gathered >= groupLimit || timeGetTime() - lastGroupAdded_ >= groupIntervalMs;
}

// False when the folder has gone: the strip is then empty and has warned. The
// pictures come from files the listing opened, which may still be read after
// their folder went; so the folder is looked at before they go in.
bool Thumbnail::addGathered() {
    if (gathered_.empty()) return true;
    if (!platform::isFolder(folder_)) {
        dropVanishedFolder();
        warnFolderGone();
        return false;
    }
    const int firstNew = list_->itemCount();
    list_->beginGroup();
    addGroup(gathered_);
    gathered_.clear();
    groupPictures_.clear();
    list_->endGroup(firstNew);
    lastGroupAdded_ = timeGetTime();
    return true;
}

// False when the folder has gone: the strip is then empty and has warned.
bool Thumbnail::takePicture(int index, Image* picture) {
    std::unique_ptr<Image> taken(picture);
    if (index != loaded_ || !info_ || loaded_ >= total_) {
        arrived_ = std::move(taken);
        return true;
    }
    // Without its folder every later entry would come as a placeholder.
    if (!taken && !platform::isFolder(folder_)) {
        dropVanishedFolder();
        warnFolderGone();
        return false;
    }
    const auto* miniature = dynamic_cast<const Miniature*>(taken.get());
    gathered_.push_back(
        {taken ? taken.get() : placeholder(), miniature ? miniature->caption() : captionOf(info_->frameRecord(index))});
    if (taken) groupPictures_.push_back(std::move(taken));
    ++loaded_;
    return true;
}

// The quit message ignores the filter; taken here it goes back to the queue.
bool Thumbnail::takeQueuedPicture(MSG& message) {
    if (!PeekMessageW(&message, handle(), ImageLoader::imageReadyMessage, ImageLoader::imageReadyMessage, PM_REMOVE)) {
        return false;
    }
    if (message.message != WM_QUIT) return true;
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
}

// Should the group not go in at once, each miniature is tried on its own;
// one without its miniature simply is not in the row.
void Thumbnail::addGroup(const std::vector<ImageListView::Entry>& group) {
    if (group.empty()) return;
    try {
        list_->addGroup(group);
        return;
    } catch (const Exception&) {
    }
    for (const ImageListView::Entry& entry : group) {
        try {
            list_->add(entry.image, entry.caption);
        } catch (const Exception&) {
        }
    }
}

const Image* Thumbnail::placeholder() {
    if (!placeholder_) placeholder_ = loadResourceImage(IDB_THUMBNAIL_PLACEHOLDER);
    return placeholder_.get();
}

std::wstring Thumbnail::captionOf(const FrameRecord* record) {
    CalendarTime local;
    if (!record || record->time == 0 || !platform::timeValueToLocal(record->time, local)) return kNoTimeCaption;
    wchar_t caption[64];
    std::swprintf(caption, sizeof caption / sizeof caption[0], L"%04d/%02d/%02d %02d:%02d:%02d", local.year,
                  local.month, local.day, local.hour, local.minute, local.second);
    return caption;
}

// A frame that cannot be drawn leaves the item unmarked; the choice itself
// stands. The focus the list gives the item here is no new choice by the user.
void Thumbnail::highlight(int index) {
    highlighting_ = true;
    try {
        list_->select(index);
    } catch (const Exception&) {
    }
    highlighting_ = false;
}

// ---- Choosing ----

void Thumbnail::onClick(ImageButton* button) {
    const int count = list_->itemCount();
    if (button == firstButton_) {
        goTo(0);
    } else if (button == lastButton_) {
        if (count >= 2) goTo(count - 1);
    } else if (button == previousButton_) {
        if (selected_ - 1 >= 0) goTo(selected_ - 1);
    } else if (button == nextButton_) {
        if (selected_ + 1 < total_ && selected_ + 1 < count) goTo(selected_ + 1);
    }
}

// The list reports the new focus through LVN_ITEMCHANGED, which frames the
// item and shows its picture.
void Thumbnail::goTo(int target) {
    list_->focusItem(target);
    selected_ = target;
}

LRESULT Thumbnail::onListNotify(NMHDR* header) {
    switch (header->code) {
        case NM_CUSTOMDRAW:
            return onCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        case LVN_ITEMCHANGED:
            onItemChanged(reinterpret_cast<const NMLISTVIEW*>(header));
            return 0;
        default:
            return 0;
    }
}

// The frame in the miniature is the only selection mark. Clearing the item's
// draw state keeps the control from colouring the caption, but it still tints
// the miniature of a selected item; so the item is drawn here, unmarked.
LRESULT Thumbnail::onCustomDraw(NMLVCUSTOMDRAW* draw) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    draw->nmcd.uItemState = CDIS_DEFAULT;
    list_->drawItemUnmarked(draw->nmcd.hdc, static_cast<int>(draw->nmcd.dwItemSpec));
    return CDRF_SKIPDEFAULT;
}

// Only a newly focused item counts: the control reports focus and selection
// one after the other, and the picture should be opened once.
void Thumbnail::onItemChanged(const NMLISTVIEW* change) {
    if (highlighting_ || !(change->uChanged & LVIF_STATE) || change->iItem < 0) return;
    if (!(change->uNewState & LVIS_FOCUSED) || (change->uOldState & LVIS_FOCUSED)) return;
    selected_ = change->iItem;
    highlight(selected_);
    updateButtons();
    owner_.showOneShotPicture(selected_);
}

// ---- Layout and background ----

void Thumbnail::onSize(int width) {
    MoveWindow(list_->handle(), width / 2 - kListHalfWidth, kListTop, kListWidth, kListHeight, TRUE);
    MoveWindow(lastButton_->handle(), width - kLastButtonFromRight, kButtonTop, kButtonSize, kButtonSize, TRUE);
    MoveWindow(nextButton_->handle(), width - kNextButtonFromRight, kButtonTop, kButtonSize, kButtonSize, TRUE);
}

void Thumbnail::onEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    if (!leftPicture_->image() || !middlePicture_->image() || !rightPicture_->image()) {
        FillRect(dc, &client, background_);
        return;
    }
    const int rightLeft = client.right - rightPicture_->width();
    SetStretchBltMode(dc, COLORONCOLOR);
    leftPicture_->draw(dc, 0, 0);
    if (rightLeft > leftPicture_->width()) {
        middlePicture_->draw(dc, leftPicture_->width(), 0, rightLeft - leftPicture_->width(), middlePicture_->height());
    }
    rightPicture_->draw(dc, rightLeft, 0);
}
