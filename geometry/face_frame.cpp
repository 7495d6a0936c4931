// The frame of a face: its unit normal from the first three corners'
// positions and, when the model has texture coordinates, the unit tangent
// along which u grows and the bitangent normal x tangent, for normal mapping.
// Worked out from the corners whenever asked for rather than stored with
// each face. Single-precision arithmetic throughout, in the order written
// below, so every call gives the same bits.
#include <cmath>
#include <cstdint>

#include "geometry/obj_parser.h"
#include "geometry/unit_vector.h"

namespace {

// A unit vector perpendicular to n, always the same for the same n: the
// axis along which n is shortest, less its part along n. For a zero normal
// that is the x axis.
Vector3 perpendicularTo(const Vector3& n) {
    const float ax = std::fabs(n.x);
    const float ay = std::fabs(n.y);
    const float az = std::fabs(n.z);
    Vector3 axis{0.0f, 0.0f, 1.0f};
    if (ax <= ay && ax <= az) {
        axis = {1.0f, 0.0f, 0.0f};
    } else if (ay <= az) {
        axis = {0.0f, 1.0f, 0.0f};
    }
    const float along = n.x * axis.x + n.y * axis.y + n.z * axis.z;
    return unitOrZero({axis.x - along * n.x, axis.y - along * n.y, axis.z - along * n.z});
}

} // namespace

Vector3 namedFaceNormal(const ObjData& data, const ObjFace& face) {
    return computeFaceNormal(data.positions[face.vertices[0].positionIndex],
                             data.positions[face.vertices[1].positionIndex],
                             data.positions[face.vertices[2].positionIndex]);
}

Vector3 namedFaceTangent(const ObjData& data, const ObjFace& face) {
    const FaceVertex& c0 = face.vertices[0];
    const FaceVertex& c1 = face.vertices[1];
    const FaceVertex& c2 = face.vertices[2];
    const Vector3& p0 = data.positions[c0.positionIndex];
    const Vector3& p1 = data.positions[c1.positionIndex];
    const Vector3& p2 = data.positions[c2.positionIndex];
    const TexCoord& t0 = data.texCoords[c0.texCoordIndex];
    const TexCoord& t1 = data.texCoords[c1.texCoordIndex];
    const TexCoord& t2 = data.texCoords[c2.texCoordIndex];

    const Vector3 e1{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const Vector3 e2{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    const float du1 = t1.u - t0.u;
    const float dv1 = t1.v - t0.v;
    const float du2 = t2.u - t0.u;
    const float dv2 = t2.v - t0.v;
    const float r = 1.0f / (du1 * dv2 - du2 * dv1);
    const Vector3 t{r * (dv2 * e1.x - dv1 * e2.x), r * (dv2 * e1.y - dv1 * e2.y),
                    r * (dv2 * e1.z - dv1 * e2.z)};
    const Vector3 tangent = unitOrZero(t);
    // Texture coordinates on one line (or one point) give no direction for
    // u; any direction in the face's plane keeps the shading finite.
    if (!isFinite(tangent) || isZero(tangent)) {
        return perpendicularTo(namedFaceNormal(data, face));
    }
    return tangent;
}

bool cornersNameEntries(const ObjData& data, const ObjFace& face, bool normals, bool texCoords) {
    if (face.vertexCount < 3) {
        return false;
    }
    const auto inRange = [](int32_t index, size_t size) {
        return static_cast<uint32_t>(index) < size;
    };
    for (const FaceVertex& c : face.vertices) {
        if (!inRange(c.positionIndex, data.positions.size()) ||
            (normals && !inRange(c.normalIndex, data.normals.size())) ||
            (texCoords && !inRange(c.texCoordIndex, data.texCoords.size()))) {
            return false;
        }
    }
    return true;
}

Vector3 computeFaceNormal(const Vector3& p0, const Vector3& p1, const Vector3& p2) {
    const Vector3 a{p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
    const Vector3 b{p0.x - p1.x, p0.y - p1.y, p0.z - p1.z};
    return unitOrZero(cross(a, b));
}

Vector3 faceNormal(const ObjData& data, const ObjFace& face) {
    return cornersNameEntries(data, face, false, false) ? namedFaceNormal(data, face) : Vector3{};
}

Vector3 faceTangent(const ObjData& data, const ObjFace& face) {
    if (data.texCoords.empty() || !cornersNameEntries(data, face, false, true)) {
        return {};
    }
    return namedFaceTangent(data, face);
}

FaceFrame faceFrame(const ObjData& data, const ObjFace& face) {
    const Vector3 normal = faceNormal(data, face);
    const Vector3 tangent = faceTangent(data, face);
    const Vector3 bitangent = isZero(tangent) ? Vector3{} : unitOrZero(cross(normal, tangent));
    return {normal, tangent, bitangent};
}
