// Value noise and cellular noise on hashed lattices.
#include "tools/assets/base/noise.h"

#include <cmath>

#include "tools/assets/base/random.h"

namespace assets {

namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

int wrap(int i, int period) {
    if (period <= 0) {
        return i;
    }
    int r = i % period;
    return r < 0 ? r + period : r;
}

} // namespace

float valueNoise(float x, float y, int periodX, int periodY, uint32_t stream) {
    float fx = std::floor(x);
    float fy = std::floor(y);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    float u = fade(x - fx);
    float v = fade(y - fy);
    int x0 = wrap(ix, periodX);
    int x1 = wrap(ix + 1, periodX);
    int y0 = wrap(iy, periodY);
    int y1 = wrap(iy + 1, periodY);
    float a = hash01(x0, y0, 0, stream);
    float b = hash01(x1, y0, 0, stream);
    float c = hash01(x0, y1, 0, stream);
    float d = hash01(x1, y1, 0, stream);
    return mix(mix(a, b, u), mix(c, d, u), v);
}

float fractalNoise(float x, float y, int octaves, int periodX, int periodY, uint32_t stream) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    float frequency = 1.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * valueNoise(x * frequency, y * frequency, periodX, periodY,
                                      stream + static_cast<uint32_t>(octave) * 7919U);
        total += amplitude;
        amplitude *= 0.5f;
        frequency *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

float valueNoise3(Vector3 p, uint32_t stream) {
    float fx = std::floor(p.x);
    float fy = std::floor(p.y);
    float fz = std::floor(p.z);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    int iz = static_cast<int>(fz);
    float u = fade(p.x - fx);
    float v = fade(p.y - fy);
    float w = fade(p.z - fz);
    float layers[2];
    for (int k = 0; k < 2; ++k) {
        float a = hash01(ix, iy, iz + k, stream);
        float b = hash01(ix + 1, iy, iz + k, stream);
        float c = hash01(ix, iy + 1, iz + k, stream);
        float d = hash01(ix + 1, iy + 1, iz + k, stream);
        layers[k] = mix(mix(a, b, u), mix(c, d, u), v);
    }
    return mix(layers[0], layers[1], w);
}

float fractalNoise3(Vector3 p, int octaves, uint32_t stream) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * valueNoise3(p, stream + static_cast<uint32_t>(octave) * 7919U);
        total += amplitude;
        amplitude *= 0.5f;
        p = p * 2.0f;
    }
    return sum / total;
}

CellSample cellNoise(float x, float y, int periodX, int periodY, uint32_t stream) {
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    CellSample sample;
    sample.nearest = 1e9f;
    sample.second = 1e9f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            int cx = ix + dx;
            int cy = iy + dy;
            int hx = wrap(cx, periodX);
            int hy = wrap(cy, periodY);
            Vec2 point{static_cast<float>(cx) + hash01(hx, hy, 1, stream),
                       static_cast<float>(cy) + hash01(hx, hy, 2, stream)};
            Vec2 offset{x - point.x, y - point.y};
            float distance = length(offset);
            if (distance < sample.nearest) {
                sample.second = sample.nearest;
                sample.nearest = distance;
                sample.id = hash01(hx, hy, 3, stream);
                sample.offset = offset;
            } else if (distance < sample.second) {
                sample.second = distance;
            }
        }
    }
    return sample;
}

} // namespace assets
