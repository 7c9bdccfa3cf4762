#pragma once
// Plays a recording's restored WAVE sound through the wave mapper with two
// alternating 200 ms buffers. The device callback only posts a refill request
// to the player's own message-only window, so every conversion and device call
// happens on the interface thread and the fields need no lock.
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/ISoundPlayer.h"
#include "media/SoundBuffer.h"
#include "media/SoundClock.h"
#include "ui/framework/Window.h"

class WaveAudioPlayer : public Window, public ISoundPlayer {
public:
    // Sent by the device callback to the player's own window when a buffer comes back.
    static constexpr UINT refillMessage = WM_USER + 1;

    // owner receives MM_MCINOTIFY when the sound runs out.
    explicit WaveAudioPlayer(HWND owner);
    ~WaveAudioPlayer() override;

    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // True when the sound ran out during playing (not after a stop).
    virtual bool isFinished() const { return finished_; }

    void open(const std::wstring& path) override;
    void close() override;
    void play(std::int32_t startMs) override;
    void stop() override;
    std::uint32_t pause() override;
    std::uint32_t resume() override;
    std::int32_t getState() override { return state_; }
    std::uint32_t getScaledByteRate() override { return scaledByteRate_; }
    std::int32_t getPosition() override;
    std::int32_t getVolume() override { return volume_; }
    std::int32_t setVolume(std::int32_t volume) override;

    // A chapter change without a gap: the sound at path follows the open one
    // on the same device, written on as soon as the open one's data runs out
    // (a short last chunk is topped up with its start). False (nothing queued)
    // when nothing is open or the formats differ; a file that cannot be read
    // throws as open does. Until the owner counts from it, a play request or a
    // stop keeps it queued behind the open sound; a close drops it.
    bool queueFollowing(const std::wstring& path);
    void dropFollowing();
    bool hasFollowing() const { return followingQueued_ || changePending_; }
    // While playing: the following sound becomes the open one, and positions
    // count from its start, negative while the device still plays (or is yet
    // to be given) the end of the sound before it. False when there is no
    // following sound or nothing plays; a later play request or stop plays
    // the following sound.
    bool countFromFollowing();

    // The engine's clock when no sound could be opened: baseMs + (now − playStartTick).
    std::int32_t baseMs() const { return baseMs_; }
    DWORD playStartTick() const { return playStartTick_; }

private:
    static void CALLBACK deviceCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR);

    void requireOpen() const;
    void loadSound(const std::wstring& path);
    void setUpHeaders();
    void openDevice(const std::wstring& path);
    void closeDevice();
    void resetDevice();
    bool moveOnToFollowing(std::int64_t deviceOffset);
    SoundBuffer::Chunk chunkFrom(std::uint32_t position) const;
    void joinFollowing(WAVEHDR& header, const SoundBuffer::Chunk& last);
    void forgetDeviceBytes();
    std::int32_t timeOfPlayedBytes(std::int64_t bytes) const;

    void onRefillRequest();
    bool takeReturnedHeader();
    void continueAfterReturn();
    void fillFreeHeaders(std::uint32_t position);
    std::uint32_t writeChunk(std::uint32_t position);
    bool isFree(int header) const;
    void endOfSound();
    void notifyOwner();

    HWND owner_;
    HWAVEOUT device_ = nullptr;
    WAVEHDR headers_[2]{};
    // Handed to the device and not yet taken back by a refill. Play and close
    // forget them at their reset, so late reports of those buffers find nothing
    // to refill; a stop keeps them, so that their return tells the owner.
    bool held_[2]{};
    int nextHeader_ = 0;
    int queued_ = 0;
    std::int32_t state_ = stateClosed;
    std::uint32_t scaledByteRate_ = 0;
    std::int32_t baseMs_ = 0;
    std::int32_t volume_ = SoundBuffer::maximumVolume;
    std::uint32_t writeStart_ = 0;
    std::uint32_t writeEnd_ = 0;  // 0 while no play request runs
    WAVEFORMATEX format_{};
    SoundBuffer sound_;
    std::vector<std::uint8_t> outputBuffer_;
    DWORD playStartTick_ = 0;
    bool finished_ = false;
    // A reset does not undo a pause on every driver, so play restarts a paused device.
    bool devicePaused_ = false;
    // The device's position, moving between the driver's steps.
    SoundClock positionClock_;
    // The sound queued to follow, and once its first chunk is written (change
    // pending) the one before it, whose end the device is still playing. Device
    // positions below deviceOffset_ are that sound's; from it on the open one's.
    SoundBuffer following_;
    bool followingQueued_ = false;
    SoundBuffer preceding_;
    std::int32_t precedingBaseMs_ = 0;
    bool changePending_ = false;
    // The owner counts from the following sound before its first chunk is written.
    bool countedAhead_ = false;
    std::int64_t deviceOffset_ = 0;
    std::int64_t bytesWritten_ = 0;  // handed to the device since its last reset
    // After a topped-up chunk the following sound's chunks keep its phase
    // instead of ending on multiples of the chunk size.
    bool offGrid_ = false;
};
