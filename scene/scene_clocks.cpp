// The animation and path clocks.
#include "scene/scene_clocks.h"

float modelClock = 0.0f;
float cameraClock = 0.0f;
int32_t cameraLeg = 0;
float lightClock = 0.0f;
