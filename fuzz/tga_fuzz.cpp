// libFuzzer target for the TGA decoder: any byte string must decode or be
// refused without reading or writing outside a buffer, and an accepted image
// must own exactly width x height x bytes-per-pixel bytes.
//
// Built without -fsanitize=fuzzer, define TIDEMOOR_FUZZ_REPLAY_MAIN to get a
// plain main that replays the files named on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

#ifdef TIDEMOOR_FUZZ_REPLAY_MAIN
// Replays each file once; prints what it ran so a crash names its input.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>()};
        fprintf(stderr, "replaying %s (%zu bytes)\n", argv[i], bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
#endif
