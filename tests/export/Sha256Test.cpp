#include <gtest/gtest.h>

#include <string>

#include "export/Sha256.h"

namespace {

std::string hashOf(const std::string& text, std::size_t piece) {
    Sha256 sum;
    for (std::size_t at = 0; at < text.size(); at += piece) sum.update(text.data() + at, std::min(piece, text.size() - at));
    return Sha256::toHex(sum.finish());
}

// FIPS 180-4 example messages, fed whole and in pieces that straddle blocks.
TEST(Sha256, KnownDigests) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        for (std::size_t piece : {std::size_t{1}, std::size_t{55}, std::size_t{64}, std::size_t{1000}}) {
            if (piece == 1 && c.message.size() > 1000) continue;
            EXPECT_EQ(hashOf(c.message, piece == 1000 ? c.message.size() + 1 : piece), c.digest)
                << c.message.size() << " bytes in pieces of " << piece;
        }
    }
}

// Lengths around the padding boundary (55, 56 and 64 bytes) change the padding's shape.
TEST(Sha256, PaddingBoundaries) {
    EXPECT_EQ(hashOf(std::string(55, 'a'), 7), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(hashOf(std::string(56, 'a'), 7), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(hashOf(std::string(64, 'a'), 7), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
}

}  // namespace
