// libFuzzer target for the TGA decoder: any byte string must decode or be
// refused without reading or writing outside a buffer, and an accepted image
// must own exactly width x height x bytes-per-pixel bytes.
//
// Linked with replay_main.cpp instead of libFuzzer, it replays the files named
// on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <GL/glew.h>

#include "resources/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaImage image;
    if (decodeTga(data, size, &image) && image.pixels != nullptr) {
        size_t bytesPerPixel = image.format == GL_RGBA ? 4 : image.format == GL_RGB ? 3 : 1;
        size_t count = size_t{image.width} * image.height * bytesPerPixel;
        // Reading every byte lets the sanitizer check the claimed size; the
        // sum keeps the reads from being optimised away.
        volatile unsigned sum = 0;
        for (size_t i = 0; i < count; ++i) {
            sum = sum + image.pixels[i];
        }
        if (image.width > maxTgaSide || image.height > maxTgaSide) {
            abort();
        }
    }
    releaseTgaImage(image);
    return 0;
}
