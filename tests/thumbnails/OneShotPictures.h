#pragma once
// A folder of one-shot pictures ("*.dpc") under the temporary folder, removed
// with its files at the end of the test. Pictures are small and a minute
// apart, so the archive reader's time order is the order they were added in.
#include <string>

#include "platform/LocalTime.h"

class OneShotPictures {
public:
    static constexpr int pictureWidth = 64;
    static constexpr int pictureHeight = 48;

    OneShotPictures();
    ~OneShotPictures();
    OneShotPictures(const OneShotPictures&) = delete;
    OneShotPictures& operator=(const OneShotPictures&) = delete;

    const std::wstring& folder() const { return folder_; }

    // count more pictures, each a minute after the previous one. False when
    // a file could not be written.
    bool add(int count, int width = pictureWidth, int height = pictureHeight);
    // A picture whose date field is not a date: its time value is 0.
    bool addUndated();
    // A picture tagged with another recorder model's code: it never decodes.
    bool addUndecodable();

    // The local time of the n-th dated picture added.
    static CalendarTime timeOf(int n);

private:
    bool write(const std::wstring& name, const CalendarTime& time, int width, int height, bool foreignModel);
    std::wstring nextName();

    std::wstring marker_;
    std::wstring folder_;
    int files_ = 0;
    int dated_ = 0;
};
