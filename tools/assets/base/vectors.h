// Vector arithmetic for building the default scene.
//
// Vec2 holds texture coordinates (s, t) or plane points; the system's
// Vector3 (math/vector3.h) holds positions, directions and linear RGB
// colours in [0, 1]. Coordinates are right-handed with y up, as everywhere
// in the system. math/ gives Vector3 its cross product and normalisation;
// the 2D vector, the operators and the blends the shapes and painters use
// are the tool's own.
#pragma once

#include <algorithm>
#include <cmath>

#include "math/vector3.h"

namespace assets {

constexpr float pi = 3.14159265358979f;
constexpr float twoPi = 2.0f * pi;

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float k) {
    return {a.x * k, a.y * k};
}
inline float dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float length(Vec2 a) {
    return std::sqrt(dot(a, a));
}

inline Vector3 operator+(Vector3 a, Vector3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(Vector3 a, Vector3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator-(Vector3 a) {
    return {-a.x, -a.y, -a.z};
}
inline Vector3 operator*(Vector3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline Vector3 operator*(float k, Vector3 a) {
    return a * k;
}
inline Vector3 operator*(Vector3 a, Vector3 b) {
    return {a.x * b.x, a.y * b.y, a.z * b.z};
}
inline Vector3 operator/(Vector3 a, float k) {
    return {a.x / k, a.y / k, a.z / k};
}
inline Vector3& operator+=(Vector3& a, Vector3 b) {
    return a = a + b;
}

inline float dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float length(Vector3 a) {
    return std::sqrt(dot(a, a));
}

// Unit vector along a; a zero vector stays zero.
inline Vector3 normalized(Vector3 a) {
    normalize(a);
    return a;
}

inline float mix(float a, float b, float k) {
    return a + (b - a) * k;
}
inline Vector3 mix(Vector3 a, Vector3 b, float k) {
    return a + (b - a) * k;
}
inline float clamp01(float x) {
    return std::clamp(x, 0.0f, 1.0f);
}

// Hermite step from 0 at edge0 to 1 at edge1 (edges in either order).
inline float smoothstep(float edge0, float edge1, float x) {
    float k = clamp01((x - edge0) / (edge1 - edge0));
    return k * k * (3.0f - 2.0f * k);
}

// Colour from 8-bit sRGB-style components, for readable palettes.
inline Vector3 rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

// Shortest signed distance from a to b on a circle of circumference period.
inline float wrappedDelta(float a, float b, float period) {
    float d = std::fmod(b - a, period);
    if (d > 0.5f * period) {
        d -= period;
    } else if (d < -0.5f * period) {
        d += period;
    }
    return d;
}

} // namespace assets
