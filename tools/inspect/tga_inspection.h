// What the system makes of a TGA file: the decoded size, pixel format and
// first pixel, without a GL context.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TgaInspection {
    std::string path;
    bool ok = false; // what loadTga returned
    // As far as decoding got, also when it failed (see loadTga).
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t format = 0; // GL_ALPHA, GL_RGB, GL_RGBA or 0
    // The bytes of the first pixel in file row order (R G B (A), or the
    // single alpha byte); empty when the image holds no pixels.
    std::vector<uint8_t> firstPixel;
};

TgaInspection inspectTga(const std::string& path);

// "GL_ALPHA", "GL_RGB", "GL_RGBA", or null for anything else.
const char* tgaFormatName(uint32_t format);

void writeTgaJson(const TgaInspection& inspection, std::FILE* out);
void writeTgaSummary(const TgaInspection& inspection, std::FILE* out);
