// TGA encoding through stb, with the row order the system's loader expects.
#include "tools/assets/writing/tga_writer.h"

#include <fstream>

#include <stb_image_write.h>

namespace assets {

std::vector<uint8_t> encodeTga(const Image& image, TgaEncoding encoding) {
    std::vector<uint8_t> out;
    stbi_write_tga_with_rle = encoding == TgaEncoding::runLength ? 1 : 0;
    // stb takes the first row for the top and stores it last, as the bottom
    // left origin asks; image row 0 is t = 0, the bottom, so it is flipped
    // to come first.
    stbi_flip_vertically_on_write(1);
    const auto append = [](void* context, void* data, int size) {
        auto& bytes = *static_cast<std::vector<uint8_t>*>(context);
        const auto* first = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), first, first + size);
    };
    stbi_write_tga_to_func(append, &out, image.width, image.height, image.channels,
                           image.pixels.data());
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace assets
