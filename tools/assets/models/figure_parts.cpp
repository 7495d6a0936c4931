// Shared figure pieces.
#include "tools/assets/models/figure_parts.h"

namespace assets {

MeshPart ellipsoid(Vector3 center, Vector3 radii, int segments, int rings) {
    MeshPart part = makeSphere(segments, rings);
    transform(part, translation(center) * scaling(radii));
    smoothNormals(part);
    return part;
}

MeshPart eyeball(Vector3 center, Vector3 radii, Vector3 forward) {
    Vector3 gaze = normalized(forward);
    Vector3 across = normalized(cross(gaze, Vector3{0.0f, 1.0f, 0.0f}));
    Vector3 third = cross(across, gaze);
    MeshPart part = makeSphere(20, 14);
    transform(part, frame(across, gaze, third, center) * scaling(radii));
    smoothNormals(part);
    return part;
}

void squeezeT(MeshPart& part, float from, float to) {
    for (Vec2& st : part.texCoords) {
        st.y = from + (to - from) * st.y;
    }
}

MeshPart tubeInBand(const std::vector<Vector3>& path, const std::vector<float>& radii,
                    TubeOptions options, float from, float to) {
    float length = 0.0f;
    for (size_t k = 1; k < path.size(); ++k) {
        length += assets::length(path[k] - path[k - 1]);
    }
    float start = capLength(radii.front(), options);
    float total = start + length + capLength(radii.back(), options);
    options.tPerUnit = (to - from) / total;
    options.tStart = from + start * options.tPerUnit;
    return makeTube(path, radii, options);
}

void standFigure(Model& model, float sideOffset, float footHeight) {
    Bounds b = modelBounds(model);
    translateModel(model, {sideOffset, footHeight - b.min.y, 0.0f});
}

} // namespace assets
