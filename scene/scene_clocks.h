// The process-wide clocks of the animation and the two paths. They start at
// zero with the process and only ever advance.
#pragma once

#include <cstdint>

// Advanced by 0.2 x elapsed seconds per frame; 0 places the figures at
// their start.
extern float modelClock;
// Advanced by 0.5 x elapsed seconds per camera step; 0 resets the camera.
extern float cameraClock;
// The leg 0 to 3 of the camera's square path.
extern int32_t cameraLeg;
// Advanced by the elapsed seconds per light step.
extern float lightClock;
