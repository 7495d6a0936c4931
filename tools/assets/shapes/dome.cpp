// The sky dome: a sphere cap seen from inside.
#include <cmath>

#include "tools/assets/shapes/shapes.h"

namespace assets {

MeshPart makeDome(float radius, float lowestDegrees, int segments, int rings,
                  const std::function<Vec2(float azimuth, float elevation)>& texCoord) {
    MeshPart part;
    for (int k = 0; k <= rings; ++k) {
        float elevation = lowestDegrees + (90.0f - lowestDegrees) * static_cast<float>(k) /
                                              static_cast<float>(rings);
        float e = elevation * pi / 180.0f;
        float across = k == rings ? 0.0f : radius * std::cos(e);
        float height = k == rings ? radius : radius * std::sin(e);
        Vector3 first;
        for (int j = 0; j <= segments; ++j) {
            // Azimuth turns from +x towards +z: with rows climbing, dP/ds x
            // dP/dt points to the centre, so the grid faces inward.
            float azimuth = twoPi * static_cast<float>(j) / static_cast<float>(segments);
            Vector3 p{across * std::cos(azimuth), height, across * std::sin(azimuth)};
            if (j == 0) {
                first = p;
            } else if (j == segments) {
                p = first;
            }
            part.addVertex(p, texCoord(azimuth, elevation), normalized(-p));
        }
    }
    addGridTriangles(part, 0, rings + 1, segments + 1);
    return part;
}

} // namespace assets
