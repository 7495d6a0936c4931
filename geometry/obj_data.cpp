// Emptying the parsed form of a model.
#include "geometry/obj_data.h"

#include <utility>

namespace {

// clear() keeps the capacity; a swap with an empty list gives it back.
template <typename T>
void release(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

} // namespace

void clearObjData(ObjData& data) {
    release(data.positions);
    release(data.normals);
    release(data.tangents);
    release(data.texCoords);
    release(data.faces);
    release(data.indices);
    release(data.extraFaceVertices);
    data.droppedFaces = 0;
}
