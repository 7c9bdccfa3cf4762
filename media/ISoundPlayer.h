#pragma once
// What the playback engine sees of the sound player: a WAVE file played from a
// given time, with a position in milliseconds that serves as the engine's clock.
#include <cstdint>
#include <string>

class ISoundPlayer {
public:
    // getState values.
    static constexpr std::int32_t stateClosed = 0;
    static constexpr std::int32_t statePlaying = 1;
    static constexpr std::int32_t stateStopped = 2;  // also after the sound ran out
    static constexpr std::int32_t statePaused = 3;

    // Throws on failure; the player is then closed.
    virtual void open(const std::wstring& path) = 0;
    virtual void close() = 0;
    // Restarts from startMs in any open state; throws WaveAudioException (5069) when nothing is open.
    virtual void play(std::int32_t startMs) = 0;
    virtual void stop() = 0;
    // The device's result code, 0 on success.
    virtual std::uint32_t pause() = 0;
    virtual std::uint32_t resume() = 0;
    virtual std::int32_t getState() = 0;
    // Block alignment × sample rate × 1000 of the open file, 0 when closed.
    virtual std::uint32_t getScaledByteRate() = 0;
    // Milliseconds from the start of the sound; 0 when the device cannot tell.
    virtual std::int32_t getPosition() = 0;
    virtual std::int32_t getVolume() = 0;
    // Stores the volume clamped to 0 … 16 and returns it.
    virtual std::int32_t setVolume(std::int32_t volume) = 0;

protected:
    // Players are windows, freed with their window, never through this interface.
    ~ISoundPlayer() = default;
};
