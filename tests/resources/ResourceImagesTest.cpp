// Every interface picture the program loads must be in the executable, be a PNG
// and have the size its control or panel is laid out for: a missing or mis-sized
// picture fails here instead of showing as a gap or a misdrawn panel.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/Exception.h"
#include "app/Resources.h"

namespace {

struct ExpectedPicture {
    int id;
    std::uint32_t width;
    std::uint32_t height;
};

// Ids and sizes from the layout of the windows and controls that draw them
// (kept here, apart from the artwork generator, so the two check each other).
// clang-format off
const ExpectedPicture kPictures[] = {
    // main window decoration, logo
    {218, 209, 20}, {219, 209, 120}, {220, 209, 20}, {284, 21, 480}, {285, 280, 73},
    // information panel: background, title, kinds, indicator
    {10026, 209, 180}, {10036, 146, 34}, {288, 117, 20}, {286, 117, 20}, {287, 117, 20}, {430, 117, 20},
    {429, 117, 20}, {408, 32, 32},
    // date characters '/', '0'-'9', '-'
    {224, 9, 12}, {225, 9, 12}, {226, 9, 12}, {227, 9, 12}, {228, 9, 12}, {229, 9, 12}, {230, 9, 12},
    {231, 9, 12}, {232, 9, 12}, {233, 9, 12}, {234, 9, 12}, {235, 9, 12},
    // time characters '-', '0'-'9', ':'
    {250, 21, 31}, {251, 21, 31}, {252, 21, 31}, {253, 21, 31}, {254, 21, 31}, {255, 21, 31}, {256, 21, 31},
    {257, 21, 31}, {258, 21, 31}, {259, 21, 31}, {260, 21, 31}, {261, 21, 31},
    // console panel background, enabled and one-shot
    {223, 250, 65}, {221, 20, 65}, {222, 400, 65}, {424, 20, 65}, {425, 74, 65},
    // event offset characters '±', '0'-'9', '.', '-', '+'
    {236, 12, 13}, {237, 11, 13}, {238, 11, 13}, {239, 11, 13}, {240, 11, 13}, {241, 11, 13}, {242, 11, 13},
    {243, 11, 13}, {244, 11, 13}, {245, 11, 13}, {246, 11, 13}, {247, 5, 13}, {248, 12, 13}, {249, 12, 13},
    // console buttons: normal, pressed, disabled (play and pause faces 40, stop 26, folders 30, frames 22)
    {10015, 40, 40}, {10016, 40, 40}, {10017, 40, 40}, {10034, 40, 40}, {10035, 40, 40}, {10033, 40, 40},
    {10018, 26, 26}, {10019, 26, 26}, {10020, 26, 26}, {10009, 30, 30}, {10010, 30, 30}, {10011, 30, 30},
    {10012, 30, 30}, {10013, 30, 30}, {10014, 30, 30}, {10003, 22, 22}, {10004, 22, 22}, {10005, 22, 22},
    {10006, 22, 22}, {10007, 22, 22}, {10008, 22, 22},
    // position bar (30 high): track, fill, thumb, markers
    {10027, 40, 30}, {295, 40, 30}, {10031, 13, 13}, {10029, 17, 16}, {10030, 17, 16},
    // configuration panel: background, slider tracks (client size) and thumb, buttons
    {10024, 209, 140}, {403, 151, 16}, {10001, 151, 16}, {291, 10, 16}, {290, 17, 15}, {431, 17, 15},
    {289, 16, 16}, {10021, 102, 28}, {10022, 102, 28}, {10023, 102, 28},
    // G-sensor chart frame
    {359, 40, 90}, {360, 20, 90}, {361, 40, 90},
    // thumbnail strip: background, buttons, placeholder, selection frame
    {426, 74, 90}, {427, 20, 90}, {428, 74, 90}, {433, 30, 30}, {434, 30, 30}, {435, 30, 30}, {436, 30, 30},
    {437, 30, 30}, {438, 30, 30}, {439, 30, 30}, {440, 30, 30}, {441, 30, 30}, {442, 30, 30}, {443, 30, 30},
    {444, 30, 30}, {447, 71, 53}, {448, 71, 53},
};
// clang-format on

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// The PNG signature, then the IHDR chunk whose width and height are at 16 and 20.
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kIhdrEnd = 24;

::testing::AssertionResult isPngOfSize(const ResourceBytes& bytes, std::uint32_t width, std::uint32_t height) {
    if (!bytes.data || bytes.size < kIhdrEnd) return ::testing::AssertionFailure() << "only " << bytes.size << " bytes";
    if (!std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.data))
        return ::testing::AssertionFailure() << "not a PNG";
    if (std::string(reinterpret_cast<const char*>(bytes.data) + 12, 4) != "IHDR")
        return ::testing::AssertionFailure() << "no IHDR chunk first";
    const std::uint32_t w = bigEndian32(bytes.data + 16);
    const std::uint32_t h = bigEndian32(bytes.data + 20);
    if (w != width || h != height)
        return ::testing::AssertionFailure() << w << " x " << h << " instead of " << width << " x " << height;
    return ::testing::AssertionSuccess();
}

// The program draws pictures opaque and ignores the fourth byte of a pixel, so a
// transparent area would show whatever colour happens to be stored under it.
::testing::AssertionResult isOpaque(const ResourceBytes& bytes) {
    constexpr std::size_t kColourTypeOffset = 25;
    constexpr unsigned char kAlphaBit = 4;
    if (bytes.size <= kColourTypeOffset) return ::testing::AssertionFailure() << "no colour type";
    if (bytes.data[kColourTypeOffset] & kAlphaBit) return ::testing::AssertionFailure() << "has an alpha channel";
    std::size_t chunk = sizeof kPngSignature;
    while (chunk + 8 <= bytes.size) {
        const std::string type(reinterpret_cast<const char*>(bytes.data) + chunk + 4, 4);
        if (type == "tRNS") return ::testing::AssertionFailure() << "has a transparency chunk";
        if (type == "IDAT") return ::testing::AssertionSuccess();
        const std::uint32_t length = bigEndian32(bytes.data + chunk);
        if (length > bytes.size - chunk - 12) break;
        chunk += 12 + length;
    }
    return ::testing::AssertionFailure() << "no image data";
}

TEST(ResourceImages, EveryPictureIsAnOpaquePngOfItsLaidOutSize) {
    for (const auto& picture : kPictures) {
        SCOPED_TRACE(picture.id);
        try {
            const ResourceBytes bytes = loadResource(L"IMAGE", picture.id);
            EXPECT_TRUE(isPngOfSize(bytes, picture.width, picture.height));
            EXPECT_TRUE(isOpaque(bytes));
        } catch (const Exception&) {
            ADD_FAILURE() << "picture " << picture.id << " cannot be loaded";
        }
    }
}

BOOL CALLBACK collectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<int>*>(found)->insert(static_cast<int>(LOWORD(name)));
    else
        reinterpret_cast<std::set<int>*>(found)->insert(-1);  // a named picture: never looked up
    return TRUE;
}

TEST(ResourceImages, CarriesNoPictureOutsideTheList) {
    std::set<int> carried;
    EnumResourceNamesW(GetModuleHandleW(nullptr), L"IMAGE", collectId, reinterpret_cast<LONG_PTR>(&carried));
    std::set<int> listed;
    for (const auto& picture : kPictures) listed.insert(picture.id);
    EXPECT_EQ(listed.size(), std::size(kPictures)) << "an id is listed twice";
    std::vector<int> unlisted, absent;
    std::set_difference(carried.begin(), carried.end(), listed.begin(), listed.end(), std::back_inserter(unlisted));
    std::set_difference(listed.begin(), listed.end(), carried.begin(), carried.end(), std::back_inserter(absent));
    EXPECT_TRUE(unlisted.empty()) << ::testing::PrintToString(unlisted) << " carried but not listed";
    EXPECT_TRUE(absent.empty()) << ::testing::PrintToString(absent) << " listed but not carried";
}

struct IconEntry {
    int size;
    int bitCount;
};

// GRPICONDIR: reserved, type 1, count; then 14-byte entries (width byte 0 means 256).
std::vector<IconEntry> iconGroupEntries(const ResourceBytes& group) {
    std::vector<IconEntry> entries;
    if (group.size < 6 || group.data[2] != 1 || group.data[3] != 0) return entries;
    const std::size_t count = group.data[4] | (group.data[5] << 8);
    if (group.size < 6 + count * 14) return entries;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = group.data + 6 + i * 14;
        entries.push_back({entry[0] == 0 ? 256 : entry[0], entry[6] | (entry[7] << 8)});
    }
    return entries;
}

TEST(ResourceImages, ApplicationIconHasEverySizeInFullColour) {
    std::multiset<int> sizes;
    for (const IconEntry& entry : iconGroupEntries(loadResource(RT_GROUP_ICON, 294))) {
        sizes.insert(entry.size);
        EXPECT_EQ(entry.bitCount, 32) << entry.size;
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 24, 32, 48, 256}));
    for (int size : {16, 32, 48}) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(294), IMAGE_ICON, size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
}

}  // namespace
