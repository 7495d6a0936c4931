// What moves the viewer and the light at run time: the camera's square path,
// the light's swing, the reshape callback and the keyboard.
#pragma once

#include <cstdint>

struct Scene;

// Stores the client size, sets the viewer's projection parameters and hands
// its projection to both programs. A zero size keeps the previous one.
void reshapeScene(Scene& scene, uint32_t width, uint32_t height);

// One step of the viewer along its square path (0.02 per frame), then its
// matrices and the programs' projection.
void updateCameraPath(Scene& scene, float elapsedSeconds);

// The light swings along z between -15 and 15 at (10, 20, z).
void updateLightPath(Scene& scene, float elapsedSeconds);

// The key bindings; acts the same on press, repeat and release.
void handleKey(Scene& scene, int32_t keyCode);
