// TGA encoding: header, byte order and the run-length packet encoder.
#include "tools/assets/tga_writer.h"

#include <cstring>
#include <fstream>

namespace assets {

namespace {

constexpr int maxPacketPixels = 128;

bool samePixel(const uint8_t* a, const uint8_t* b, int bytesPerPixel) {
    return std::memcmp(a, b, static_cast<size_t>(bytesPerPixel)) == 0;
}

// Equal pixels starting at index first, at most maxPacketPixels.
int runLength(const uint8_t* pixels, int first, int count, int bytesPerPixel) {
    const uint8_t* start = pixels + static_cast<size_t>(first) * bytesPerPixel;
    int n = 1;
    while (first + n < count && n < maxPacketPixels &&
           samePixel(start, start + static_cast<size_t>(n) * bytesPerPixel, bytesPerPixel)) {
        ++n;
    }
    return n;
}

void putU16(std::vector<uint8_t>& out, int value) {
    out.push_back(static_cast<uint8_t>(value & 0xff));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xff));
}

} // namespace

void appendRunLengthPackets(std::vector<uint8_t>& out, const uint8_t* pixels, int count,
                            int bytesPerPixel) {
    int i = 0;
    while (i < count) {
        int run = runLength(pixels, i, count, bytesPerPixel);
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            const uint8_t* pixel = pixels + static_cast<size_t>(i) * bytesPerPixel;
            out.insert(out.end(), pixel, pixel + bytesPerPixel);
            i += run;
            continue;
        }
        // Raw packet: gather pixels until a run of two begins or the packet is full.
        int n = 1;
        while (i + n < count && n < maxPacketPixels &&
               runLength(pixels, i + n, count, bytesPerPixel) < 2) {
            ++n;
        }
        out.push_back(static_cast<uint8_t>(n - 1));
        const uint8_t* first = pixels + static_cast<size_t>(i) * bytesPerPixel;
        out.insert(out.end(), first, first + static_cast<size_t>(n) * bytesPerPixel);
        i += n;
    }
}

std::vector<uint8_t> encodeTga(const Image& image, TgaEncoding encoding) {
    const int bytesPerPixel = image.channels;
    std::vector<uint8_t> out;
    out.reserve(18 + image.pixels.size() + image.pixels.size() / 64);
    out.push_back(0); // no image ID
    out.push_back(0); // no colour map
    out.push_back(encoding == TgaEncoding::raw ? 2 : 10);
    out.insert(out.end(), 5, 0); // colour-map description (no palette)
    putU16(out, 0);              // x origin
    putU16(out, 0);              // y origin
    putU16(out, image.width);
    putU16(out, image.height);
    out.push_back(static_cast<uint8_t>(bytesPerPixel * 8));
    out.push_back(bytesPerPixel == 4 ? 0x08 : 0x00); // alpha bits; bottom-left origin

    // File byte order is B G R (A).
    std::vector<uint8_t> row(static_cast<size_t>(image.width) * bytesPerPixel);
    for (int j = 0; j < image.height; ++j) {
        const uint8_t* source =
            image.pixels.data() + static_cast<size_t>(j) * image.width * bytesPerPixel;
        for (int i = 0; i < image.width; ++i) {
            const uint8_t* texel = source + static_cast<size_t>(i) * bytesPerPixel;
            uint8_t* target = row.data() + static_cast<size_t>(i) * bytesPerPixel;
            target[0] = texel[2];
            target[1] = texel[1];
            target[2] = texel[0];
            if (bytesPerPixel == 4) {
                target[3] = texel[3];
            }
        }
        if (encoding == TgaEncoding::raw) {
            out.insert(out.end(), row.begin(), row.end());
        } else {
            appendRunLengthPackets(out, row.data(), image.width, bytesPerPixel);
        }
    }
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
