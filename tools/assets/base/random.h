// Deterministic pseudo-random numbers for the default scene.
//
// Every generator is seeded by a fixed number, so the tool writes the same
// bytes on every run and machine (given the same C++ math library).
#pragma once

#include <cstdint>

namespace assets {

// Avalanching 32-bit integer hash; the basis of the noise functions.
uint32_t hash32(uint32_t x);

// Hash of a lattice point and a stream, mapped to [0, 1).
float hash01(int32_t x, int32_t y, int32_t z, uint32_t stream);

// A small sequential generator (splitmix64).
class Random {
public:
    explicit Random(uint64_t stream) : state_(stream) {}
    uint64_t next();
    // Uniform in [0, 1).
    float uniform();
    // Uniform in [low, high).
    float range(float low, float high);
    // Uniform integer in [0, count).
    uint32_t below(uint32_t count);

private:
    uint64_t state_;
};

} // namespace assets
