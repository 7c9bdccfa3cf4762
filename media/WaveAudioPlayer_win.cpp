#include "media/WaveAudioPlayer.h"

#include <algorithm>

#include "app/Exception.h"
#include "app/Texts.h"
#include "media/WaveFile.h"

namespace {

constexpr int kDeviceNotOpenText = 5069;
constexpr int kUnprepareAttempts = 10;
constexpr DWORD kUnprepareRetryMs = 100;
constexpr std::uint8_t kSilence = 128;

}  // namespace

WaveAudioPlayer::WaveAudioPlayer(HWND owner) : owner_(owner) {
    create(0, defaultClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

WaveAudioPlayer::~WaveAudioPlayer() {
    close();
}

LRESULT WaveAudioPlayer::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == refillMessage) {
        onRefillRequest();
        return 0;
    }
    return Window::windowProc(message, wParam, lParam);
}

// Runs on a thread of the audio system: only posts, never touches the player's state.
void CALLBACK WaveAudioPlayer::deviceCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    if (message != WOM_DONE) return;
    PostMessageW(reinterpret_cast<WaveAudioPlayer*>(instance)->handle(), refillMessage, 0, 0);
}

void WaveAudioPlayer::open(const std::wstring& path) {
    close();
    try {
        loadSound(path);
        setUpHeaders();
        openDevice(path);
    } catch (...) {
        close();  // a failed open leaves nothing half open
        throw;
    }
    state_ = stateStopped;
}

void WaveAudioPlayer::loadSound(const std::wstring& path) {
    WaveFile file = WaveFile::load(path);
    const WaveFile::Format& format = file.format();
    format_ = WAVEFORMATEX{};
    format_.wFormatTag = format.formatTag;
    format_.nChannels = format.channels;
    format_.nSamplesPerSec = format.samplesPerSecond;
    format_.nAvgBytesPerSec = format.averageBytesPerSecond;
    format_.nBlockAlign = format.blockAlign;
    format_.wBitsPerSample = format.bitsPerSample;
    sound_ = SoundBuffer(file.takeSamples(), format.blockAlign, format.samplesPerSecond);
    scaledByteRate_ = sound_.scaledByteRate();
}

void WaveAudioPlayer::setUpHeaders() {
    const std::uint32_t chunkSize = sound_.chunkSize();
    outputBuffer_.assign(2 * static_cast<std::size_t>(chunkSize), kSilence);
    for (int i = 0; i < 2; ++i) {
        headers_[i] = WAVEHDR{};
        headers_[i].lpData = reinterpret_cast<LPSTR>(outputBuffer_.data() + i * static_cast<std::size_t>(chunkSize));
        headers_[i].dwBufferLength = chunkSize;
        held_[i] = false;
    }
    nextHeader_ = 0;
    queued_ = 0;
}

void WaveAudioPlayer::openDevice(const std::wstring& path) {
    if (waveOutOpen(&device_, WAVE_MAPPER, &format_, reinterpret_cast<DWORD_PTR>(&deviceCallback),
                    reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        device_ = nullptr;
        throw WaveAudioException(path);
    }
    for (WAVEHDR& header : headers_) {
        if (waveOutPrepareHeader(device_, &header, sizeof header) != MMSYSERR_NOERROR) throw WaveAudioException(path);
    }
}

void WaveAudioPlayer::close() {
    if (device_) closeDevice();
    state_ = stateClosed;
    scaledByteRate_ = 0;
    writeStart_ = writeEnd_ = 0;
    finished_ = false;
    dropFollowing();
    sound_ = SoundBuffer();
    outputBuffer_.clear();
    outputBuffer_.shrink_to_fit();
    for (WAVEHDR& header : headers_) header = WAVEHDR{};
}

void WaveAudioPlayer::closeDevice() {
    writeStart_ = writeEnd_ = 0;
    resetDevice();
    for (WAVEHDR& header : headers_) {
        if (!(header.dwFlags & WHDR_PREPARED)) continue;
        for (int attempt = 0; attempt < kUnprepareAttempts; ++attempt) {
            if (waveOutUnprepareHeader(device_, &header, sizeof header) == MMSYSERR_NOERROR) break;
            Sleep(kUnprepareRetryMs);
        }
    }
    waveOutClose(device_);
    device_ = nullptr;
    devicePaused_ = false;
}

// A reset hands every queued buffer back, marked done; their reports may still
// be on their way, so the buffers are taken back here and the reports find nothing.
void WaveAudioPlayer::resetDevice() {
    waveOutReset(device_);
    held_[0] = held_[1] = false;
    queued_ = 0;
    forgetDeviceBytes();
    positionClock_.reset();
}

void WaveAudioPlayer::requireOpen() const {
    if (state_ == stateClosed) throw WaveAudioException(loadText(kDeviceNotOpenText));
}

void WaveAudioPlayer::play(std::int32_t startMs) {
    playStartTick_ = timeGetTime();
    if (state_ == stateClosed) {
        baseMs_ = startMs;
        requireOpen();
    }
    finished_ = false;
    writeStart_ = writeEnd_ = 0;
    resetDevice();
    if (devicePaused_ && waveOutRestart(device_) == MMSYSERR_NOERROR) devicePaused_ = false;
    const std::uint32_t start = sound_.offsetOfTime(startMs);
    baseMs_ = sound_.timeOfOffset(start);
    positionClock_.startAt(baseMs_, timeGetTime());
    fillFreeHeaders(start);
}

void WaveAudioPlayer::stop() {
    requireOpen();
    writeStart_ = writeEnd_ = 0;
    // The buffers stay counted: when their reports are in, the owner hears of the stop.
    waveOutReset(device_);
    forgetDeviceBytes();
    positionClock_.reset();
    state_ = stateStopped;
}

std::uint32_t WaveAudioPlayer::pause() {
    requireOpen();
    const MMRESULT result = waveOutPause(device_);
    if (result == MMSYSERR_NOERROR) {
        state_ = statePaused;
        devicePaused_ = true;
    }
    return result;
}

std::uint32_t WaveAudioPlayer::resume() {
    requireOpen();
    if (finished_) {
        // Nothing is left to play: tell the owner again instead of restarting.
        state_ = stateStopped;
        notifyOwner();
        return MMSYSERR_NOERROR;
    }
    const MMRESULT result = waveOutRestart(device_);
    if (result == MMSYSERR_NOERROR) {
        state_ = statePlaying;
        devicePaused_ = false;
        positionClock_.reset();  // the pause stopped the sound, not the system clock
    }
    return result;
}

std::int32_t WaveAudioPlayer::getPosition() {
    if (!device_) return 0;
    MMTIME time{};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR) return 0;
    std::int64_t bytes = 0;
    if (time.wType == TIME_BYTES) {
        bytes = time.u.cb;
    } else if (time.wType == TIME_SAMPLES) {
        bytes = static_cast<std::int64_t>(time.u.sample) * format_.nBlockAlign;
    } else {
        return 0;
    }
    const std::int32_t played = timeOfPlayedBytes(bytes);
    // Paused or stopped, the device's own position stands still, and so must the clock.
    if (state_ != statePlaying) {
        positionClock_.reset();
        return played;
    }
    return static_cast<std::int32_t>(positionClock_.position(played, timeGetTime()));
}

std::int32_t WaveAudioPlayer::setVolume(std::int32_t volume) {
    volume_ = std::clamp(volume, 0, SoundBuffer::maximumVolume);
    return volume_;
}

void WaveAudioPlayer::onRefillRequest() {
    // A report only says "look": the buffers' own done flags tell which came back,
    // so late, early or surplus reports cannot refill a buffer the device holds.
    while (takeReturnedHeader()) continueAfterReturn();
}

bool WaveAudioPlayer::takeReturnedHeader() {
    // The older buffer first, so the sound stays in order when both are back.
    for (int k = 0; k < 2; ++k) {
        const int i = (nextHeader_ + k) % 2;
        if (held_[i] && (headers_[i].dwFlags & WHDR_DONE)) {
            held_[i] = false;
            --queued_;
            return true;
        }
    }
    return false;
}

void WaveAudioPlayer::continueAfterReturn() {
    if (writeEnd_ != 0) {
        fillFreeHeaders(writeEnd_);
    } else if (queued_ <= 0) {
        // Stopped: all buffers are back; not an end of the sound.
        finished_ = false;
        if (state_ != stateClosed) state_ = stateStopped;
        notifyOwner();
    }
}

// Writes chunks from position into every buffer the device does not hold. A
// chunk the device refused is lost and the next one follows, so playing never
// stalls with nothing queued.
void WaveAudioPlayer::fillFreeHeaders(std::uint32_t position) {
    while (isFree(nextHeader_)) {
        if (writeChunk(position) == 0) {
            if (moveOnToFollowing(bytesWritten_)) {
                position = 0;
                continue;
            }
            if (queued_ <= 0) endOfSound();
            return;
        }
        position = writeEnd_;
    }
}

std::uint32_t WaveAudioPlayer::writeChunk(std::uint32_t position) {
    if (sound_.chunkSize() == 0) return 0;
    const SoundBuffer::Chunk chunk = chunkFrom(position);
    writeStart_ = chunk.start;
    writeEnd_ = chunk.end;
    if (chunk.count == 0) return 0;
    WAVEHDR& header = headers_[nextHeader_];
    sound_.convert(chunk, volume_, reinterpret_cast<std::uint8_t*>(header.lpData));
    header.dwBufferLength = chunk.count;
    joinFollowing(header, chunk);
    header.dwFlags &= ~WHDR_DONE;
    if (waveOutWrite(device_, &header, sizeof header) == MMSYSERR_NOERROR) {
        held_[nextHeader_] = true;
        ++queued_;
        bytesWritten_ += header.dwBufferLength;
        nextHeader_ = 1 - nextHeader_;
        state_ = statePlaying;
    }
    return chunk.count;
}

bool WaveAudioPlayer::isFree(int header) const {
    return !held_[header] && !(headers_[header].dwFlags & WHDR_INQUEUE);
}

void WaveAudioPlayer::endOfSound() {
    finished_ = true;
    if (state_ != stateClosed) state_ = stateStopped;
    notifyOwner();
}

void WaveAudioPlayer::notifyOwner() {
    PostMessageW(owner_, MM_MCINOTIFY, 0, 0);
}

// ---- The following sound ----

bool WaveAudioPlayer::queueFollowing(const std::wstring& path) {
    dropFollowing();
    if (state_ == stateClosed) return false;
    WaveFile file = WaveFile::load(path);
    const WaveFile::Format& format = file.format();
    if (format.formatTag != format_.wFormatTag || format.channels != format_.nChannels ||
        format.samplesPerSecond != format_.nSamplesPerSec || format.blockAlign != format_.nBlockAlign ||
        format.bitsPerSample != format_.wBitsPerSample) {
        return false;
    }
    following_ = SoundBuffer(file.takeSamples(), format.blockAlign, format.samplesPerSecond);
    followingQueued_ = following_.chunkSize() != 0;
    return followingQueued_;
}

void WaveAudioPlayer::dropFollowing() {
    following_ = SoundBuffer();
    followingQueued_ = false;
}

// Called when the open sound's data has run out: writing goes on with the
// following sound, while the device still plays the end of this one.
bool WaveAudioPlayer::moveOnToFollowing(std::int64_t deviceOffset) {
    if (!followingQueued_ || changePending_) return false;
    preceding_ = std::move(sound_);
    sound_ = std::move(following_);
    followingQueued_ = false;
    precedingBaseMs_ = baseMs_;
    baseMs_ = 0;
    deviceOffset_ = deviceOffset;
    changePending_ = !countedAhead_;
    countedAhead_ = false;
    if (!changePending_) preceding_ = SoundBuffer();
    return true;
}

SoundBuffer::Chunk WaveAudioPlayer::chunkFrom(std::uint32_t position) const {
    SoundBuffer::Chunk chunk = sound_.chunkAt(position);
    if (!offGrid_ || chunk.count == 0) return chunk;
    chunk.end = std::min(chunk.start + sound_.chunkSize(), sound_.size() - 1);
    chunk.count = chunk.end - chunk.start;
    return chunk;
}

// A short last chunk would leave the device only its few milliseconds to
// wait for the next refill; it is filled up with the following sound instead.
void WaveAudioPlayer::joinFollowing(WAVEHDR& header, const SoundBuffer::Chunk& last) {
    const std::uint32_t room = sound_.chunkSize() - std::min(last.count, sound_.chunkSize());
    if (!followingQueued_ || changePending_ || room == 0 || last.end + 1 < sound_.size()) return;
    const std::int64_t deviceOffset = bytesWritten_ + last.count;
    if (!moveOnToFollowing(deviceOffset)) return;
    SoundBuffer::Chunk head;
    head.end = std::min(room, sound_.size() > 0 ? sound_.size() - 1 : 0);
    head.count = head.end;
    sound_.convert(head, volume_, reinterpret_cast<std::uint8_t*>(header.lpData) + last.count);
    header.dwBufferLength += head.count;
    writeStart_ = 0;
    writeEnd_ = head.end;
    offGrid_ = true;
}

// A reset restarts the device's count; a change the owner has not taken yet
// is undone, so that a play request plays the sound the owner still has open.
void WaveAudioPlayer::forgetDeviceBytes() {
    if (changePending_) {
        following_ = std::move(sound_);
        sound_ = std::move(preceding_);
        preceding_ = SoundBuffer();
        baseMs_ = precedingBaseMs_;
        followingQueued_ = true;
        changePending_ = false;
    }
    if (countedAhead_) {
        sound_ = std::move(following_);
        followingQueued_ = false;
        baseMs_ = 0;
        countedAhead_ = false;
    }
    deviceOffset_ = 0;
    bytesWritten_ = 0;
    offGrid_ = false;
}

// Before the following sound is written its first byte's place on the device
// is known all the same: the rest of the open sound goes there first, whole.
bool WaveAudioPlayer::countFromFollowing() {
    if (changePending_) {
        changePending_ = false;
        preceding_ = SoundBuffer();
        return true;
    }
    if (!followingQueued_ || countedAhead_ || state_ != statePlaying || writeEnd_ == 0) return false;
    deviceOffset_ = bytesWritten_ + (sound_.size() - 1 - std::min(writeEnd_, sound_.size() - 1));
    countedAhead_ = true;
    return true;
}

// Positions below the following sound's first byte belong to the sound before
// it: on that sound's clock until the owner counts from the following one,
// then negative.
std::int32_t WaveAudioPlayer::timeOfPlayedBytes(std::int64_t bytes) const {
    if (bytes < deviceOffset_) {
        if (changePending_) return preceding_.timeOfOffset(preceding_.clampToData(bytes)) + precedingBaseMs_;
        return -sound_.timeOfOffset(static_cast<std::uint64_t>(deviceOffset_ - bytes));
    }
    if (countedAhead_) return 0;  // the device waits for the following sound's first chunk
    return sound_.timeOfOffset(sound_.clampToData(bytes - deviceOffset_)) + baseMs_;
}
