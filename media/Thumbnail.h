#pragma once
// The strip below the picture area in one-shot mode: the folder's one-shot
// pictures as 71 × 53 miniatures with their date and time, decoded one after
// another on the strip's own loader, with first/previous/next/last buttons.
// Choosing a miniature asks the owner to show that picture.
//
// Loading: the loader decodes the miniatures one after another in one run, at
// the size they are shown and at most runAhead entries beyond those the strip
// has taken in. The strip gathers whatever has arrived and adds it to the list
// as one group, with the list's drawing held: at once while the view fills,
// later at most every groupIntervalMs; a group that reaches the view is shown
// at once.
// Should nothing arrive for tickPeriod ms (the run's request was refused), the
// loader's tick asks again from the first missing entry.
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "media/AlphaImage.h"
#include "media/Image.h"
#include "media/ImageListView.h"
#include "media/ImageLoader.h"
#include "media/ThumbnailOwner.h"
#include "recording/VideoInfo07.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/framework/Window.h"

class TrackToolTip;

class Thumbnail : public Window, public ImageButtonListener {
public:
    static constexpr DWORD tickPeriod = 50;
    // Far enough ahead that the loader keeps decoding while a group is added
    // and drawn; near enough that a folder that goes away is noticed by the
    // entries not yet decoded.
    static constexpr int runAhead = 64;
    // Miniatures that go into the list as they come: about what the view shows.
    static constexpr int screenful = 8;
    // Beyond those, how often and how many at most go in as one group.
    static constexpr DWORD groupIntervalMs = 40;
    static constexpr int groupLimit = 64;
    static constexpr int stripHeight = 90;

    // A visible child of the owner's window; the owner's layout places it.
    // Throws WindowException.
    explicit Thumbnail(ThumbnailOwner& owner);
    ~Thumbnail() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Lists the one-shot pictures of folder (at most 600) and starts loading
    // their miniatures; true when the folder held more than can be shown.
    // Exception 5510 when it holds none, 5078 (after the owner's resetToEmpty)
    // when it has gone.
    bool openOneShotFolder(const std::wstring& folder);
    // Empties the strip.
    void reset();
    void updateButtons();
    void repaint(bool erase = true);

    // What the owner reads.
    // Miniatures in the list; more may have arrived and wait to go in.
    int loadedCount() const { return loaded_ - static_cast<int>(gathered_.size()); }
    int totalCount() const { return total_; }
    bool isAllLoaded() const { return allLoaded_; }
    int selectedIndex() const { return selected_; }
    // Nothing listed and nothing loaded.
    bool isEmpty() const { return loaded_ == 0 && !allLoaded_; }
    // The file of entry index; empty unless index is below both the listed
    // count and the archive's entry count.
    std::wstring picturePath(int index) const;
    const std::wstring& folder() const { return folder_; }

    // The parts, for the owner's tests.
    ImageListView* list() const { return list_; }
    ImageButton* firstButton() const { return firstButton_; }
    ImageButton* lastButton() const { return lastButton_; }
    ImageButton* previousButton() const { return previousButton_; }
    ImageButton* nextButton() const { return nextButton_; }

    void onClick(ImageButton* button) override;
    void onPress(ImageButton*) override {}

private:
    void createButtons();
    ImageButton* createButton(int x, int normalId, int pressedId, int disabledId);
    void createToolTips();

    void onSize(int width);
    void onEraseBackground(HDC dc);
    LRESULT onListNotify(NMHDR* header);
    LRESULT onCustomDraw(NMLVCUSTOMDRAW* draw);
    void onItemChanged(const NMLISTVIEW* change);
    void onPictureArrived(int index, Image* picture);
    void onTick();

    bool openFolder(const std::wstring& folder);
    void startLoading();
    void loadNext();
    void requestRun();
    void finishLoading();
    bool takePicture(int index, Image* picture);
    bool addingIsDue() const;
    int aheadLimit() const;
    bool addGathered();
    bool takeQueuedPicture(MSG& message);
    static std::unique_ptr<Image> decodeMiniature(VideoArchive& archive, int index);
    void dropVanishedFolder();
    void warnFolderGone();
    void dropQueuedPictures();

    void addGroup(const std::vector<ImageListView::Entry>& group);
    const Image* placeholder();
    static std::wstring captionOf(const FrameRecord* record);
    void highlight(int index);
    void goTo(int target);

    ThumbnailOwner& owner_;
    HBRUSH background_ = nullptr;
    ImageListView* list_ = nullptr;  // window objects: freed with their windows
    ImageButton* firstButton_ = nullptr;
    ImageButton* lastButton_ = nullptr;
    ImageButton* previousButton_ = nullptr;
    ImageButton* nextButton_ = nullptr;
    TrackToolTip* toolTip_ = nullptr;
    std::unique_ptr<AlphaImage> leftPicture_;
    std::unique_ptr<AlphaImage> middlePicture_;
    std::unique_ptr<AlphaImage> rightPicture_;
    std::unique_ptr<VideoInfo07> info_;
    std::wstring folder_;
    int selected_ = 0;
    int loaded_ = 0;
    int total_ = 0;
    bool allLoaded_ = false;
    // Set while the strip itself frames an item, whose focus change the list reports.
    bool highlighting_ = false;
    // When the last group was taken in (timeGetTime), to tell a stale tick.
    DWORD lastArrival_ = 0;
    std::unique_ptr<Image> arrived_;
    // Miniatures taken in and not yet in the list, and the pictures they show.
    std::vector<ImageListView::Entry> gathered_;
    std::vector<std::unique_ptr<Image>> groupPictures_;
    DWORD lastGroupAdded_ = 0;
    std::unique_ptr<Image> placeholder_;
    std::unique_ptr<ImageLoader> loader_;
};
