#pragma once
// What the windows may know about the open recording: its frames with their
// times and G values, how an event was detected, and the recording's times.
// Other recorder models could answer it differently; the slot order is fixed.
#include <cstdint>
#include <string>

#include "recording/FrameRecord.h"

class IVideoInfo {
public:
    virtual std::wstring shortCode() const = 0;
    virtual std::wstring longCode() const = 0;
    // 0 none, 1 automatic event, 2 manual event, 11 one-shot, 12 video memory.
    virtual int triggerKind() const = 0;
    // The frame at which the event was detected; -1 when there is none.
    virtual int referenceFrame() const = 0;
    // The record at referenceFrame(); null when there is no such frame.
    virtual const FrameRecord* referenceRecord() const = 0;
    virtual double headerGx() const = 0;
    virtual double headerGy() const = 0;
    virtual int frameCount() const = 0;
    // Null when index is negative or not below frameCount().
    virtual const FrameRecord* frameRecord(int index) const = 0;
    // Stored pictures per frame.
    virtual int pictureStep() const = 0;
    virtual bool informationMissing() const = 0;
    // Time values of the first and last frames that carry one; 0 when none do.
    virtual std::int64_t firstFrameTime() const = 0;
    virtual std::int64_t lastFrameTime() const = 0;
    // When the event happened or the chapter began; 0 when unknown.
    virtual std::int64_t recordedAt() const = 0;
    // Releases the view only, never what it views.
    virtual ~IVideoInfo() = default;
};
