// Decoding and reporting a TGA file; see tga_inspection.h.
#include "tools/inspect/tga_inspection.h"

#include <GL/glew.h>

#include "resources/tga_image.h"
#include "tools/inspect/json_writer.h"

namespace {

size_t bytesPerPixel(uint32_t format) {
    switch (format) {
    case GL_ALPHA:
        return 1;
    case GL_RGB:
        return 3;
    case GL_RGBA:
        return 4;
    default:
        return 0;
    }
}

} // namespace

TgaInspection inspectTga(const std::string& path) {
    TgaInspection result;
    result.path = path;
    TgaImage image;
    result.ok = loadTga(path.c_str(), &image);
    result.width = image.width;
    result.height = image.height;
    result.format = image.format;
    if (image.pixels)
        result.firstPixel.assign(image.pixels, image.pixels + bytesPerPixel(image.format));
    releaseTgaImage(image);
    return result;
}

const char* tgaFormatName(uint32_t format) {
    switch (format) {
    case GL_ALPHA:
        return "GL_ALPHA";
    case GL_RGB:
        return "GL_RGB";
    case GL_RGBA:
        return "GL_RGBA";
    default:
        return nullptr;
    }
}

void writeTgaJson(const TgaInspection& inspection, std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.key("file");
    json.string(inspection.path);
    json.key("ok");
    json.boolean(inspection.ok);
    json.key("width");
    json.number(uint64_t{inspection.width});
    json.key("height");
    json.number(uint64_t{inspection.height});
    json.key("format");
    if (const char* name = tgaFormatName(inspection.format))
        json.string(name);
    else
        json.null();
    json.key("firstPixel");
    if (inspection.firstPixel.empty()) {
        json.null();
    } else {
        json.beginArray();
        for (const uint8_t byte : inspection.firstPixel)
            json.number(uint64_t{byte});
        json.endArray();
    }
    json.endObject();
    json.finish();
}

void writeTgaSummary(const TgaInspection& inspection, std::FILE* out) {
    std::string path;
    appendJsonString(path, inspection.path);
    std::fprintf(out, "TGA %s: %s\n", path.c_str(), inspection.ok ? "loaded" : "cannot be decoded");
    const char* format = tgaFormatName(inspection.format);
    std::fprintf(out, "%u x %u, %s\n", inspection.width, inspection.height,
                 format ? format : "no format");
    if (inspection.firstPixel.empty()) {
        std::fprintf(out, "first pixel: none\n");
        return;
    }
    std::fprintf(out, "first pixel:");
    for (const uint8_t byte : inspection.firstPixel)
        std::fprintf(out, " %u", unsigned{byte});
    std::fprintf(out, "\n");
}
