#include "maintenance/SensitivityTable.h"

#include <algorithm>

const SensitivityTable& SensitivityTable::forKind(int kind) {
    static const SensitivityTable shock(60, {60, 57, 54, 51, 48, 45, 42, 39, 36, 33, 30});
    static const SensitivityTable eco(50, {50, 48, 46, 44, 42, 40, 38, 36, 34, 32, 30});
    return kind == kindShock ? shock : eco;
}

int SensitivityTable::valueAtSimplePosition(int position) const {
    return levels_[static_cast<std::size_t>(std::clamp(position / 2, 0, levelCount - 1))];
}

bool SensitivityTable::inTable(int value) const {
    return std::find(levels_.begin(), levels_.end(), value) != levels_.end();
}

// The first level not above value decides: equal gives its own position, below
// gives the odd position just before it. A value above the first level would
// give -1 and a value below the last reaches no level: both end at 0.
int SensitivityTable::simplePositionOf(int value) const {
    for (int index = 0; index < levelCount; ++index) {
        const int level = levels_[static_cast<std::size_t>(index)];
        if (level > value) continue;
        const int position = level == value ? 2 * index : 2 * index - 1;
        return std::clamp(position, 0, simplePositionMax);
    }
    return 0;
}

int SensitivityTable::snappedPosition(int position) {
    const int snapped = position % 2 != 0 ? position + 1 : position;
    return std::clamp(snapped, 0, simplePositionMax);
}

std::wstring SensitivityTable::levelLabel(int position) {
    std::wstring label = std::to_wstring(position / 2 + 1);
    if (position % 2 != 0) label += L'*';
    return label;
}
