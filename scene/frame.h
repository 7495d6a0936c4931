// The per-frame update: animation, the shadow pass and the lit pass; and the
// release of the scene's GL objects at the end of the run.
#pragma once

struct Scene;

// The update callback: one frame with the given elapsed seconds. Always
// true: the run ends only through the window.
bool renderFrame(float elapsedSeconds);

// Advances the figures and the donut on their timeline and recomputes every
// model's matrices.
void animateModels(Scene& scene, float elapsedSeconds);

// Deletes the shadow map's GL objects and both programs; safe to repeat.
void releaseScene(Scene& scene);

// The terminate callback, exported by name from the program.
extern "C" void terminate();
