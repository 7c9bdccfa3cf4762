#pragma once
// An image button's owner that writes down what it hears, in order.
#include <string>
#include <vector>

#include "ui/controls/ImageButtonListener.h"

class ButtonEvents : public ImageButtonListener {
public:
    void onClick(ImageButton* button) override { record("click", button); }
    void onPress(ImageButton* button) override { record("press", button); }

    int count(const std::string& event) const {
        int n = 0;
        for (const auto& seen : events) n += seen == event;
        return n;
    }

    std::vector<std::string> events;
    std::vector<ImageButton*> senders;

private:
    void record(const char* event, ImageButton* button) {
        events.push_back(event);
        senders.push_back(button);
    }
};
