// TGA decoding: the accepted formats, the record left by each failure, and
// hostile files that must neither crash nor allocate beyond what they encode.
#include <algorithm>
#include <array>
#include <filesystem>
#include <random>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// Decodes bytes into a fresh image, freed by the destructor.
struct Decoded {
    explicit Decoded(const Bytes& bytes) : ok(decodeTga(bytes.data(), bytes.size(), &image)) {}
    ~Decoded() { releaseTgaImage(image); }
    Bytes pixels() const {
        size_t bpp = image.format == GL_RGBA ? 4 : image.format == GL_RGB ? 3 : 1;
        size_t n = size_t{image.width} * image.height * bpp;
        return image.pixels ? Bytes(image.pixels, image.pixels + n) : Bytes{};
    }
    TgaImage image;
    bool ok;
};

TEST(DecodeTga, AcceptedFormats) {
    Decoded rgb(tga(2, 2, 2, 24, {10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.image.width, 2);
    EXPECT_EQ(rgb.image.height, 2);
    EXPECT_EQ(rgb.image.format, uint32_t{GL_RGB});
    EXPECT_EQ(rgb.pixels(), (Bytes{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));

    // A run of 4, then 3 raw pixels.
    Decoded rgba(tga(10, 7, 1, 32, {0x83, 1, 2, 3, 4, 0x02, 5, 6, 7, 8, 5, 6, 7, 9, 5, 6, 7, 10}));
    ASSERT_TRUE(rgba.ok);
    EXPECT_EQ(rgba.image.format, uint32_t{GL_RGBA});
    EXPECT_EQ(rgba.pixels(), (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2,
                                    1, 4, 7, 6, 5, 8, 7, 6, 5, 9, 7, 6, 5, 10}));

    // Greyscale keeps its bytes as they are.
    Decoded grey(tga(11, 5, 1, 8, {0x81, 7, 0x02, 1, 2, 3}));
    ASSERT_TRUE(grey.ok);
    EXPECT_EQ(grey.image.format, uint32_t{GL_ALPHA});
    EXPECT_EQ(grey.pixels(), (Bytes{7, 7, 1, 2, 3}));

    // Runs of 128, 128 and 44 pixels: the span-doubling copy fills each.
    Decoded runs(tga(10, 300, 1, 24, {0xFF, 1, 2, 3, 0xFF, 4, 5, 6, 0xAB, 7, 8, 9}));
    ASSERT_TRUE(runs.ok);
    Bytes p = runs.pixels();
    for (size_t i = 0; i < 300; ++i) {
        uint8_t b = i < 128 ? 1 : i < 256 ? 4 : 7;
        ASSERT_EQ(Bytes(p.begin() + i * 3, p.begin() + i * 3 + 3),
                  (Bytes{uint8_t(b + 2), uint8_t(b + 1), b}))
            << i;
    }

    Decoded noWidth(tga(2, 0, 5, 32));
    EXPECT_TRUE(noWidth.ok);
    EXPECT_EQ(noWidth.image.pixels, nullptr);
    EXPECT_EQ(noWidth.image.format, uint32_t{GL_RGBA});
}

TEST(DecodeTga, RefusalsLeaveWhatWasRead) {
    for (uint8_t type : {0, 1, 3, 9, 32}) {
        TgaImage image{3, 4, nullptr, 99};
        Bytes bytes = tga(type, 2, 2, 24, Bytes(12));
        EXPECT_FALSE(decodeTga(bytes.data(), bytes.size(), &image)) << int{type};
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.format, 99u);
    }
    for (uint8_t depth : {15, 16, 0, 31}) {
        TgaImage image{3, 4, nullptr, 99};
        Bytes bytes = tga(2, 2, 5, depth, Bytes(40));
        EXPECT_FALSE(decodeTga(bytes.data(), bytes.size(), &image)) << int{depth};
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 5);
        EXPECT_EQ(image.format, 99u);
    }
}

// Regression: the image-ID field and an announced colour map were read as
// pixels, shifting the picture.
TEST(DecodeTga, SkipsIdFieldAndColourMap) {
    Bytes withId = tga(2, 1, 1, 24, {'i', 'd', 10, 20, 30});
    withId[0] = 2;
    EXPECT_EQ(Decoded(withId).pixels(), (Bytes{30, 20, 10}));

    // Three 15-bit entries take two bytes each.
    Bytes withMap = tga(10, 2, 1, 8, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x81, 42});
    withMap[1] = 1;
    withMap[5] = 3;
    withMap[7] = 15;
    EXPECT_EQ(Decoded(withMap).pixels(), (Bytes{42, 42}));
}

// Regression: a header cut short was decoded from stale bytes, missing pixels
// held whatever malloc gave, and a packet running past the last pixel wrote
// beyond the buffer.
TEST(DecodeTga, ShortFilesAndOverrunningPackets) {
    Bytes bytes = tga(2, 1, 1, 8, {5});
    for (size_t size = 0; size < 18; ++size) {
        TgaImage image;
        EXPECT_FALSE(decodeTga(bytes.data(), size, &image)) << size;
        EXPECT_EQ(image.width, 0);
    }
    EXPECT_EQ(Decoded(tga(2, 4, 1, 24, {1, 2, 3, 4})).pixels(),
              (Bytes{3, 2, 1, 0, 0, 4, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Decoded(tga(10, 3, 1, 32, {0x81, 1, 2})).pixels(),
              (Bytes{0, 2, 1, 0, 0, 2, 1, 0, 0, 0, 0, 0}));

    EXPECT_EQ(Decoded(tga(10, 3, 1, 24, {0xFF, 1, 2, 3})).pixels(),
              (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1}));
    EXPECT_EQ(Decoded(tga(11, 2, 1, 8, {0x04, 1, 2, 3, 4, 5, 0xFF, 9})).pixels(), (Bytes{1, 2}));
}

// Regression: a forged size made the loader allocate gigabytes for a tiny file.
TEST(DecodeTga, SizesTheBodyCannotBackAreRefused) {
    TgaImage image;
    Bytes huge = tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4});
    EXPECT_FALSE(decodeTga(huge.data(), huge.size(), &image));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 65535);
    EXPECT_EQ(image.format, uint32_t{GL_RGBA});

    // One 5-byte run packet yields at most 128 pixels.
    Bytes limit = tga(10, 128, 1, 32, {0xFF, 1, 2, 3, 4});
    EXPECT_TRUE(Decoded(limit).ok);
    limit[12] = 129;
    EXPECT_FALSE(Decoded(limit).ok);

    // A side above the cap is refused even when the body could back it.
    EXPECT_TRUE(Decoded(tga(2, maxTgaSide, 1, 8, Bytes(maxTgaSide, 7))).ok);
    EXPECT_FALSE(Decoded(tga(2, maxTgaSide + 1, 1, 8, Bytes(maxTgaSide + 1, 7))).ok);

    // An ID field longer than the file leaves no body at all.
    Bytes skipped = tga(2, 1, 1, 8, {1, 2, 3, 4});
    skipped[0] = 255;
    EXPECT_FALSE(Decoded(skipped).ok);
}

// Random buffers and mutations of valid files must not crash; under ASan the
// read of the last claimed byte also checks the buffer's size.
TEST(DecodeTga, SurvivesGarbage) {
    std::mt19937 rng(1234);
    const std::vector<Bytes> samples = {
        tga(2, 3, 3, 24, Bytes(27, 9)),
        tga(10, 16, 8, 32, {0xFF, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}),
        tga(11, 40, 3, 8, {0x85, 1, 0x7F, 1, 2, 3}),
    };
    for (int round = 0; round < 4000; ++round) {
        Bytes bytes;
        if (round % 2 == 0) {
            bytes.resize(rng() % 96);
            std::generate(bytes.begin(), bytes.end(), [&] { return uint8_t(rng()); });
            if (bytes.size() > 16) {
                bytes[2] = std::array<uint8_t, 3>{2, 10, 11}[rng() % 3];
                bytes[16] = std::array<uint8_t, 3>{8, 24, 32}[rng() % 3];
            }
        } else {
            bytes = samples[rng() % samples.size()];
            for (int flips = 1 + rng() % 4; flips > 0; --flips) {
                bytes[rng() % bytes.size()] = uint8_t(rng());
            }
            bytes.resize(rng() % (bytes.size() + 1));
        }
        Decoded d(bytes);
        if (d.ok && d.image.pixels != nullptr) {
            volatile uint8_t last = d.pixels().back();
            (void)last;
        }
    }
}

// Regression: a directory or FIFO was opened as an image (a FIFO blocked).
TEST(LoadTga, RefusesMissingAndIrregularFiles) {
    std::string dir = (std::filesystem::temp_directory_path() / "tidemoor-tga-XXXXXX").string();
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    std::string fifo = dir + "/pipe.tga";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {dir + "/missing.tga", dir, fifo}) {
        TgaImage image{3, 4, nullptr, 99};
        EXPECT_FALSE(loadTga(path.c_str(), &image)) << path;
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.format, 99u);
    }
    std::filesystem::remove_all(dir);
}

// The committed fixtures, also the fuzzer's samples: every good file loads,
// every corrupt one is refused.
TEST(LoadTga, GoodFixturesLoadAndCorruptAreRefused) {
    namespace fs = std::filesystem;
    int good = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TIDEMOOR_TEST_DATA) / "good")) {
        TgaImage image;
        EXPECT_TRUE(loadTga(entry.path().c_str(), &image)) << entry.path();
        ASSERT_NE(image.pixels, nullptr) << entry.path();
        if (entry.path().filename() == "id_and_colourmap.tga") {
            EXPECT_EQ(Bytes(image.pixels, image.pixels + 6), (Bytes{3, 2, 1, 6, 5, 4}));
        }
        releaseTgaImage(image);
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_EQ(image.format, 0u);
        ++good;
    }
    int corrupt = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TIDEMOOR_TEST_DATA) / "corrupt")) {
        TgaImage image;
        EXPECT_FALSE(loadTga(entry.path().c_str(), &image)) << entry.path();
        EXPECT_EQ(image.pixels, nullptr);
        ++corrupt;
    }
    EXPECT_GE(good, 4);
    EXPECT_GE(corrupt, 4);
}

} // namespace
