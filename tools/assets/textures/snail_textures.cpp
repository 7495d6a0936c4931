// The snail's textures: a pink shell with a dark spiral line and growth
// ridges, a mottled pale-blue body, and yellow eyes with red irises.
#include <cmath>

#include "tools/assets/base/noise.h"
#include "tools/assets/models/snail.h"
#include "tools/assets/textures/normal_map.h"

namespace assets {

namespace {

// Shell: s goes round the tube (0.25 faces the spiral's centre, 0.75 its
// outer keel), t runs along the spiral, tiling every unit.
float growthRidges(float s, float t) {
    float wobble = 0.02f * std::sin(twoPi * 3.0f * s);
    return std::pow(0.5f + 0.5f * std::cos(twoPi * 12.0f * (t + wobble)), 3.0f);
}

float spiralLine(float s) {
    return smoothstep(0.11f, 0.05f, std::abs(s - 0.25f));
}

TextureFile paintShell() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 4.0f, 4, 4, 4, 51U);
        Vector3 c = mix(rgb(236, 112, 122), rgb(250, 160, 150), broad);
        float keel = smoothstep(0.12f, 0.0f, std::abs(s - 0.75f));
        c = mix(c, rgb(255, 196, 176), 0.5f * keel);
        c = c * (1.0f - 0.12f * growthRidges(s, t));
        c = mix(c, rgb(110, 30, 60), spiralLine(s));
        float speck = cellNoise(s * 12.0f, t * 12.0f, 12, 12, 53U).nearest;
        c = mix(c, rgb(200, 80, 100), 0.5f * smoothstep(0.12f, 0.05f, speck));
        return c;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        return 3.0f * growthRidges(s, t) - 2.0f * spiralLine(s) +
               1.5f * fractalNoise(s * 8.0f, t * 8.0f, 3, 8, 8, 55U);
    });
    return {"snail_shell.tga", toImage(colour, 3), TgaEncoding::runLength,
            meshNormalMap(heights, 0.8f, true)};
}

// Body: pale blue, mottled, with soft wrinkles; tiles in both directions.
TextureFile paintBody() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 4.0f, 4, 4, 4, 57U);
        Vector3 c = mix(rgb(118, 166, 226), rgb(160, 200, 244), broad);
        CellSample spot = cellNoise(s * 8.0f, t * 8.0f, 8, 8, 59U);
        c = mix(c, rgb(86, 128, 196),
                0.6f * smoothstep(0.3f, 0.15f, spot.nearest) * (spot.id > 0.5f ? 1.0f : 0.0f));
        return c;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float wrinkles =
            std::sin(twoPi * (10.0f * t + 2.0f * fractalNoise(s * 4.0f, t * 4.0f, 2, 4, 4, 61U)));
        return 1.5f * wrinkles + 2.0f * fractalNoise(s * 16.0f, t * 16.0f, 3, 16, 16, 63U);
    });
    return {"snail_body.tga", toImage(colour, 3), TgaEncoding::raw,
            meshNormalMap(heights, 0.6f, true)};
}

// Eye: t = 1 is the front pole (the pupil), t = 0 the back.
TextureFile paintEye() {
    const int size = 256;
    auto veins = [](float s, float t) {
        float path = std::abs(wrappedDelta(0.0f, s * 9.0f + 0.3f * std::sin(t * 25.0f), 1.0f));
        return smoothstep(0.08f, 0.02f, path) * smoothstep(0.25f, 0.45f, t) *
               smoothstep(0.78f, 0.6f, t);
    };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        Vector3 c = rgb(246, 232, 120);
        c = mix(c, rgb(216, 80, 60), 0.7f * veins(s, t));
        float iris = smoothstep(0.775f, 0.785f, t);
        c = mix(c, mix(rgb(224, 70, 40), rgb(250, 140, 60), smoothstep(0.8f, 0.88f, t)), iris);
        c = mix(c, rgb(120, 20, 10), smoothstep(0.785f, 0.795f, t) * smoothstep(0.805f, 0.795f, t));
        c = mix(c, rgb(12, 10, 10), smoothstep(0.895f, 0.905f, t));
        float glint = length(Vec2{wrappedDelta(0.6f, s, 1.0f) * 0.35f, t - 0.86f});
        c = mix(c, rgb(255, 255, 255), smoothstep(0.02f, 0.012f, glint));
        return c;
    });
    HeightMap heights = paintHeights(size, size, [&](float s, float t) {
        return 1.5f * veins(s, t) + 2.0f * smoothstep(0.77f, 0.8f, t);
    });
    return {"snail_eye.tga", toImage(colour, 4), TgaEncoding::runLength,
            meshNormalMap(heights, 0.5f, true)};
}

} // namespace

std::vector<TextureFile> paintSnailTextures() {
    return {paintShell(), paintBody(), paintEye()};
}

} // namespace assets
