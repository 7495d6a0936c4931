// Quantising painted canvases into 8-bit images.
#include "tools/assets/textures/image.h"

#include <cmath>

namespace assets {

namespace {

uint8_t quantise(float value) {
    return static_cast<uint8_t>(std::lround(clamp01(value) * 255.0f));
}

} // namespace

Image toImage(const Canvas& canvas, int channels) {
    Image image{canvas.width, canvas.height, channels, {}};
    image.pixels.reserve(canvas.texels.size() * static_cast<size_t>(channels));
    for (const Vector3& texel : canvas.texels) {
        image.pixels.push_back(quantise(texel.x));
        image.pixels.push_back(quantise(texel.y));
        image.pixels.push_back(quantise(texel.z));
        if (channels == 4) {
            image.pixels.push_back(255);
        }
    }
    return image;
}

} // namespace assets
