// PNG loading, window grabs and picture differences.
#include "image_compare.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <stb_image.h>

Picture loadPicture(const std::string& path) {
    Picture picture;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
    if (!pixels)
        return Picture{};
    picture.rgb.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 3);
    stbi_image_free(pixels);
    return picture;
}

Picture grabWindow(unsigned long window) {
    Picture picture;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return picture;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) != 0) {
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image) {
            picture.width = attributes.width;
            picture.height = attributes.height;
            picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    const unsigned long pixel = XGetPixel(image, x, y);
                    uint8_t* out = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
                    out[0] = static_cast<uint8_t>((pixel & image->red_mask) >> 16);
                    out[1] = static_cast<uint8_t>((pixel & image->green_mask) >> 8);
                    out[2] = static_cast<uint8_t>(pixel & image->blue_mask);
                }
            }
            XDestroyImage(image);
        }
    }
    XCloseDisplay(display);
    return picture;
}

Difference compare(const Picture& a, const Picture& b) {
    Difference difference;
    difference.sameSize = a.width == b.width && a.height == b.height && a.width > 0;
    if (!difference.sameSize)
        return difference;
    uint64_t total = 0;
    for (size_t at = 0; at < a.rgb.size(); at += 3) {
        int largest = 0;
        for (size_t c = at; c < at + 3; ++c) {
            const int off = std::abs(int(a.rgb[c]) - int(b.rgb[c]));
            total += static_cast<uint64_t>(off);
            largest = std::max(largest, off);
        }
        difference.changedPixels += largest > 16 ? 1 : 0;
    }
    difference.meanAbsolute = static_cast<double>(total) / static_cast<double>(a.rgb.size());
    difference.changedShare =
        static_cast<double>(difference.changedPixels) / static_cast<double>(a.rgb.size() / 3);
    return difference;
}

double brightness(const Picture& picture, int x0, int y0, int x1, int y1) {
    x1 = x1 < 0 ? picture.width : std::min(x1, picture.width);
    y1 = y1 < 0 ? picture.height : std::min(y1, picture.height);
    uint64_t total = 0;
    uint64_t count = 0;
    for (int y = std::max(y0, 0); y < y1; ++y)
        for (int x = std::max(x0, 0); x < x1; ++x, count += 3)
            for (int c = 0; c < 3; ++c)
                total += picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3 + c];
    return count > 0 ? static_cast<double>(total) / static_cast<double>(count) : 0.0;
}
