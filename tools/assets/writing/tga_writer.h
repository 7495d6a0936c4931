// Writing images as Truevision TGA files, encoded by stb's image writer.
//
// True-colour only: 24-bit (B G R) or 32-bit (B G R A) pixels, stored raw
// (image type 2) or in run-length packets (type 10). The header carries no
// image ID and no colour map; the descriptor says "origin at the bottom left"
// with 8 alpha bits for 32-bit images, so the first row in the file is the
// bottom row, t = 0, which is how the system's loader reads every file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assets/textures/image.h"

namespace assets {

enum class TgaEncoding { raw, runLength };

// The complete file: header and pixel data. stb's settings are the
// process's, so images are encoded one at a time.
std::vector<uint8_t> encodeTga(const Image& image, TgaEncoding encoding);

// Writes bytes to path, replacing the file. Returns false on any I/O error.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace assets
