// The underwater sky: a blue gradient brightening towards the surface, shafts
// of light slanting down, and pale flower-shaped clouds drifting above the
// horizon. Painted in azimuth and elevation degrees so the flowers come out
// round on the dome; one texture width covers 360 / skyAzimuthRepeats
// degrees and tiles around.
#include <cmath>
#include <vector>

#include "tools/assets/base/noise.h"
#include "tools/assets/base/random.h"
#include "tools/assets/models/scene_layout.h"
#include "tools/assets/textures/sky.h"

namespace assets {

namespace {

constexpr float repeatDegrees = 360.0f / skyAzimuthRepeats;

// The sky is fully lit from above plus the ambient term (0.2), so its
// colours are painted that much darker.
constexpr float overheadExposure = 1.0f / 1.2f;

Vector3 skyGradient(float elevation) {
    struct Stop {
        float elevation;
        Vector3 colour;
    };
    static const Stop stops[] = {{-12.0f, rgb(14, 46, 78)},   {-4.0f, rgb(26, 84, 118)},
                                 {4.0f, rgb(44, 118, 152)},   {20.0f, rgb(70, 158, 196)},
                                 {55.0f, rgb(118, 200, 228)}, {90.0f, rgb(168, 228, 246)}};
    if (elevation <= stops[0].elevation) {
        return stops[0].colour;
    }
    for (size_t k = 1; k < std::size(stops); ++k) {
        if (elevation <= stops[k].elevation) {
            float f = smoothstep(stops[k - 1].elevation, stops[k].elevation, elevation);
            return mix(stops[k - 1].colour, stops[k].colour, f);
        }
    }
    return stops[std::size(stops) - 1].colour;
}

struct Flower {
    float azimuth;   // degrees within one repeat
    float elevation; // degrees
    float radius;    // degrees
    int petals;
    float turn; // radians
    Vector3 petal;
    Vector3 centre;
};

std::vector<Flower> scatterFlowers() {
    static const Vector3 palette[] = {rgb(250, 186, 214), rgb(255, 238, 160), rgb(206, 186, 250),
                                      rgb(182, 240, 204), rgb(220, 244, 255), rgb(255, 206, 170)};
    Random random(0x5eaf10U);
    std::vector<Flower> flowers;
    for (int k = 0; k < 18; ++k) {
        Flower f;
        f.azimuth = random.range(0.0f, repeatDegrees);
        float u = random.uniform();
        f.elevation = -3.0f + 58.0f * u * u;
        f.radius = random.range(2.8f, 5.5f) * (1.0f + f.elevation / 60.0f);
        f.petals = 5 + static_cast<int>(random.below(3));
        f.turn = random.range(0.0f, twoPi);
        f.petal = palette[random.below(std::size(palette))];
        f.centre = palette[random.below(std::size(palette))];
        flowers.push_back(f);
    }
    return flowers;
}

// Shafts of light: bright bands slanting across the azimuth, strongest high
// up and fading towards the horizon.
float lightShafts(float azimuth, float elevation) {
    float slant = azimuth + 0.35f * (90.0f - elevation);
    float x = slant / repeatDegrees * 14.0f;
    float wide = valueNoise(x, 0.5f, 14, 0, 31U);
    float fine = valueNoise(x * 2.0f, 3.5f, 28, 0, 57U);
    float band = smoothstep(0.55f, 0.95f, 0.7f * wide + 0.3f * fine);
    return band * smoothstep(-6.0f, 35.0f, elevation);
}

} // namespace

float skyTAt(float elevationDegrees) {
    float f = clamp01((elevationDegrees - skyLowestDegrees) / (90.0f - skyLowestDegrees));
    return std::pow(f, skyTExponent);
}

float skyElevationAt(float t) {
    return skyLowestDegrees +
           (90.0f - skyLowestDegrees) * std::pow(clamp01(t), 1.0f / skyTExponent);
}

Canvas paintSky() {
    const std::vector<Flower> flowers = scatterFlowers();
    return paintCanvas(1024, 512, [&](float s, float t) {
        float azimuth = s * repeatDegrees;
        float elevation = skyElevationAt(t);
        Vector3 colour = skyGradient(elevation);
        float haze = fractalNoise(s * 16.0f, t * 6.0f, 3, 16, 0, 71U) - 0.5f;
        colour = colour * (1.0f + 0.08f * haze);
        colour = colour + Vector3{0.20f, 0.26f, 0.24f} * (0.55f * lightShafts(azimuth, elevation));

        const float edge = 0.22f; // anti-aliasing width, degrees
        for (const Flower& f : flowers) {
            float across = std::cos(f.elevation * pi / 180.0f);
            float dx = wrappedDelta(f.azimuth, azimuth, repeatDegrees) * across;
            float dy = elevation - f.elevation;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d > f.radius * 1.1f) {
                continue;
            }
            float angle = std::atan2(dy, dx) + f.turn;
            float lobe =
                std::pow(std::abs(std::cos(0.5f * static_cast<float>(f.petals) * angle)), 0.6f);
            float rim = f.radius * (0.6f + 0.4f * lobe);
            float inside = smoothstep(rim + edge, rim - edge, d);
            float outline =
                smoothstep(rim - 0.09f * f.radius - edge, rim - 0.09f * f.radius + edge, d);
            Vector3 petal = mix(f.petal, f.petal * 0.72f, outline);
            float heart = f.radius * 0.3f;
            float inHeart = smoothstep(heart + edge, heart - edge, d);
            float heartLine =
                smoothstep(heart - 0.07f * f.radius - edge, heart - 0.07f * f.radius + edge, d);
            Vector3 centre = mix(f.centre, f.centre * 0.75f, heartLine);
            Vector3 flower = mix(petal, centre, inHeart);
            colour = mix(colour, flower, 0.88f * inside);
        }
        return colour * overheadExposure;
    });
}

} // namespace assets
