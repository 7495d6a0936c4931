// The scene's callbacks in the shapes the framework calls them; the programs
// register them together with initScene, renderFrame and terminate.
#pragma once

#include <cstdint>

// Reshape callback: reshapeScene on theScene with the client size.
void reshapeSceneCallback(int32_t width, int32_t height);

// Key callback: handleKey on theScene; the pressed flag is not looked at, so
// keys act on press, repeat and release alike.
void keySceneCallback(bool pressed, int32_t keyCode);
