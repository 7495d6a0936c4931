// The starfish figure's textures: pink skin with raised dots, the torso's
// skin with the mouth, green shorts with purple flowers, and small eyes.
#include <cmath>

#include "tools/assets/base/noise.h"
#include "tools/assets/models/starfish.h"
#include "tools/assets/textures/normal_map.h"

namespace assets {

namespace {

const Vector3 pink = rgb(250, 150, 170);

// Dots of the skin: 1 at a dot's centre; tiles with the texture.
float skinDot(float s, float t, uint32_t stream) {
    CellSample cell = cellNoise(s * 10.0f, t * 10.0f, 10, 10, stream);
    if (cell.id > 0.55f) {
        return 0.0f;
    }
    return smoothstep(0.2f, 0.08f, cell.nearest);
}

Vector3 skin(float s, float t, uint32_t stream, float& height) {
    float broad = fractalNoise(s * 4.0f, t * 4.0f, 4, 4, 4, stream);
    Vector3 c = mix(pink * 0.93f, pink, broad);
    float dot = skinDot(s, t, stream + 1U);
    c = mix(c, rgb(236, 110, 140), 0.7f * dot);
    height = 3.0f * dot + 1.0f * broad;
    return c;
}

TextureFile paintSkin() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float h = 0.0f;
        return skin(s, t, 91U, h);
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float h = 0.0f;
        skin(s, t, 91U, h);
        return h;
    });
    return {"starfish_skin.tga", toImage(colour, 3), TgaEncoding::raw,
            meshNormalMap(heights, 0.7f, true)};
}

// The torso: skin, and the mouth at the front (s = 0.5) just under the
// head. Distances are taken in surface units around that point.
TextureFile paintTorso() {
    const int size = 512;
    const float polar = pi * starfishMouthT;
    const float across = twoPi * starfishTorsoRadii.x * std::sin(polar);
    const float up = pi * std::sqrt(std::pow(starfishTorsoRadii.z * std::cos(polar), 2.0f) +
                                    std::pow(starfishTorsoRadii.y * std::sin(polar), 2.0f));
    auto paint = [=](float s, float t, float& height) {
        Vector3 c = skin(s, t, 93U, height);
        float x = (s - 0.5f) * across;
        float y = (t - starfishMouthT) * up;
        float curve = y - (-0.02f + 1.4f * x * x);
        float smile =
            smoothstep(0.014f, 0.008f, std::abs(curve)) * smoothstep(0.17f, 0.15f, std::abs(x));
        // Small corners turning up at both ends.
        for (float side : {-1.0f, 1.0f}) {
            Vec2 corner{x - side * 0.16f, y - (-0.02f + 1.4f * 0.16f * 0.16f) - 0.012f};
            smile = std::max(
                smile, smoothstep(0.012f, 0.007f, std::abs(corner.y + 0.6f * side * corner.x)) *
                           smoothstep(0.03f, 0.02f, length(corner)));
        }
        c = mix(c, rgb(150, 30, 50), smile);
        height -= 3.0f * smile;
        return c;
    };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        float h = 0.0f;
        return paint(s, t, h);
    });
    HeightMap heights = paintHeights(size, size, [&](float s, float t) {
        float h = 0.0f;
        paint(s, t, h);
        return h;
    });
    return {"starfish_torso.tga", toImage(colour, 3), TgaEncoding::raw,
            meshNormalMap(heights, 0.7f, true)};
}

// Shorts: lime green with five-petalled purple flowers, tiling.
float flower(float s, float t, float& heart) {
    CellSample cell = cellNoise(s * 5.0f, t * 5.0f, 5, 5, 95U);
    float angle = std::atan2(cell.offset.y, cell.offset.x) + cell.id * twoPi;
    float petals = 0.2f + 0.12f * std::cos(5.0f * angle);
    heart = smoothstep(0.09f, 0.06f, cell.nearest);
    return smoothstep(petals + 0.02f, petals - 0.02f, cell.nearest);
}

TextureFile paintShorts() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 6.0f, t * 6.0f, 3, 6, 6, 97U);
        Vector3 c = mix(rgb(120, 200, 70), rgb(150, 220, 90), broad);
        float heart = 0.0f;
        float petal = flower(s, t, heart);
        c = mix(c, rgb(150, 80, 200), petal);
        c = mix(c, rgb(240, 220, 120), heart);
        return c;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float heart = 0.0f;
        float petal = flower(s, t, heart);
        float weave =
            0.5f + 0.25f * std::sin(twoPi * 64.0f * s) + 0.25f * std::sin(twoPi * 64.0f * t);
        return 1.5f * petal + 1.0f * heart + weave;
    });
    return {"starfish_shorts.tga", toImage(colour, 3), TgaEncoding::runLength,
            meshNormalMap(heights, 0.5f, true)};
}

// Eye: white with a small black pupil; the top rows (t > 0.93) are black all
// round for the eyebrows.
TextureFile paintEye() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        Vector3 c = rgb(250, 250, 246);
        c = mix(c, rgb(10, 10, 12), smoothstep(0.9f, 0.91f, t));
        float glint = length(Vec2{wrappedDelta(0.1f, s, 1.0f) * 0.3f, t - 0.915f});
        c = mix(c, rgb(255, 255, 255), smoothstep(0.012f, 0.008f, glint));
        return c;
    });
    HeightMap heights =
        paintHeights(size, size, [](float, float t) { return 1.5f * smoothstep(0.88f, 0.92f, t); });
    return {"starfish_eye.tga", toImage(colour, 4), TgaEncoding::runLength,
            meshNormalMap(heights, 0.5f, true)};
}

} // namespace

std::vector<TextureFile> paintStarfishTextures() {
    return {paintSkin(), paintTorso(), paintShorts(), paintEye()};
}

} // namespace assets
