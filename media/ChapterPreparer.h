#pragma once
// Reads the next chapter of a video-memory recording while the current one
// plays: its archive (with the sound restored into its WAVE file) and its
// first picture, on a thread of its own that posts to the player's window
// when it is done. At the chapter change the player takes the prepared
// archive instead of reading it then.
//
// Message to the window:
//   preparedMessage (WM_USER + 101): wParam the ticket of the preparation;
//     pass it to takeReport.
//
// A dropped preparation is never waited for: its thread finishes the read,
// closes the archive (deleting its sound file) and posts nothing.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/Image.h"
#include "recording/VideoArchive.h"

class ChapterPreparer {
public:
    static constexpr UINT preparedMessage = WM_USER + 101;
    // Longest wait for unfinished preparations at destruction.
    static constexpr DWORD endTimeoutMs = 3000;

    // How a chapter archive is read, on the preparation's thread; by default
    // readChapterArchive. Failures thrown from it fail the preparation.
    using Reader = std::function<void(VideoArchive&, const std::wstring& path)>;

    explicit ChapterPreparer(HWND notifyWindow, Reader reader = {});
    ~ChapterPreparer();
    ChapterPreparer(const ChapterPreparer&) = delete;
    ChapterPreparer& operator=(const ChapterPreparer&) = delete;

    // Starts reading chapter's archive at path; what was prepared before is
    // dropped. A thread that cannot be started leaves nothing prepared.
    void prepare(int chapter, const std::wstring& path);
    void drop();

    // On preparedMessage: true when it reports the preparation in hand and
    // that succeeded; a failed one is dropped.
    bool takeReport(WPARAM ticket);
    // The chapter that is prepared and ready; -1 when none is.
    int readyChapter() const { return ready_ ? chapter_ : -1; }
    // Of the ready chapter.
    const std::wstring& soundFilePath() const;
    // Hands the ready chapter over and leaves nothing prepared.
    std::unique_ptr<VideoArchive> takeArchive(std::unique_ptr<Image>& firstPicture);

private:
    struct Job;
    static DWORD WINAPI threadEntry(LPVOID job);
    static void run(Job& job);
    void forgetFinishedThreads();

    HWND notifyWindow_;
    Reader reader_;
    std::shared_ptr<Job> job_;
    int chapter_ = -1;
    bool ready_ = false;
    WPARAM nextTicket_ = 1;
    std::vector<HANDLE> threads_;
};
