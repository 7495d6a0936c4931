// Where the system puts the scene's models, and the room the figures need.
//
// World units, y up. The environment model is drawn turned 90 degrees about
// y, so its file coordinates are world coordinates turned back: file
// (x, y, z) = world (-z, y, x). Each figure is drawn at its placement with no
// rotation, so its file coordinates are world coordinates minus the
// placement; its lowest point sits at minus the placement's height so that
// it stands on the floor at y = 0.
#pragma once

#include "tools/assets/base/vectors.h"

namespace assets {

// Environment.
constexpr float environmentTurnDegrees = 90.0f;
constexpr float skyRadius = 90.0f;
constexpr float skyLowestDegrees = -12.0f; // the dome reaches below the plateau's rim
constexpr float skyAzimuthRepeats = 5.0f;  // sky texture repeats around the dome
// The figures' stage: the floor is flat at y = 0 within |x|, |z| < stageHalfSize.
constexpr float stageHalfSize = 8.5f;

// Figures (placements as the animation sets them).
constexpr Vector3 snailStart{-1.0f, 0.7f, -6.0f};  // slides to z = -3
constexpr Vector3 spongeStart{-1.0f, 1.0f, -5.0f}; // bobs between y = 1 and 2
constexpr Vector3 starfishStart{1.0f, 2.0f, -6.0f};
constexpr Vector3 starfishWalk{0.5f, 1.8f, -6.0f}; // walks to z = 4.5
constexpr Vector3 donutPosition{-2.0f, 2.0f, 5.5f};

// Lowest point of each figure in its file.
constexpr float snailFootHeight = -0.7f;
constexpr float spongeFootHeight = -1.0f;
constexpr float starfishFootHeight = -1.8f;

// Sideways offsets inside the files: the snail slides along x = -1 through
// the sponge's spot at z = -5 and the starfish walks past both, so each
// figure stands a little to its own side of its placement.
constexpr float snailSideOffset = -1.5f;
constexpr float spongeSideOffset = -0.2f;
constexpr float starfishSideOffset = 0.3f;

// The area the figures walk in and the donut floats over; decorations keep
// out of it and of the figures' shadows (the light stands at x = 10, y = 20).
constexpr float clearMinX = -5.0f;
constexpr float clearMaxX = 3.5f;
constexpr float clearMinZ = -9.5f;
constexpr float clearMaxZ = 8.0f;

} // namespace assets
