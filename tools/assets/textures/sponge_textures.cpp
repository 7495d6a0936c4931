// The sponge figure's textures: porous yellow body with its face, plain
// porous skin for the limbs, the four cloth bands and the blue-eyed eye.
#include <cmath>

#include "tools/assets/base/noise.h"
#include "tools/assets/models/sponge.h"
#include "tools/assets/textures/normal_map.h"

namespace assets {

namespace {

const Vector3 yellow = rgb(250, 226, 64);
const Vector3 poreColour = rgb(176, 150, 20);

// Pores at point p (surface units): 0 outside, 1 at the bottom of a pore.
float pore(Vec2 p, float density, uint32_t stream) {
    CellSample cell = cellNoise(p.x * density, p.y * density, 0, 0, stream);
    float radius = cell.id < 0.08f ? 0.36f : 0.12f + 0.12f * cell.id;
    if (cell.id > 0.75f) {
        return 0.0f; // some cells have no pore
    }
    return smoothstep(radius, radius * 0.55f, cell.nearest);
}

// Pores that tile with the texture (limbs and nose wrap around).
float tilingPore(float s, float t, int cells, uint32_t stream) {
    CellSample cell = cellNoise(s * static_cast<float>(cells), t * static_cast<float>(cells), cells,
                                cells, stream);
    if (cell.id > 0.7f) {
        return 0.0f;
    }
    float radius = 0.12f + 0.14f * cell.id;
    return smoothstep(radius, radius * 0.5f, cell.nearest);
}

// The face on the body's front, in surface units: x across from the
// centre, y up as in the model.
Vector3 face(Vector3 c, Vec2 p, float& height) {
    // Cheeks with freckles.
    for (float side : {-1.0f, 1.0f}) {
        Vec2 cheek{p.x - side * 0.31f, p.y - 0.3f};
        float blush = smoothstep(0.09f, 0.03f, length(cheek));
        c = mix(c, rgb(250, 150, 110), 0.55f * blush);
        for (int k = 0; k < 3; ++k) {
            Vec2 freckle{cheek.x - side * (0.025f * static_cast<float>(k) - 0.02f),
                         cheek.y - (k == 1 ? 0.025f : -0.005f)};
            c = mix(c, rgb(200, 80, 60), smoothstep(0.011f, 0.007f, length(freckle)));
        }
    }
    // Wide smile: a dark mouth opening under a curved upper lip.
    float x = p.x;
    float lip = 0.24f + 1.1f * x * x;           // upper lip line
    float chin = 0.16f + 0.7f * x * x + 0.015f; // lower edge of the opening
    float inMouth = smoothstep(0.008f, 0.0f, p.y - lip) *
                    smoothstep(chin - 0.004f, chin + 0.004f, p.y) *
                    smoothstep(0.3f, 0.27f, std::abs(x));
    Vector3 mouth = mix(rgb(120, 20, 30), rgb(220, 70, 80),
                        smoothstep(0.2f, 0.17f, p.y) * smoothstep(0.1f, 0.0f, std::abs(x)));
    // Two front teeth hanging from the upper lip.
    float teeth = 0.0f;
    for (float side : {-1.0f, 1.0f}) {
        float tx = std::abs(x - side * 0.035f);
        float top = 0.24f + 1.1f * x * x;
        teeth = std::max(teeth, smoothstep(0.032f, 0.026f, tx) *
                                    smoothstep(top - 0.075f, top - 0.069f, p.y) *
                                    smoothstep(top + 0.005f, top, p.y));
    }
    Vector3 opening = mix(mouth, rgb(255, 255, 250), teeth);
    c = mix(c, opening, std::max(inMouth, teeth));
    // Outline of the smile and its dimples.
    float line = std::abs(p.y - lip);
    float outline = smoothstep(0.012f, 0.006f, line) * smoothstep(0.34f, 0.3f, std::abs(x));
    for (float side : {-1.0f, 1.0f}) {
        Vec2 dimple{x - side * 0.31f, p.y - (0.24f + 1.1f * 0.31f * 0.31f) - 0.015f};
        float ring = std::abs(length(dimple) - 0.03f);
        outline = std::max(outline, smoothstep(0.008f, 0.004f, ring) *
                                        (side * dimple.x > 0.0f ? 1.0f : 0.0f));
    }
    c = mix(c, rgb(110, 60, 20), outline);
    height -= 3.0f * inMouth * (1.0f - teeth);
    return c;
}

TextureFile paintBody() {
    const int size = 512;
    const float bodyHeight = spongeBodyMax.y - spongeBodyMin.y;
    const float bodyWidth = spongeBodyMax.x - spongeBodyMin.x;
    // Surface point of texture position (s, t), per half of the atlas.
    auto surface = [=](float s, float t, bool& front) {
        front = s < 0.5f;
        float left = front ? spongeAtlasMargin : 0.5f + spongeAtlasMargin;
        float x = (s - left) / spongeAtlasHalf * bodyWidth;
        float y = (t - spongeAtlasMargin) / (1.0f - 2.0f * spongeAtlasMargin) * bodyHeight;
        return Vec2{x + spongeBodyMin.x, y + spongeBodyMin.y};
    };
    auto paint = [=](float s, float t, float& height) {
        bool front = false;
        Vec2 p = surface(s, t, front);
        float broad = fractalNoise(p.x * 4.0f, p.y * 4.0f, 4, 0, 0, front ? 71U : 73U);
        Vector3 c = mix(yellow * 0.94f, yellow, broad);
        float hole = pore(p, 9.0f, front ? 75U : 77U);
        float edge = smoothstep(0.0f, 0.4f, hole);
        c = mix(c, poreColour, edge);
        c = mix(c, poreColour * 0.6f, smoothstep(0.6f, 1.0f, hole));
        height = 2.0f * broad - 6.0f * hole;
        if (front) {
            c = face(c, p, height);
        }
        return c;
    };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        float height = 0.0f;
        return paint(s, t, height);
    });
    HeightMap heights = paintHeights(size, size, [&](float s, float t) {
        float height = 0.0f;
        paint(s, t, height);
        return height;
    });
    return {"sponge_body.tga", toImage(colour, 3), TgaEncoding::raw,
            meshNormalMap(heights, 0.6f, false)};
}

TextureFile paintSkin() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 4.0f, 3, 4, 4, 79U);
        Vector3 c = mix(yellow * 0.94f, yellow, broad);
        return mix(c, poreColour, smoothstep(0.0f, 0.5f, tilingPore(s, t, 6, 81U)));
    });
    HeightMap heights =
        paintHeights(size, size, [](float s, float t) { return -4.0f * tilingPore(s, t, 6, 81U); });
    return {"sponge_skin.tga", toImage(colour, 3), TgaEncoding::raw,
            meshNormalMap(heights, 0.6f, true)};
}

// Cloth: four bands in t (see Cloth); a fine weave in every band, stitching
// on the trousers, a few highlights on the shoes.
TextureFile paintClothes() {
    const int size = 256;
    auto weave = [](float s, float t) {
        return 0.5f + 0.25f * std::sin(twoPi * 64.0f * s) + 0.25f * std::sin(twoPi * 64.0f * t);
    };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        int band = std::min(3, static_cast<int>(t * 4.0f));
        float w = weave(s, t);
        Vector3 c;
        switch (band) {
        case 0:
            c = rgb(246, 246, 240) * (0.94f + 0.06f * w);
            break;
        case 1:
            c = rgb(150, 96, 42) * (0.9f + 0.1f * w);
            c = c * (1.0f -
                     0.25f * smoothstep(0.02f, 0.0f, std::abs(std::fmod(s * 4.0f, 1.0f) - 0.5f)));
            break;
        case 2:
            c = rgb(30, 28, 30) * (0.9f + 0.2f * w);
            break;
        default:
            c = rgb(214, 30, 40) * (0.92f + 0.08f * w);
            break;
        }
        return c;
    });
    HeightMap heights =
        paintHeights(size, size, [&](float s, float t) { return 1.5f * weave(s, t); });
    return {"sponge_clothes.tga", toImage(colour, 4), TgaEncoding::runLength,
            meshNormalMap(heights, 0.5f, true)};
}

// Eye: white, a blue iris ringed in dark blue, a black pupil and a glint;
// t = 1 is the front pole, and the top rows (t > 0.93) are black all round
// for the lashes.
TextureFile paintEye() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        Vector3 c = rgb(252, 252, 250);
        float iris = smoothstep(0.765f, 0.775f, t);
        Vector3 blue = mix(rgb(40, 120, 220), rgb(110, 190, 255), smoothstep(0.78f, 0.87f, t));
        c = mix(c, blue, iris);
        c = mix(c, rgb(20, 50, 120), smoothstep(0.77f, 0.78f, t) * smoothstep(0.795f, 0.785f, t));
        c = mix(c, rgb(10, 10, 12), smoothstep(0.875f, 0.885f, t));
        float glint = length(Vec2{wrappedDelta(0.1f, s, 1.0f) * 0.35f, t - 0.845f});
        c = mix(c, rgb(255, 255, 255),
                smoothstep(0.022f, 0.014f, glint) * (t < 0.93f ? 1.0f : 0.0f));
        return c;
    });
    HeightMap heights =
        paintHeights(size, size, [](float, float t) { return 2.0f * smoothstep(0.76f, 0.79f, t); });
    return {"sponge_eye.tga", toImage(colour, 4), TgaEncoding::runLength,
            meshNormalMap(heights, 0.5f, true)};
}

} // namespace

std::vector<TextureFile> paintSpongeTextures() {
    return {paintBody(), paintSkin(), paintClothes(), paintEye()};
}

} // namespace assets
