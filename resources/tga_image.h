// Truevision TGA decoding.
//
// Accepts uncompressed true-colour (type 2), run-length true-colour (10) and
// run-length greyscale (11) images of 8, 24 or 32 bits per pixel. The pixels
// come out tightly packed in file row order, R G B (A), ready for
// glTexImage2D. The decoder expects hostile input: every size is checked
// before it is used, and nothing is read or written outside its buffer.
#pragma once

#include <cstddef>
#include <cstdint>

// The GL pixel formats an image reports, by value, so that decoding needs no
// GL header: GL_ALPHA, GL_RGB and GL_RGBA.
constexpr uint32_t formatAlpha = 0x1906;
constexpr uint32_t formatRgb = 0x1907;
constexpr uint32_t formatRgba = 0x1908;

struct TgaImage {
    uint16_t width = 0;
    uint16_t height = 0;
    // Heap buffer (malloc; the caller frees it) of width x height x
    // bytes-per-pixel bytes; null when empty.
    uint8_t* pixels = nullptr;
    // GL_ALPHA (8 bits), GL_RGB (24) or GL_RGBA (32); 0 when empty.
    uint32_t format = 0;
};

// Largest side accepted; anything bigger is taken for a corrupt header.
constexpr uint32_t maxTgaSide = 16384;

// Decodes a TGA file held in memory into image, which should be empty (its
// old pixels are not freed). Returns false for a null argument, a header cut
// short, an unsupported type or depth, a side above maxTgaSide, or more
// pixels than the remaining bytes could encode at the best run-length ratio.
// The image-ID field and any colour map are skipped; run-length packets are
// cut at the last pixel; pixels that a truncated file does not supply are
// zero. A width or height of 0 gives true with pixels null.
//
// On false the record holds what was read before the failure: untouched for
// a short header or an unsupported type; width and height set for an
// unsupported depth; width, height and format set and pixels null for a size
// the file cannot back or memory cannot hold.
bool decodeTga(const uint8_t* bytes, size_t size, TgaImage* image);

// Reads the regular file at path and decodes it with decodeTga. Anything but
// a regular file (a directory, FIFO or device) gives false, image untouched.
bool loadTga(const char* path, TgaImage* image);

// Swaps byte 0 and byte 2 of every pixel in place (BGR(A) <-> RGB(A)). The
// pixel size is 4 bytes for GL_RGBA and 3 otherwise.
void swapRedBlue(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t format);

// Frees the pixels and returns the image to empty.
void releaseTgaImage(TgaImage& image);
