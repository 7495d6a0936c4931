// Hashes and the sequential generator behind every random choice in the
// default scene.
#include "tools/assets/base/random.h"

namespace assets {

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float hash01(int32_t x, int32_t y, int32_t z, uint32_t stream) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343U + static_cast<uint32_t>(y) * 0xd8163841U +
                 static_cast<uint32_t>(z) * 0xcb1ab31fU + stream * 0x9e3779b9U;
    h = hash32(hash32(h) ^ stream);
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

uint64_t Random::next() {
    state_ += 0x9e3779b97f4a7c15ULL;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

float Random::uniform() {
    return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
}

float Random::range(float low, float high) {
    return low + (high - low) * uniform();
}

uint32_t Random::below(uint32_t count) {
    return count == 0 ? 0 : static_cast<uint32_t>(next() % count);
}

} // namespace assets
