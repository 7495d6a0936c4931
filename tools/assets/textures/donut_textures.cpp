// The donut's frosting, sprinkles and dough, and its normal map.
//
// Normal-map frame of the torus. With theta = 2 pi t and phi = 2 pi s:
//     N  = (cos theta cos phi, sin theta cos phi, sin phi)
//     ePhi = dP/dphi / r = (-cos theta sin phi, -sin theta sin phi, cos phi)
//     eTheta = dP/dtheta / R = (-sin theta, cos theta, 0)
// where eTheta x ePhi = N. The shader's tangent is normal x (0, 1, 0)
// = (-N.z, 0, N.x), already orthogonal to N; written in the surface
// directions it is cos theta ePhi + sin phi sin theta eTheta, so with
// L = sqrt(cos^2 theta + sin^2 phi sin^2 theta), a = cos theta / L and
// b = sin phi sin theta / L:
//     T = a ePhi + b eTheta,   B = N x T = b ePhi - a eTheta.
// A height field h raised along N tilts the normal to N - gPhi ePhi -
// gTheta eTheta (g: slopes per unit length). Solving
// m.x T + m.y B = -(gPhi ePhi + gTheta eTheta) gives
//     m.x = -(a gPhi + b gTheta),   m.y = a gTheta - b gPhi,   m.z = 1.
// The frame turns with the texture position, so each texel is encoded for
// its own (a, b). Where L vanishes (two points, phi = 0 or pi at
// theta = 90 or 270 degrees) the shader has no tangent; those texels stay
// flat.
#include "tools/assets/textures/donut_textures.h"

#include <cmath>

#include "tools/assets/base/noise.h"
#include "tools/assets/base/random.h"
#include "tools/assets/textures/normal_map.h"

namespace assets {

namespace {

constexpr int textureSize = 512;
constexpr float tubeLength = twoPi * donutTubeRadius; // surface length of s from 0 to 1

// Surface length of t from 0 to 1 at tube position s.
float ringLength(float s) {
    return twoPi * (donutRingRadius + donutTubeRadius * std::cos(twoPi * s));
}

// Distance (in s) from the top of the tube to where the frosting ends.
float frostingReach(float t) {
    float wave = 0.025f * std::sin(twoPi * 5.0f * t) + 0.015f * std::sin(twoPi * 13.0f * t + 1.0f);
    float drips = 0.05f * std::pow(std::max(0.0f, std::sin(twoPi * 9.0f * t + 0.5f)), 6.0f);
    return 0.27f + wave + drips;
}

// Signed distance in s inside the frosting's edge (positive inside).
float frostingDepth(float s, float t) {
    return frostingReach(t) - std::abs(wrappedDelta(0.75f, s, 1.0f));
}

constexpr float sprinkleHalfLength = 0.045f;
constexpr float sprinkleRadius = 0.016f;

struct Sprinkle {
    float s;
    float t;
    float angle;
    Vector3 colour;
};

std::vector<Sprinkle> scatterSprinkles() {
    static const Vector3 palette[] = {rgb(250, 250, 240), rgb(255, 214, 64), rgb(80, 160, 255),
                                      rgb(96, 206, 96),   rgb(255, 128, 40), rgb(232, 40, 60),
                                      rgb(176, 96, 232)};
    Random random(0xd0e7U);
    std::vector<Sprinkle> sprinkles;
    while (sprinkles.size() < 320) {
        float s = random.uniform();
        float t = random.uniform();
        if (frostingDepth(s, t) < 0.04f) {
            continue;
        }
        sprinkles.push_back(
            {s, t, random.range(0.0f, pi), palette[random.below(std::size(palette))]});
    }
    return sprinkles;
}

// Sprinkles sorted into a grid of cells over (s, t), so a texel looks only
// at the sprinkles of its own and the neighbouring cells.
class SprinkleGrid {
public:
    static constexpr int cells = 16;

    explicit SprinkleGrid(std::vector<Sprinkle> sprinkles) : sprinkles_(std::move(sprinkles)) {
        for (size_t k = 0; k < sprinkles_.size(); ++k) {
            buckets_[cellOf(sprinkles_[k].s) * cells + cellOf(sprinkles_[k].t)].push_back(k);
        }
    }

    const Sprinkle& operator[](size_t k) const { return sprinkles_[k]; }

    // The nearest sprinkle covering (s, t): its index and the distance from
    // its axis (surface units), or index -1.
    struct Hit {
        int index = -1;
        float distance = 1e9f;
    };
    Hit find(float s, float t) const {
        Hit hit;
        const int ci = cellOf(s);
        const int cj = cellOf(t);
        for (int di = -1; di <= 1; ++di) {
            for (int dj = -1; dj <= 1; ++dj) {
                int i = (ci + di + cells) % cells;
                int j = (cj + dj + cells) % cells;
                for (size_t k : buckets_[i * cells + j]) {
                    const Sprinkle& p = sprinkles_[k];
                    float du = wrappedDelta(p.s, s, 1.0f) * tubeLength;
                    float dv = wrappedDelta(p.t, t, 1.0f) * ringLength(p.s);
                    Vec2 axis{std::cos(p.angle), std::sin(p.angle)};
                    float along = std::clamp(du * axis.x + dv * axis.y, -sprinkleHalfLength,
                                             sprinkleHalfLength);
                    float d = length(Vec2{du - axis.x * along, dv - axis.y * along});
                    if (d < sprinkleRadius + 0.004f && d < hit.distance) {
                        hit = {static_cast<int>(k), d};
                    }
                }
            }
        }
        return hit;
    }

private:
    static int cellOf(float u) {
        return std::clamp(static_cast<int>(u * static_cast<float>(cells)), 0, cells - 1);
    }
    std::vector<Sprinkle> sprinkles_;
    std::vector<size_t> buckets_[cells * cells];
};

// Surface height (world units) above the torus.
float donutHeight(const SprinkleGrid& sprinkles, float s, float t) {
    float frosting = 0.008f * smoothstep(-0.004f, 0.012f, frostingDepth(s, t));
    float dough = 0.0025f * fractalNoise(s * 16.0f, t * 32.0f, 3, 16, 32, 41U);
    SprinkleGrid::Hit hit = sprinkles.find(s, t);
    float sprinkle = 0.0f;
    if (hit.index >= 0 && hit.distance < sprinkleRadius) {
        float k = hit.distance / sprinkleRadius;
        sprinkle = 0.012f * std::sqrt(1.0f - k * k);
    }
    return frosting + dough + sprinkle;
}

} // namespace

Vector3 donutNormalFromSlopes(float s, float t, float slopeAroundTube, float slopeAroundRing) {
    float theta = twoPi * t;
    float phi = twoPi * s;
    float along = std::cos(theta);
    float across = std::sin(phi) * std::sin(theta);
    float l = std::sqrt(along * along + across * across);
    if (l < 1e-3f) {
        return {0.0f, 0.0f, 1.0f};
    }
    float a = along / l;
    float b = across / l;
    return normalized(Vector3{-(a * slopeAroundTube + b * slopeAroundRing),
                              a * slopeAroundRing - b * slopeAroundTube, 1.0f});
}

std::vector<TextureFile> paintDonutTextures() {
    const SprinkleGrid sprinkles(scatterSprinkles());
    Canvas colour = paintCanvas(textureSize, textureSize, [&](float s, float t) {
        float noise = fractalNoise(s * 16.0f, t * 32.0f, 3, 16, 32, 43U);
        // Dough: golden on the sides, browner underneath (s = 0.25).
        float under = 0.5f + 0.5f * std::sin(twoPi * s);
        Vector3 dough = mix(rgb(226, 166, 92), rgb(176, 108, 48), under * under);
        dough = dough * (0.9f + 0.2f * noise);
        float depth = frostingDepth(s, t);
        // A pale ring of dough just below the frosting.
        dough = mix(dough, rgb(240, 204, 150),
                    0.5f * smoothstep(-0.08f, -0.01f, depth) * smoothstep(0.01f, -0.01f, depth));
        Vector3 frosting = mix(rgb(236, 108, 160), rgb(250, 150, 190), noise);
        frosting = mix(frosting * 0.82f, frosting, smoothstep(0.0f, 0.03f, depth));
        Vector3 c = mix(dough, frosting, smoothstep(-0.003f, 0.003f, depth));
        SprinkleGrid::Hit hit = sprinkles.find(s, t);
        if (hit.index >= 0) {
            const Sprinkle& p = sprinkles[static_cast<size_t>(hit.index)];
            float cover =
                smoothstep(sprinkleRadius + 0.003f, sprinkleRadius - 0.002f, hit.distance);
            float shade = 1.0f - 0.3f * (hit.distance / sprinkleRadius);
            c = mix(c, p.colour * shade, cover);
        }
        return c;
    });

    HeightMap heights = paintHeights(
        textureSize, textureSize, [&](float s, float t) { return donutHeight(sprinkles, s, t); });
    Image normals{textureSize, textureSize, 3,
                  std::vector<uint8_t>(static_cast<size_t>(textureSize) * textureSize * 3)};
    const float step = 1.0f / textureSize;
    for (int j = 0; j < textureSize; ++j) {
        for (int i = 0; i < textureSize; ++i) {
            auto h = [&](int di, int dj) {
                int x = (i + di + textureSize) % textureSize;
                int y = (j + dj + textureSize) % textureSize;
                return heights.at(x, y);
            };
            float s = (static_cast<float>(i) + 0.5f) * step;
            float t = (static_cast<float>(j) + 0.5f) * step;
            float slopeTube = (h(1, 0) - h(-1, 0)) / (2.0f * step * tubeLength);
            float slopeRing = (h(0, 1) - h(0, -1)) / (2.0f * step * ringLength(s));
            encodeUnitVector(donutNormalFromSlopes(s, t, slopeTube, slopeRing),
                             &normals.pixels[(static_cast<size_t>(j) * textureSize + i) * 3]);
        }
    }
    return {{"donut.tga", toImage(colour, 4), TgaEncoding::raw, normals}};
}

} // namespace assets
