// Boxes made of six gridded faces with flat normals.
#include <cmath>

#include "tools/assets/shapes/shapes.h"

namespace assets {

MeshPart makeBox(Vector3 min, Vector3 max, float cellSize, const BoxMapping& mapping) {
    const Vector3 size = max - min;
    struct Face {
        Vector3 origin;
        Vector3 s;
        Vector3 t;
        Vec2 extent;
    };
    const Face faces[6] = {
        {{max.x, min.y, max.z}, {0, 0, -1}, {0, 1, 0}, {size.z, size.y}},
        {{min.x, min.y, min.z}, {0, 0, 1}, {0, 1, 0}, {size.z, size.y}},
        {{min.x, max.y, max.z}, {1, 0, 0}, {0, 0, -1}, {size.x, size.z}},
        {{min.x, min.y, min.z}, {1, 0, 0}, {0, 0, 1}, {size.x, size.z}},
        {{min.x, min.y, max.z}, {1, 0, 0}, {0, 1, 0}, {size.x, size.y}},
        {{max.x, min.y, min.z}, {-1, 0, 0}, {0, 1, 0}, {size.x, size.y}},
    };
    MeshPart part;
    for (int f = 0; f < 6; ++f) {
        const Face& face = faces[f];
        Vector3 normal = cross(face.s, face.t);
        int columns = std::max(1, static_cast<int>(std::ceil(face.extent.x / cellSize)));
        int rows = std::max(1, static_cast<int>(std::ceil(face.extent.y / cellSize)));
        uint32_t first = static_cast<uint32_t>(part.positions.size());
        for (int r = 0; r <= rows; ++r) {
            for (int c = 0; c <= columns; ++c) {
                Vec2 local{face.extent.x * static_cast<float>(c) / static_cast<float>(columns),
                           face.extent.y * static_cast<float>(r) / static_cast<float>(rows)};
                Vector3 p = face.origin + face.s * local.x + face.t * local.y;
                part.addVertex(p, mapping(f, local, face.extent), normal);
            }
        }
        addGridTriangles(part, first, rows + 1, columns + 1);
    }
    return part;
}

} // namespace assets
