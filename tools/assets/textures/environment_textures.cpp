// The environment's textures. Every painter works in texture space (s, t)
// and tiles where its mapping repeats; heights are in texels and become
// normal maps through meshNormalMap (raised bumps, see normal_map.h).
#include <cmath>
#include <future>

#include "tools/assets/base/noise.h"
#include "tools/assets/models/environment.h"
#include "tools/assets/textures/normal_map.h"
#include "tools/assets/textures/sky.h"

namespace assets {

namespace {

// Flat ground faces the environment's overhead light fully and adds the
// ambient term (0.2) on top, so the sand is painted that much darker.
constexpr float overheadExposure = 1.0f / 1.2f;

// Sand: fine grain, a few specks of shell, and ripples across s.
float sandRipples(float s, float t) {
    float warp = fractalNoise(s * 4.0f, t * 4.0f, 3, 4, 4, 3U);
    return std::sin(twoPi * (4.0f * s + 1.0f * t) + 5.0f * warp);
}

TextureFile paintSand() {
    const int size = 512;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 6.0f, t * 6.0f, 4, 6, 6, 5U);
        float grain = valueNoise(s * 256.0f, t * 256.0f, 256, 256, 7U);
        Vector3 c = mix(rgb(204, 182, 132), rgb(232, 214, 166), broad);
        c = c * (0.9f + 0.2f * grain);
        c = c * (1.0f + 0.05f * sandRipples(s, t));
        CellSample speck = cellNoise(s * 40.0f, t * 40.0f, 40, 40, 9U);
        if (speck.id > 0.93f) {
            c = mix(c, rgb(245, 232, 226), smoothstep(0.16f, 0.08f, speck.nearest));
        } else if (speck.id < 0.05f) {
            c = mix(c, rgb(130, 112, 86), smoothstep(0.12f, 0.05f, speck.nearest));
        }
        return c * overheadExposure;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float grain = valueNoise(s * 256.0f, t * 256.0f, 256, 256, 7U);
        return 3.0f * sandRipples(s, t) + 0.6f * grain;
    });
    return {"sand.tga", toImage(colour, 3), TgaEncoding::raw, meshNormalMap(heights, 0.5f, true)};
}

// The seabed beyond the sand: s repeats around the plateau, t runs outward;
// the sand's colour fades into the blue of deep water towards the dome.
TextureFile paintSeabed() {
    const int size = 256;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 8.0f, 4, 4, 0, 13U);
        float grain = valueNoise(s * 128.0f, t * 192.0f, 128, 0, 15U);
        Vector3 sand = mix(rgb(204, 182, 132), rgb(232, 214, 166), broad) * (0.92f + 0.16f * grain);
        Vector3 haze = mix(rgb(64, 112, 132), rgb(20, 58, 86), smoothstep(0.3f, 0.8f, t));
        return mix(sand, haze * (0.9f + 0.2f * broad), smoothstep(0.0f, 0.35f, t)) *
               overheadExposure;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float warp = fractalNoise(s * 4.0f, t * 4.0f, 3, 4, 0, 17U);
        return 2.0f * std::sin(twoPi * 2.0f * s + 6.0f * warp + 40.0f * t);
    });
    return {"seabed.tga", toImage(colour, 3), TgaEncoding::runLength,
            meshNormalMap(heights, 0.6f, true)};
}

// Rock: grey-brown stone with darker cracks, speckles and patches of green.
float rockCracks(float s, float t) {
    // Warped cells, so the cracks wander instead of tiling the stone.
    float wx = fractalNoise(s * 6.0f, t * 6.0f, 3, 6, 6, 18U) - 0.5f;
    float wy = fractalNoise(s * 6.0f, t * 6.0f, 3, 6, 6, 20U) - 0.5f;
    CellSample cell = cellNoise(s * 4.0f + 0.8f * wx, t * 4.0f + 0.8f * wy, 4, 4, 19U);
    float crack = smoothstep(0.035f, 0.0f, cell.second - cell.nearest);
    // Only some cell borders are cracked.
    return crack * smoothstep(0.35f, 0.6f, fractalNoise(s * 5.0f, t * 5.0f, 2, 5, 5, 22U));
}

// Layers in the stone, running along s with a wobble.
float rockStrata(float s, float t) {
    float wobble = fractalNoise(s * 4.0f, t * 4.0f, 3, 4, 4, 24U);
    return 0.5f + 0.5f * std::sin(twoPi * (6.0f * t + 1.5f * wobble));
}

TextureFile paintRock() {
    const int size = 512;
    Canvas colour = paintCanvas(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 5.0f, t * 5.0f, 5, 5, 5, 21U);
        float grain = valueNoise(s * 200.0f, t * 200.0f, 200, 200, 23U);
        Vector3 c = mix(rgb(96, 90, 84), rgb(158, 148, 134), broad);
        c = c * (0.85f + 0.3f * grain) * (0.9f + 0.12f * rockStrata(s, t));
        float moss = smoothstep(0.55f, 0.7f, fractalNoise(s * 3.0f, t * 3.0f, 4, 3, 3, 25U));
        c = mix(c, rgb(84, 118, 70) * (0.8f + 0.4f * grain), 0.8f * moss);
        c = c * (1.0f - 0.5f * rockCracks(s, t));
        return c;
    });
    HeightMap heights = paintHeights(size, size, [](float s, float t) {
        float broad = fractalNoise(s * 10.0f, t * 10.0f, 5, 10, 10, 27U);
        float grain = valueNoise(s * 200.0f, t * 200.0f, 200, 200, 23U);
        return 14.0f * broad + 0.8f * grain + 1.5f * rockStrata(s, t) - 4.0f * rockCracks(s, t);
    });
    return {"rock.tga", toImage(colour, 3), TgaEncoding::raw, meshNormalMap(heights, 0.6f, true)};
}

// Kelp: around the ribbon s = 0.25 and 0.75 are the middles of its two flat
// sides (midribs), s = 0 and 0.5 its edges; veins run along t.
TextureFile paintKelp() {
    const int size = 256;
    auto rib = [](float s) {
        float d = std::min(std::abs(s - 0.25f), std::abs(s - 0.75f));
        return smoothstep(0.035f, 0.0f, d);
    };
    auto veins = [](float s, float t) {
        float wobble = 0.01f * std::sin(twoPi * 2.0f * t);
        return 0.5f + 0.5f * std::cos(twoPi * 16.0f * (s + wobble));
    };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 4.0f, 4, 4, 4, 29U);
        Vector3 c = mix(rgb(70, 100, 30), rgb(128, 142, 44), broad);
        float edge = std::min(std::abs(s - 0.5f), std::min(s, 1.0f - s));
        c = mix(c, rgb(98, 76, 28), smoothstep(0.06f, 0.0f, edge) * 0.7f);
        c = c * (0.9f + 0.1f * veins(s, t));
        c = mix(c, rgb(176, 180, 84), 0.7f * rib(s));
        float spots = cellNoise(s * 10.0f, t * 10.0f, 10, 10, 31U).nearest;
        c = c * (0.9f + 0.1f * smoothstep(0.1f, 0.35f, spots));
        return c;
    });
    HeightMap heights = paintHeights(size, size, [&](float s, float t) {
        return 2.0f * veins(s, t) + 4.0f * rib(s) +
               2.0f * fractalNoise(s * 8.0f, t * 8.0f, 3, 8, 8, 33U);
    });
    return {"kelp.tga", toImage(colour, 4), TgaEncoding::raw, meshNormalMap(heights, 0.6f, true)};
}

// Coral: warm orange-pink with polyps, each a raised rim round a small pit.
TextureFile paintCoral() {
    const int size = 256;
    auto polyp = [](float s, float t) { return cellNoise(s * 14.0f, t * 14.0f, 14, 14, 35U); };
    Canvas colour = paintCanvas(size, size, [&](float s, float t) {
        float broad = fractalNoise(s * 4.0f, t * 4.0f, 4, 4, 4, 37U);
        Vector3 c = mix(rgb(230, 104, 84), rgb(250, 150, 110), broad);
        CellSample cell = polyp(s, t);
        float rim = smoothstep(0.12f, 0.22f, cell.nearest) * smoothstep(0.42f, 0.3f, cell.nearest);
        float pit = smoothstep(0.14f, 0.06f, cell.nearest);
        c = mix(c, rgb(255, 206, 170), 0.55f * rim);
        c = mix(c, rgb(150, 44, 52), 0.8f * pit);
        return c;
    });
    HeightMap heights = paintHeights(size, size, [&](float s, float t) {
        CellSample cell = polyp(s, t);
        float rim = smoothstep(0.05f, 0.25f, cell.nearest) * smoothstep(0.5f, 0.3f, cell.nearest);
        float pit = smoothstep(0.14f, 0.04f, cell.nearest);
        return 4.0f * rim - 3.0f * pit;
    });
    return {"coral.tga", toImage(colour, 4), TgaEncoding::runLength,
            meshNormalMap(heights, 0.7f, true)};
}

TextureFile paintSkyTexture() {
    return {skyTextureName, toImage(paintSky(), 3), TgaEncoding::runLength, {}};
}

} // namespace

std::vector<TextureFile> paintEnvironmentTextures() {
    // Independent painters with their own samples: run side by side, gathered
    // in a fixed order.
    using Painter = TextureFile (*)();
    const Painter painters[] = {paintSand, paintSeabed, paintRock,
                                paintKelp, paintCoral,  paintSkyTexture};
    std::vector<std::future<TextureFile>> painting;
    for (Painter painter : painters) {
        painting.push_back(std::async(std::launch::async, painter));
    }
    std::vector<TextureFile> textures;
    for (auto& texture : painting) {
        textures.push_back(texture.get());
    }
    return textures;
}

} // namespace assets
