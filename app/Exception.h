#pragma once
// Failures travel to the user as exceptions whose message is the finished text
// to show. The subclasses add nothing but a type to catch by.
#include <string>

class Exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {}
    virtual ~Exception() = default;
    const std::wstring& message() const { return message_; }

private:
    std::wstring message_;
};

#define ORVELLE_EXCEPTION_CLASS(Name)                      \
    class Name : public Exception {                         \
    public:                                                 \
        explicit Name(std::wstring message) : Exception(std::move(message)) {} \
    }

ORVELLE_EXCEPTION_CLASS(IOException);
ORVELLE_EXCEPTION_CLASS(WindowException);
ORVELLE_EXCEPTION_CLASS(SystemException);
ORVELLE_EXCEPTION_CLASS(FirmInfoException);
ORVELLE_EXCEPTION_CLASS(ImageException);
ORVELLE_EXCEPTION_CLASS(ImageListViewException);
ORVELLE_EXCEPTION_CLASS(VideoArchiveException);
ORVELLE_EXCEPTION_CLASS(ThumbnailException);
ORVELLE_EXCEPTION_CLASS(WaveAudioException);

#undef ORVELLE_EXCEPTION_CLASS

// The folder being viewed has gone (moved or deleted). Carries no text: the
// handlers that must tell the user show text 5078 themselves.
class DataMissingException {};
