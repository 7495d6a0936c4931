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

namespace {

void clampRectangle(const Picture& picture, int& x0, int& y0, int& x1, int& y1) {
    if (x1 <= 0 || x1 > picture.width)
        x1 = picture.width;
    if (y1 <= 0 || y1 > picture.height)
        y1 = picture.height;
    x0 = std::clamp(x0, 0, x1);
    y0 = std::clamp(y0, 0, y1);
}

} // namespace

Difference compare(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    Difference difference;
    difference.sameSize = a.width == b.width && a.height == b.height && a.width > 0;
    if (!difference.sameSize)
        return difference;
    clampRectangle(a, x0, y0, x1, y1);
    uint64_t total = 0;
    uint64_t pixels = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const size_t at = (static_cast<size_t>(y) * a.width + x) * 3;
            int largest = 0;
            for (int c = 0; c < 3; ++c) {
                const int off = std::abs(int(a.rgb[at + c]) - int(b.rgb[at + c]));
                total += static_cast<uint64_t>(off);
                largest = std::max(largest, off);
            }
            if (largest > 16)
                ++difference.changedPixels;
            ++pixels;
        }
    }
    if (pixels > 0) {
        difference.meanAbsolute = static_cast<double>(total) / static_cast<double>(pixels * 3);
        difference.changedShare =
            static_cast<double>(difference.changedPixels) / static_cast<double>(pixels);
    }
    return difference;
}

double brightness(const Picture& picture, int x0, int y0, int x1, int y1) {
    clampRectangle(picture, x0, y0, x1, y1);
    uint64_t total = 0;
    uint64_t count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, count += 3)
            for (int c = 0; c < 3; ++c)
                total += picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3 + c];
    return count > 0 ? static_cast<double>(total) / static_cast<double>(count) : 0.0;
}
