#pragma once
// A track bar's owner that writes down what it hears, with the bar's value then.
#include <string>
#include <vector>

#include "ui/controls/ImageTrackBar.h"
#include "ui/controls/ImageTrackBarListener.h"

class TrackEvents : public ImageTrackBarListener {
public:
    void onTrackChange(ImageTrackBar* bar) override { record("change", bar); }
    void onTrackBegin(ImageTrackBar* bar) override { record("begin", bar); }
    void onTrackEnd(ImageTrackBar* bar) override { record("end", bar); }

    std::vector<std::string> events;
    std::vector<int> values;

private:
    void record(const char* event, ImageTrackBar* bar) {
        events.push_back(event);
        values.push_back(bar->value());
    }
};
