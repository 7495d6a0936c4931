// Height fields over a disc, for the sea floor.
#include <cmath>

#include "tools/assets/shapes/shapes.h"

namespace assets {

MeshPart makeDiscField(const std::vector<float>& radii, int segments, const HeightField& field) {
    MeshPart part;
    for (float radius : radii) {
        for (int j = 0; j <= segments; ++j) {
            int wrapped = j == segments ? 0 : j;
            float azimuth = twoPi * static_cast<float>(wrapped) / static_cast<float>(segments);
            float x = radius * std::cos(azimuth);
            float z = radius * std::sin(azimuth);
            // The seam column repeats the first one's position but continues
            // the azimuth, so texture coordinates that follow it run on.
            float uvAzimuth = twoPi * static_cast<float>(j) / static_cast<float>(segments);
            Vector3 p{x, field.height(x, z), z};
            part.addVertex(p, field.texCoord(x, z, radius, uvAzimuth), field.normal(x, z));
        }
    }
    addGridTriangles(part, 0, static_cast<int>(radii.size()), segments + 1);
    return part;
}

} // namespace assets
