#pragma once
// The recorder's sensitivity thresholds, in hundredths of G: the acceleration at
// which it reacts, so a smaller value is a higher sensitivity. The settings
// dialog shows each kind twice: as eleven levels on a simple slider (even
// positions 0 … 20, odd positions standing for a value between two levels) and
// as the exact value on a detailed slider whose position runs the other way.
#include <array>
#include <string>

class SensitivityTable {
public:
    static constexpr int kindShock = 0;
    static constexpr int kindEco = 1;
    static constexpr int levelCount = 11;
    static constexpr int simplePositionMax = 2 * (levelCount - 1);
    static constexpr int lowestValue = 30;

    // The table of kind 0 (shock detection) or 1 (eco guidance); any other kind
    // is taken as eco guidance, the narrower range.
    static const SensitivityTable& forKind(int kind);

    // 60 for shock detection, 50 for eco guidance: the least sensitive value.
    int highestValue() const { return highestValue_; }

    // Simple slider.
    // The level value at a slider position (the entry of position ÷ 2, limited).
    int valueAtSimplePosition(int position) const;
    bool inTable(int value) const;
    // The slider position showing value: the level's even position, the odd one
    // between two levels, 0 beyond either end.
    int simplePositionOf(int value) const;
    // An odd position moves one step towards the high end.
    static int snappedPosition(int position);
    // "6" for position 10, "6*" for the in-between position 11.
    static std::wstring levelLabel(int position);

    // Detailed slider: position 0 is the least sensitive value.
    int detailPositionMax() const { return highestValue_ - lowestValue; }
    int detailValueAt(int position) const { return highestValue_ - position; }
    // The position of value, unlimited (the slider clamps it).
    int detailPositionOf(int value) const { return highestValue_ - value; }

private:
    SensitivityTable(int highestValue, std::array<int, levelCount> levels)
        : highestValue_(highestValue), levels_(levels) {}

    int highestValue_;
    std::array<int, levelCount> levels_;  // level 1 (low) first, descending values
};
