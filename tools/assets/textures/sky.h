// The sky dome's texture mapping, shared by the dome and its painter.
//
// s = skyAzimuthRepeats x azimuth / 2 pi; t grows with elevation from 0 at
// the dome's lowest ring to 1 at the zenith, with more texels near the
// horizon, which is the part of the sky the camera's path sees.
#pragma once

#include "tools/assets/textures/image.h"

namespace assets {

constexpr float skyTExponent = 0.7f;

// Texture t of an elevation in degrees, and the inverse.
float skyTAt(float elevationDegrees);
float skyElevationAt(float t);

// "bikini.tga": underwater sky, 1024 x 512.
Canvas paintSky();

} // namespace assets
