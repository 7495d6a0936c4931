// TGA decoding from memory: formats and channel order, refused headers, and
// hostile bodies that must neither overrun nor allocate beyond what they hold.
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "resources/tga_image.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An 18-byte header followed by body.
Bytes tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, const Bytes& body = {}) {
    Bytes bytes(18 + body.size());
    bytes[2] = type;
    bytes[12] = static_cast<uint8_t>(width);
    bytes[13] = static_cast<uint8_t>(width >> 8);
    bytes[14] = static_cast<uint8_t>(height);
    bytes[15] = static_cast<uint8_t>(height >> 8);
    bytes[16] = depth;
    std::copy(body.begin(), body.end(), bytes.begin() + 18);
    return bytes;
}

// The header with single fields changed, as {offset, value}.
Bytes patched(Bytes bytes, std::initializer_list<std::pair<size_t, uint8_t>> fields) {
    for (const auto& [offset, value] : fields) {
        bytes[offset] = value;
    }
    return bytes;
}

// Decodes bytes into a fresh image, freed by the destructor.
struct Decoded {
    explicit Decoded(const Bytes& bytes) : ok(decodeTga(bytes.data(), bytes.size(), &image)) {}
    ~Decoded() { releaseTgaImage(image); }
    Bytes pixels() const {
        size_t bpp = image.format == formatRgba ? 4 : image.format == formatRgb ? 3 : 1;
        size_t n = size_t{image.width} * image.height * bpp;
        return image.pixels ? Bytes(image.pixels, image.pixels + n) : Bytes{};
    }
    TgaImage image;
    bool ok;
};

} // namespace

TEST(DecodeTga, PixelsComeOutRgbInFileOrder) {
    const std::pair<Bytes, Bytes> cases[] = {
        // 24 and 32 bits are swapped from the file's B G R (A); 8 bits stay.
        {tga(2, 2, 2, 24, {10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         {30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}},
        {tga(10, 4, 1, 32, {0x81, 1, 2, 3, 4, 0x01, 5, 6, 7, 8, 5, 6, 7, 9}),
         {3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8, 7, 6, 5, 9}},
        {tga(11, 5, 1, 8, {0x81, 7, 0x02, 1, 2, 3}), {7, 7, 1, 2, 3}},
        // The image-ID field and an announced colour map (three 15-bit
        // entries, two bytes each) were read as pixels.
        {patched(tga(2, 1, 1, 24, {'i', 'd', 10, 20, 30}), {{0, 2}}), {30, 20, 10}},
        {patched(tga(10, 2, 1, 8, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x81, 42}),
                 {{1, 1}, {5, 3}, {7, 15}}),
         {42, 42}},
        // A packet running past the last pixel wrote beyond the buffer.
        {tga(10, 3, 1, 24, {0xFF, 1, 2, 3}), {3, 2, 1, 3, 2, 1, 3, 2, 1}},
        {tga(11, 2, 1, 8, {0x04, 1, 2, 3, 4, 5, 0xFF, 9}), {1, 2}},
        // Pixels a truncated file does not supply held whatever malloc gave.
        {tga(2, 4, 1, 24, {1, 2, 3, 4}), {3, 2, 1, 0, 0, 4, 0, 0, 0, 0, 0, 0}},
        {tga(10, 3, 1, 32, {0x81, 1, 2}), {0, 2, 1, 0, 0, 2, 1, 0, 0, 0, 0, 0}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        Decoded decoded(cases[i].first);
        EXPECT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.pixels(), cases[i].second);
    }
    EXPECT_EQ(Decoded(cases[2].first).image.format, formatAlpha);
    Decoded empty(tga(2, 0, 5, 32));
    EXPECT_TRUE(empty.ok && empty.image.pixels == nullptr);

    // Runs of 128, 128 and 44 pixels: the span-doubling copy fills each.
    const Bytes runs =
        Decoded(tga(10, 300, 1, 24, {0xFF, 1, 2, 3, 0xFF, 4, 5, 6, 0xAB, 7, 8, 9})).pixels();
    ASSERT_EQ(runs.size(), 900u);
    for (size_t i = 0; i < 900; ++i) {
        ASSERT_EQ(size_t{runs[i]}, (i < 384 ? 1 : i < 768 ? 4 : 7) + 2 - i % 3) << i;
    }
}

// Refused: a header cut short (it was decoded from the bytes after the
// buffer), unsupported types and depths, and sizes the body cannot back.
TEST(DecodeTga, RefusesShortHeadersUnsupportedFormatsAndForgedSizes) {
    const Bytes valid = tga(2, 1, 1, 8, {5});
    for (size_t size = 0; size < 18; ++size) {
        EXPECT_FALSE(Decoded(Bytes(valid.begin(), valid.begin() + size)).ok) << size;
    }
    const std::pair<uint8_t, uint8_t> typesAndDepths[] = {{0, 24}, {1, 24}, {3, 24},  {9, 24},
                                                          {2, 0},  {2, 16}, {10, 15}, {11, 31}};
    for (const auto& [type, depth] : typesAndDepths) {
        EXPECT_FALSE(Decoded(tga(type, 2, 2, depth, Bytes(40))).ok)
            << int{type} << " " << int{depth};
    }

    // A forged size made the loader allocate gigabytes for a tiny file.
    Decoded huge(tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4}));
    EXPECT_TRUE(!huge.ok && huge.image.pixels == nullptr);
    // One 5-byte run packet yields at most 128 pixels.
    EXPECT_TRUE(Decoded(tga(10, 128, 1, 32, {0xFF, 1, 2, 3, 4})).ok);
    EXPECT_FALSE(Decoded(tga(10, 129, 1, 32, {0xFF, 1, 2, 3, 4})).ok);
    // A side above the cap is refused even when the body could back it.
    EXPECT_TRUE(Decoded(tga(2, maxTgaSide, 1, 8, Bytes(maxTgaSide, 7))).ok);
    EXPECT_FALSE(Decoded(tga(2, maxTgaSide + 1, 1, 8, Bytes(maxTgaSide + 1, 7))).ok);
    // An ID field longer than the file leaves no body at all.
    EXPECT_FALSE(Decoded(patched(tga(2, 1, 1, 8, {1, 2, 3, 4}), {{0, 255}})).ok);
}
