#include "media/ChapterPreparer.h"

#include <atomic>
#include <exception>

#include "app/Exception.h"

namespace {

const std::wstring kNoPath;

}  // namespace

// Shared by the preparer and the thread: a dropped job lives on until its
// thread has finished with it.
struct ChapterPreparer::Job {
    std::wstring path;
    Reader reader;
    HWND notifyWindow = nullptr;
    WPARAM ticket = 0;
    std::unique_ptr<VideoArchive> archive = std::make_unique<VideoArchive>();
    std::unique_ptr<Image> firstPicture;
    bool succeeded = false;
    std::atomic<bool> done{false};
    std::atomic<bool> dropped{false};
};

ChapterPreparer::ChapterPreparer(HWND notifyWindow, Reader reader)
    : notifyWindow_(notifyWindow), reader_(std::move(reader)) {}

// Preparations still reading are let finish, so that their sound files are
// deleted before the program ends.
ChapterPreparer::~ChapterPreparer() {
    drop();
    const DWORD start = GetTickCount();
    for (HANDLE thread : threads_) {
        const DWORD spent = GetTickCount() - start;
        WaitForSingleObject(thread, spent < endTimeoutMs ? endTimeoutMs - spent : 0);
        CloseHandle(thread);
    }
}

void ChapterPreparer::prepare(int chapter, const std::wstring& path) {
    drop();
    forgetFinishedThreads();
    auto job = std::make_shared<Job>();
    job->path = path;
    job->reader = reader_;
    job->notifyWindow = notifyWindow_;
    job->ticket = nextTicket_++;
    auto* threadShare = new std::shared_ptr<Job>(job);
    HANDLE thread = CreateThread(nullptr, 0, threadEntry, threadShare, 0, nullptr);
    if (!thread) {
        delete threadShare;
        return;
    }
    threads_.push_back(thread);
    job_ = std::move(job);
    chapter_ = chapter;
}

void ChapterPreparer::drop() {
    if (job_) job_->dropped = true;
    // A job whose thread has finished is freed here, its archive closed by its destructor.
    job_.reset();
    chapter_ = -1;
    ready_ = false;
}

bool ChapterPreparer::takeReport(WPARAM ticket) {
    if (!job_ || job_->ticket != ticket || !job_->done) return false;
    if (!job_->succeeded) {
        drop();
        return false;
    }
    ready_ = true;
    return true;
}

const std::wstring& ChapterPreparer::soundFilePath() const {
    return ready_ ? job_->archive->soundFilePath() : kNoPath;
}

std::unique_ptr<VideoArchive> ChapterPreparer::takeArchive(std::unique_ptr<Image>& firstPicture) {
    if (!ready_) return nullptr;
    std::unique_ptr<VideoArchive> archive = std::move(job_->archive);
    firstPicture = std::move(job_->firstPicture);
    drop();
    return archive;
}

DWORD WINAPI ChapterPreparer::threadEntry(LPVOID share) {
    std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(share));
    run(**job);
    return 0;
}

// Nothing may leave the thread function. The window learns of the result by
// the post only; a dropped job closes what it read and says nothing.
void ChapterPreparer::run(Job& job) {
    try {
        if (job.reader) {
            job.reader(*job.archive, job.path);
        } else {
            job.archive->readChapterArchive(job.path);
        }
        job.firstPicture = job.archive->decodeFrame(0);
        job.succeeded = true;
    } catch (...) {
        job.archive->close();
    }
    if (job.dropped) {
        job.archive->close();
        return;
    }
    job.done = true;
    PostMessageW(job.notifyWindow, preparedMessage, job.ticket, 0);
}

void ChapterPreparer::forgetFinishedThreads() {
    std::vector<HANDLE> running;
    for (HANDLE thread : threads_) {
        if (WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) {
            CloseHandle(thread);
        } else {
            running.push_back(thread);
        }
    }
    threads_.swap(running);
}
