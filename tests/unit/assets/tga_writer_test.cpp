// TGA writing: whole files of every type and depth the scene uses, read back
// through the system's own decoder, which ignores the descriptor, so the row
// order shows.
#include <cstring>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "resources/tga_image.h"
#include "tools/assets/base/random.h"
#include "tools/assets/writing/tga_writer.h"

namespace {

using assets::Image;
using assets::TgaEncoding;
using Bytes = std::vector<uint8_t>;

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

} // namespace
