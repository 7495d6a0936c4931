// Images as the scene's textures store them, and the float canvases the
// painters draw on.
//
// Row 0 is texture row t = 0 and column 0 is s = 0: texel (i, j) covers
// s = (i + 0.5) / width, t = (j + 0.5) / height. The loader uploads rows in
// file order, so this is also the order the TGA writer stores them in.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assets/base/vectors.h"

namespace assets {

// 8-bit texels, R G B (A) interleaved, rows tightly packed.
struct Image {
    int width = 0;
    int height = 0;
    int channels = 3; // 3 or 4
    std::vector<uint8_t> pixels;
};

// Linear colours in [0, 1] per texel.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Vector3> texels;

    Vector3& at(int i, int j) { return texels[static_cast<size_t>(j) * width + i]; }
    Vector3 at(int i, int j) const { return texels[static_cast<size_t>(j) * width + i]; }
};

// Heights per texel, in texels (a slope of 1 rises one texel per texel).
struct HeightMap {
    int width = 0;
    int height = 0;
    std::vector<float> heights;

    float at(int i, int j) const { return heights[static_cast<size_t>(j) * width + i]; }
};

// A canvas whose texel (i, j) is paint(s, t) at the texel centre.
template <typename Paint>
Canvas paintCanvas(int width, int height, Paint paint) {
    Canvas canvas{width, height, std::vector<Vector3>(static_cast<size_t>(width) * height)};
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            canvas.at(i, j) = paint((i + 0.5f) / width, (j + 0.5f) / height);
        }
    }
    return canvas;
}

// A height map whose texel (i, j) is shape(s, t) at the texel centre.
template <typename Shape>
HeightMap paintHeights(int width, int height, Shape shape) {
    HeightMap map{width, height, std::vector<float>(static_cast<size_t>(width) * height)};
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            map.heights[static_cast<size_t>(j) * width + i] =
                shape((i + 0.5f) / width, (j + 0.5f) / height);
        }
    }
    return map;
}

// Quantises a canvas to 8 bits per channel (rounded, clamped); channels 4
// adds an opaque alpha.
Image toImage(const Canvas& canvas, int channels);

} // namespace assets
