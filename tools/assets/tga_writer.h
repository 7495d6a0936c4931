// Writing images as Truevision TGA files.
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

#include "tools/assets/image.h"

namespace assets {

enum class TgaEncoding { raw, runLength };

// The complete file: header and pixel data.
std::vector<uint8_t> encodeTga(const Image& image, TgaEncoding encoding);

// Appends the run-length packets of count pixels of bytesPerPixel bytes each
// (already in file byte order). A run of two or more equal pixels becomes a
// run packet (header 0x80 | (n - 1), one pixel); other pixels are gathered in
// raw packets (header n - 1, n pixels). A packet holds at most 128 pixels.
// Callers pass one row at a time, so no packet spans two rows.
void appendRunLengthPackets(std::vector<uint8_t>& out, const uint8_t* pixels, int count,
                            int bytesPerPixel);

// Writes bytes to path, replacing the file. Returns false on any I/O error.
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace assets
