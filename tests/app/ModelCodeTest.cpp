#include <gtest/gtest.h>

#include "app/ModelCode.h"

namespace {

ModelCode parsed(const std::wstring& text, bool expectAccepted) {
    ModelCode code;  // built-in 3/18
    EXPECT_EQ(parseModelCode(text, code), expectAccepted) << "text: " << std::string(text.begin(), text.end());
    return code;
}

TEST(ModelCode, ShippedTextGivesMajorTwoMinorThree) {
    const ModelCode code = parsed(L"0203", true);
    EXPECT_EQ(code.major, 2);
    EXPECT_EQ(code.minor, 3);
}

TEST(ModelCode, TextsThatAreNoHexNumberOrTooLargeKeepTheBuiltInCode) {
    for (const wchar_t* text : {L"", L"zz", L"G1", L"10000", L"FFFFFFFFFFFFFFFFFFFF"}) {
        const ModelCode code = parsed(text, false);
        EXPECT_EQ(code.major, 3);
        EXPECT_EQ(code.minor, 18);
    }
}

TEST(ModelCode, ParseStopsAtTheFirstNonDigitAndTakesTheTopValue) {
    ModelCode code = parsed(L"12ab!", true);  // 0x12AB
    EXPECT_EQ(code.major, 0x12);
    EXPECT_EQ(code.minor, 0xAB);
    code = parsed(L"FFFF", true);
    EXPECT_EQ(code.major, 0xFF);
    EXPECT_EQ(code.minor, 0xFF);
}

TEST(ModelCode, LoadedFromTheStringTable) {
    modelCode() = ModelCode{};
    loadModelCode();
    EXPECT_EQ(modelCode().major, 2);
    EXPECT_EQ(modelCode().minor, 3);
}

}  // namespace
