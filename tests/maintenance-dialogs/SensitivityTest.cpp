// The two views of a sensitivity: simple levels with in-between positions, the
// exact value on the reversed detailed slider, and the typed G text.
#include <gtest/gtest.h>

#include "maintenance/SensitivityTable.h"
#include "maintenance/SensitivityText.h"

namespace {

const SensitivityTable& shock = SensitivityTable::forKind(SensitivityTable::kindShock);
const SensitivityTable& eco = SensitivityTable::forKind(SensitivityTable::kindEco);

TEST(SensitivityTable, EveryLevelShowsAtItsOwnEvenPositionAndReadsBack) {
    for (const SensitivityTable* table : {&shock, &eco}) {
        for (int position = 0; position <= SensitivityTable::simplePositionMax; position += 2) {
            const int value = table->valueAtSimplePosition(position);
            EXPECT_TRUE(table->inTable(value));
            EXPECT_EQ(table->simplePositionOf(value), position) << value;
        }
    }
    EXPECT_EQ(shock.valueAtSimplePosition(10), 45);
    EXPECT_EQ(eco.valueAtSimplePosition(10), 40);
    EXPECT_EQ(shock.valueAtSimplePosition(20), 30);
    EXPECT_EQ(eco.valueAtSimplePosition(0), 50);
}

TEST(SensitivityTable, ValuesBetweenLevelsLandOnTheOddPositionBetweenThem) {
    EXPECT_EQ(shock.simplePositionOf(44), 11);  // between 45 (level 6) and 42 (level 7)
    EXPECT_EQ(shock.simplePositionOf(59), 1);
    EXPECT_EQ(shock.simplePositionOf(31), 19);
    EXPECT_EQ(eco.simplePositionOf(41), 9);  // between 42 (level 5) and 40 (level 6)
    EXPECT_FALSE(shock.inTable(44));
    EXPECT_FALSE(eco.inTable(45));  // a shock level, not an eco one
    EXPECT_TRUE(shock.inTable(45));
}

TEST(SensitivityTable, ValuesBeyondEitherEndStandAtPositionZero) {
    EXPECT_EQ(shock.simplePositionOf(61), 0);
    EXPECT_EQ(shock.simplePositionOf(9999), 0);
    EXPECT_EQ(shock.simplePositionOf(29), 0);
    EXPECT_EQ(eco.simplePositionOf(51), 0);
    EXPECT_EQ(eco.simplePositionOf(-5), 0);
}

TEST(SensitivityTable, LevelLabelsAndSnappingTowardsHigh) {
    EXPECT_EQ(SensitivityTable::levelLabel(10), L"6");
    EXPECT_EQ(SensitivityTable::levelLabel(11), L"6*");
    EXPECT_EQ(SensitivityTable::levelLabel(9), L"5*");
    EXPECT_EQ(SensitivityTable::levelLabel(20), L"11");
    EXPECT_EQ(SensitivityTable::snappedPosition(11), 12);
    EXPECT_EQ(SensitivityTable::snappedPosition(19), 20);
    EXPECT_EQ(SensitivityTable::snappedPosition(12), 12);
    // Positions read from a slider never leave its range, even if asked odd things.
    EXPECT_EQ(SensitivityTable::snappedPosition(21), 20);
    EXPECT_EQ(shock.valueAtSimplePosition(-3), 60);
    EXPECT_EQ(shock.valueAtSimplePosition(40), 30);
}

TEST(SensitivityText, AcceptsDecimalNumbersWithBlanksAround) {
    EXPECT_EQ(parseHundredths(L"0.375"), 37);  // 37.5 rounds down
    EXPECT_EQ(parseHundredths(L" 0.4 "), 40);
    EXPECT_EQ(parseHundredths(L"\t0.45\r\n"), 45);
    EXPECT_EQ(parseHundredths(L"0.29"), 29);  // 28.999… in binary
    EXPECT_EQ(parseHundredths(L"0.57"), 57);
    EXPECT_EQ(parseHundredths(L".5"), 50);
    EXPECT_EQ(parseHundredths(L"1."), 100);
    EXPECT_EQ(parseHundredths(L"+0.33"), 33);
    EXPECT_EQ(parseHundredths(L"-0.2"), -20);
    EXPECT_EQ(parseHundredths(L"4.5e-1"), 45);
    EXPECT_EQ(parseHundredths(L"45E-2"), 45);
}

TEST(SensitivityText, TakesWhatAJapaneseInputMethodTypes) {
    EXPECT_EQ(parseHundredths(L"\x3000" L"0.4\x3000"), 40);
    EXPECT_EQ(parseHundredths(L"\xFF10\xFF0E\xFF14\xFF15"), 45);  // full-width 0.45
    EXPECT_EQ(parseHundredths(L" \x3000\xFF10.\xFF13\xFF17\xFF15\x3000 "), 37);
    EXPECT_EQ(parseHundredths(L"\x3000\x3000"), 0);
}

TEST(SensitivityText, BlankTextReadsAsZero) {
    EXPECT_EQ(parseHundredths(L""), 0);
    EXPECT_EQ(parseHundredths(L"   "), 0);
}

TEST(SensitivityText, RejectsAnythingButANumberAndBlanks) {
    for (const wchar_t* text : {L"0.5x", L"x0.5", L"abc", L"0.4 5", L".", L"-", L"+.", L"0,45", L"1e", L"1e+", L"inf",
                                L"nan", L"infinity", L"0x10", L"0.4\x3000x", L"\x0660", L"\xFF10\xFF0C\xFF14",
                                L"0.4\x3000\xFF15", L"\xFF41", L"\x3001" L"0.4", L"\xFF0B\xFF10"}) {
        EXPECT_FALSE(parseHundredths(text).has_value()) << text;
    }
}

TEST(SensitivityText, FarOutNumbersStayIntegers) {
    EXPECT_EQ(parseHundredths(L"1e300"), hundredthsLimit);
    EXPECT_EQ(parseHundredths(L"1e99999"), hundredthsLimit);
    EXPECT_EQ(parseHundredths(L"-1e300"), -hundredthsLimit);
    EXPECT_EQ(parseHundredths(L"99999999999999999999"), hundredthsLimit);
    EXPECT_EQ(parseHundredths(L"1e-400"), 0);
    EXPECT_EQ(parseHundredths(std::wstring(600, L'9')), hundredthsLimit);
}

}  // namespace
