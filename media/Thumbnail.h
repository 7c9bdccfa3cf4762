#pragma once
// The strip below the picture area in one-shot mode: the folder's one-shot
// pictures as 71 × 53 miniatures with their date and time, decoded one after
// another on the strip's own loader, with first/previous/next/last buttons.
// Choosing a miniature asks the owner to show that picture.
//
// Loading: each arriving miniature requests the next entry at once; a request
// that got lost (the worker was busy, the lock was taken) is repeated by the
// loader's tick every tickPeriod ms until its picture arrives.
#include <windows.h>
// Needs the Windows types above.
#include <commctrl.h>

#include <memory>
#include <string>

#include "media/AlphaImage.h"
#include "media/Image.h"
#include "media/ImageLoader.h"
#include "media/ThumbnailOwner.h"
#include "recording/VideoInfo07.h"
#include "ui/controls/ImageButton.h"
#include "ui/controls/ImageButtonListener.h"
#include "ui/framework/Window.h"

class ImageListView;
class TrackToolTip;

class Thumbnail : public Window, public ImageButtonListener {
public:
    static constexpr DWORD tickPeriod = 50;
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
    int loadedCount() const { return loaded_; }
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
    enum class Preparation { ready, lockBusy, folderGone };

    void createButtons();
    ImageButton* createButton(int x, int normalId, int pressedId, int disabledId);
    void createToolTips();

    void onSize(int width);
    void onEraseBackground(HDC dc);
    LRESULT onListNotify(NMHDR* header);
    LRESULT onCustomDraw(NMLVCUSTOMDRAW* draw);
    void onItemChanged(const NMLISTVIEW* change);
    void onPictureArrived(int index, Image* picture);

    bool openFolder(const std::wstring& folder);
    void startLoading();
    void loadNext();
    void finishLoading();
    Preparation prepareEntry(int index);
    void dropVanishedFolder();
    void warnFolderGone();
    void dropQueuedPictures();

    void addMiniature(int index);
    const Image* placeholder();
    std::wstring captionOf(int index) const;
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
    // The entry whose file the loader's archive holds open for decoding; -1 for none.
    int preparedEntry_ = -1;
    std::unique_ptr<Image> arrived_;
    std::unique_ptr<Image> placeholder_;
    std::unique_ptr<ImageLoader> loader_;
};
