// Encoding height maps as the models' normal maps.
//
// Derivation. The lit shader perturbs the normal as
//     N = normalize(normal), T = normalize(tangent - N (N . tangent)),
//     B = N x T, n = normalize(T m.x + B m.y + N m.z), m = texel.rgb * 2 - 1.
// The loader's face tangent is T = dP/du for the written coordinate u. The
// models write vt = (-s, -t) so that the GPU, which receives (-u, -v),
// samples (s, t); hence u = -s and T = -S, where S is the unit surface
// direction of growing s. Let Tt be the unit direction of growing t; every
// model maps its textures with S x Tt = N (s to the right and t up as seen
// from the front), so N x S = Tt and B = N x T = -Tt.
// A height field h(s, t) that raises the surface along N tilts the true
// normal to n ~ N - (dh/dS) S - (dh/dTt) Tt = N + (dh/dS) T + (dh/dTt) B.
// So m = normalize(+dh/ds, +dh/dt, 1) (up to the positive scale between
// texel steps and surface lengths): bumps come out raised. A common
// tangent-space convention, with T = +S and B = +Tt, would have both minus
// signs; here the negated coordinates flip both.
#include "tools/assets/textures/normal_map.h"

#include <cmath>

namespace assets {

Vector3 meshNormalFromSlopes(float slopeS, float slopeT) {
    return normalized(Vector3{slopeS, slopeT, 1.0f});
}

void encodeUnitVector(Vector3 m, uint8_t* rgb) {
    const float components[3] = {m.x, m.y, m.z};
    for (int k = 0; k < 3; ++k) {
        float value = (clamp01((components[k] + 1.0f) * 0.5f)) * 255.0f;
        rgb[k] = static_cast<uint8_t>(std::lround(value));
    }
}

Image meshNormalMap(const HeightMap& heights, float strength, bool wrap) {
    const int w = heights.width;
    const int h = heights.height;
    auto sample = [&](int i, int j) {
        if (wrap) {
            i = (i % w + w) % w;
            j = (j % h + h) % h;
        } else {
            i = std::clamp(i, 0, w - 1);
            j = std::clamp(j, 0, h - 1);
        }
        return heights.at(i, j);
    };
    Image image{w, h, 3, std::vector<uint8_t>(static_cast<size_t>(w) * h * 3)};
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            float slopeS = 0.5f * (sample(i + 1, j) - sample(i - 1, j)) * strength;
            float slopeT = 0.5f * (sample(i, j + 1) - sample(i, j - 1)) * strength;
            encodeUnitVector(meshNormalFromSlopes(slopeS, slopeT),
                             &image.pixels[(static_cast<size_t>(j) * w + i) * 3]);
        }
    }
    return image;
}

} // namespace assets
