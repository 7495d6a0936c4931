// TGA writing: the run-length packets byte by byte, and whole files read
// back through the system's own decoder.
#include <cstring>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "resources/tga_image.h"
#include "tools/assets/random.h"
#include "tools/assets/tga_writer.h"

namespace {

using assets::Image;
using assets::TgaEncoding;
using Bytes = std::vector<uint8_t>;

// Packets for a row of one-byte "pixels" (bytesPerPixel 1 keeps the
// expectations readable).
Bytes packets(const Bytes& row) {
    Bytes out;
    assets::appendRunLengthPackets(out, row.data(), static_cast<int>(row.size()), 1);
    return out;
}

TEST(RunLengthPackets, RunsBecomeRunPacketsAndTheRestRawPackets) {
    EXPECT_EQ(packets({7, 7, 7, 1, 2, 9, 9}), (Bytes{0x82, 7, 0x01, 1, 2, 0x81, 9}));
    EXPECT_EQ(packets({5}), (Bytes{0x00, 5}));
    EXPECT_EQ(packets({1, 2, 3}), (Bytes{0x02, 1, 2, 3}));
    EXPECT_EQ(packets({4, 4}), (Bytes{0x81, 4}));
}

TEST(RunLengthPackets, NoPacketHoldsMoreThan128Pixels) {
    // 300 equal pixels: 128 + 128 + 44.
    EXPECT_EQ(packets(Bytes(300, 3)), (Bytes{0xff, 3, 0xff, 3, 0x80 | 43, 3}));
    // 130 different pixels: a raw packet of 128, then one of 2.
    Bytes distinct(130);
    for (size_t i = 0; i < distinct.size(); ++i) {
        distinct[i] = static_cast<uint8_t>(i);
    }
    Bytes out = packets(distinct);
    ASSERT_EQ(out.size(), 1u + 128u + 1u + 2u);
    EXPECT_EQ(out[0], 0x7f);
    EXPECT_EQ(out[129], 0x01);
    EXPECT_EQ(out[130], 128);
    EXPECT_EQ(out[131], 129);
}

TEST(RunLengthPackets, MultiBytePixelsCompareWhole) {
    // Pixels that share their first byte are still different pixels.
    Bytes row = {1, 2, 3, 1, 2, 4, 1, 2, 4};
    Bytes out;
    assets::appendRunLengthPackets(out, row.data(), 3, 3);
    EXPECT_EQ(out, (Bytes{0x00, 1, 2, 3, 0x81, 1, 2, 4}));
}

Image testImage(int width, int height, int channels, uint64_t stream) {
    Image image{width, height, channels,
                Bytes(static_cast<size_t>(width) * height * static_cast<size_t>(channels))};
    assets::Random random(stream);
    // Runs of random length and colour, crossing row ends, with noise between.
    size_t i = 0;
    const size_t pixels = static_cast<size_t>(width) * height;
    while (i < pixels) {
        size_t run = 1 + random.below(random.uniform() < 0.5f ? 3 : 200);
        uint8_t colour[4] = {
            static_cast<uint8_t>(random.below(256)), static_cast<uint8_t>(random.below(256)),
            static_cast<uint8_t>(random.below(256)), static_cast<uint8_t>(random.below(256))};
        for (size_t k = 0; k < run && i < pixels; ++k, ++i) {
            std::memcpy(&image.pixels[i * static_cast<size_t>(channels)], colour,
                        static_cast<size_t>(channels));
        }
    }
    return image;
}

// Decodes bytes with the system's decoder; the pixels come back R G B (A).
Bytes decoded(const Bytes& file, int& width, int& height, uint32_t& format) {
    TgaImage image;
    EXPECT_TRUE(decodeTga(file.data(), file.size(), &image));
    width = image.width;
    height = image.height;
    format = image.format;
    size_t size = static_cast<size_t>(image.width) * image.height * (format == GL_RGBA ? 4 : 3);
    Bytes pixels(image.pixels, image.pixels + size);
    releaseTgaImage(image);
    return pixels;
}

TEST(EncodeTga, EveryTypeAndDepthReadsBackUnchanged) {
    for (int channels : {3, 4}) {
        for (TgaEncoding encoding : {TgaEncoding::raw, TgaEncoding::runLength}) {
            SCOPED_TRACE(testing::Message() << channels * 8 << " bits, type "
                                            << (encoding == TgaEncoding::raw ? 2 : 10));
            Image image = testImage(37, 23, channels, 17 + channels);
            Bytes file = assets::encodeTga(image, encoding);
            EXPECT_EQ(file[2], encoding == TgaEncoding::raw ? 2 : 10);
            EXPECT_EQ(file[16], channels * 8);
            EXPECT_EQ(file[17], channels == 4 ? 0x08 : 0x00); // alpha bits, bottom-left origin
            int width = 0;
            int height = 0;
            uint32_t format = 0;
            EXPECT_EQ(decoded(file, width, height, format), image.pixels);
            EXPECT_EQ(width, 37);
            EXPECT_EQ(height, 23);
            EXPECT_EQ(format, channels == 4 ? uint32_t{GL_RGBA} : uint32_t{GL_RGB});
        }
    }
}

TEST(EncodeTga, RawFilesStoreBlueGreenRedRowsInOrder) {
    Image image{2, 2, 3, {10, 20, 30, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
    Bytes file = assets::encodeTga(image, TgaEncoding::raw);
    ASSERT_EQ(file.size(), 18u + 12u);
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()), (Bytes{30, 20, 10, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST(EncodeTga, RunsStopAtTheEndOfEachRow) {
    Image image{3, 2, 3, Bytes(18, 200)};
    Bytes file = assets::encodeTga(image, TgaEncoding::runLength);
    EXPECT_EQ(Bytes(file.begin() + 18, file.end()),
              (Bytes{0x82, 200, 200, 200, 0x82, 200, 200, 200}));
}

} // namespace
