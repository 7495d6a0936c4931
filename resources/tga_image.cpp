// Truevision TGA decoding from bytes in memory; loadTga is a thin file
// wrapper. The decoder treats every header field as hostile: sizes are
// bounded before anything is allocated, packets are clipped to the image, and
// bytes a short file does not hold read as zero.
#include "resources/tga_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "resources/file_bytes.h"

namespace {

constexpr size_t headerSize = 18;

// Little-endian 16-bit field at offset.
uint16_t readU16(const uint8_t* bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

// Bytes between the header and the pixels: the image-ID field and, when the
// header announces a colour map, its entries (entry size in bits rounded up
// to whole bytes). At most 255 + 65535 x 32 bytes.
size_t bytesBeforePixels(const uint8_t* header) {
    size_t skip = header[0];
    if (header[1] != 0) {
        size_t entries = readU16(header, 5);
        size_t entryBytes = (static_cast<size_t>(header[7]) + 7) / 8;
        skip += entries * entryBytes;
    }
    return skip;
}

// Most pixels that available bytes can yield: a run packet of 1 + bpp bytes
// gives 128 pixels, the best ratio there is. A trailing part-packet counts as
// a whole one, since its missing bytes decode as zero.
uint64_t mostPixelsEncodable(size_t available, uint32_t bytesPerPixel) {
    uint64_t packetBytes = 1 + bytesPerPixel;
    return (static_cast<uint64_t>(available) + packetBytes - 1) / packetBytes * 128;
}

// Writes count copies of the pixel at dst[0..bpp) after it, doubling the
// copied span each time so a long run costs a handful of memcpy calls.
void replicatePixel(uint8_t* dst, size_t bytesPerPixel, size_t count) {
    if (bytesPerPixel == 1) {
        memset(dst + 1, dst[0], count - 1);
        return;
    }
    size_t total = count * bytesPerPixel;
    size_t filled = bytesPerPixel;
    while (filled < total) {
        size_t chunk = std::min(filled, total - filled);
        memcpy(dst + filled, dst, chunk);
        filled += chunk;
    }
}

// Decodes run-length packets from data into the zeroed pixel buffer, which
// holds exactly pixelCount pixels. A packet running past the last pixel is
// cut short there; data ending early leaves the rest zero.
void decodeRunLength(const uint8_t* data, size_t size, uint8_t* pixels, size_t pixelCount,
                     size_t bytesPerPixel) {
    size_t in = 0;
    size_t pixel = 0;
    while (pixel < pixelCount && in < size) {
        uint8_t packet = data[in++];
        size_t count = std::min<size_t>((packet & 0x7F) + 1, pixelCount - pixel);
        uint8_t* out = pixels + pixel * bytesPerPixel;
        if (packet & 0x80) {
            // Run: one pixel value, repeated.
            size_t have = std::min(bytesPerPixel, size - in);
            memcpy(out, data + in, have);
            in += have;
            replicatePixel(out, bytesPerPixel, count);
        } else {
            // Raw: count pixel values in a row.
            size_t want = count * bytesPerPixel;
            size_t have = std::min(want, size - in);
            memcpy(out, data + in, have);
            in += have;
        }
        pixel += count;
    }
}

} // namespace

// Field by field, the image record is written as far as decoding got: an
// unsupported type leaves it untouched, an unsupported depth after width and
// height, a size the file cannot back after format (pixels null then).
bool decodeTga(const uint8_t* bytes, size_t size, TgaImage* image) {
    if (bytes == nullptr || image == nullptr || size < headerSize) {
        return false;
    }
    uint8_t type = bytes[2];
    if (type != 2 && type != 10 && type != 11) {
        return false;
    }
    image->width = readU16(bytes, 12);
    image->height = readU16(bytes, 14);
    uint8_t depth = bytes[16];
    uint32_t format = 0;
    switch (depth) {
    case 8:
        format = formatAlpha;
        break;
    case 24:
        format = formatRgb;
        break;
    case 32:
        format = formatRgba;
        break;
    default:
        return false;
    }
    image->format = format;
    image->pixels = nullptr;

    uint32_t bytesPerPixel = depth / 8u;
    uint64_t pixelCount = static_cast<uint64_t>(image->width) * image->height;
    if (pixelCount == 0) {
        // Nothing to hold: an empty image keeps pixels null.
        return true;
    }
    size_t skip = bytesBeforePixels(bytes);
    size_t available = size - headerSize > skip ? size - headerSize - skip : 0;
    if (image->width > maxTgaSide || image->height > maxTgaSide ||
        pixelCount > mostPixelsEncodable(available, bytesPerPixel)) {
        return false;
    }
    // Below 16384 x 16384 x 4 bytes: fits size_t without overflow.
    size_t pixelBytes = static_cast<size_t>(pixelCount) * bytesPerPixel;
    auto* pixels = static_cast<uint8_t*>(calloc(pixelBytes, 1));
    if (pixels == nullptr) {
        return false;
    }
    const uint8_t* data = bytes + headerSize + skip;
    if (type == 2) {
        memcpy(pixels, data, std::min(pixelBytes, available));
    } else {
        decodeRunLength(data, available, pixels, static_cast<size_t>(pixelCount), bytesPerPixel);
    }
    if (depth != 8) {
        swapRedBlue(pixels, image->width, image->height, format);
    }
    image->pixels = pixels;
    return true;
}

// Reads at most the bytes a legal image could use, so a huge file cannot make
// the loader allocate more than decoding needs.
bool loadTga(const char* path, TgaImage* image) {
    if (path == nullptr || image == nullptr) {
        return false;
    }
    // Header, ID field, largest colour map, then one-pixel raw packets (the
    // worst ratio) for the largest image.
    constexpr uint64_t mostUsefulBytes =
        headerSize + 255 + 65535ull * 4 + uint64_t{maxTgaSide} * maxTgaSide * 5;
    FileBytes file;
    if (!readFileBytes(path, file, mostUsefulBytes)) {
        return false;
    }
    return decodeTga(reinterpret_cast<const uint8_t*>(file.bytes.get()), file.size, image);
}

// Pixel size from format: 4 bytes for GL_RGBA, 3 for anything else, as the
// decoder only calls it for 24- and 32-bit images.
void swapRedBlue(uint8_t* pixels, uint32_t width, uint32_t height, uint32_t format) {
    if (pixels == nullptr) {
        return;
    }
    size_t step = format == formatRgba ? 4 : 3;
    size_t count = static_cast<size_t>(width) * height;
    uint8_t* end = pixels + count * step;
    for (uint8_t* p = pixels; p != end; p += step) {
        std::swap(p[0], p[2]);
    }
}

// Back to the empty image: no pixels, 0 x 0, format 0.
void releaseTgaImage(TgaImage& image) {
    free(image.pixels);
    image = TgaImage{};
}
