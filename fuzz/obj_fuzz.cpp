// libFuzzer target for the OBJ and MTL readers and the mesh builder: any byte
// string must be read without reading or writing outside a buffer, and what
// comes out must keep the promises the mesh builder and the GPU upload rely
// on. The first byte chooses how the rest is split into an OBJ text and an
// MTL text; textures are only described.
//
// Linked with replay_main.cpp instead of libFuzzer, it replays the files named
// on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "geometry/mesh.h"

namespace {

void check(bool condition) {
    if (!condition) {
        abort();
    }
}

// Faces of at least three corners naming entries of the lists, sorted by
// material.
void checkFaces(const ObjData& data) {
    for (size_t f = 0; f < data.faces.size(); ++f) {
        const ObjFace& face = data.faces[f];
        check(face.vertexCount >= 3);
        check(f == 0 || data.faces[f - 1].materialId <= face.materialId);
        for (uint32_t i = 0; i < face.vertexCount; ++i) {
            const FaceVertex& v = faceVertex(data, face, i);
            check(static_cast<size_t>(v.positionIndex) < data.positions.size());
            check(v.normalIndex == 0 || static_cast<size_t>(v.normalIndex) < data.normals.size());
            check(v.texCoordIndex == 0 ||
                  static_cast<size_t>(v.texCoordIndex) < data.texCoords.size());
        }
    }
}

// Every group's indices name its own vertices; three indices per face.
void checkGroups(const Mesh& mesh) {
    size_t indices = 0;
    check(!mesh.groups.empty());
    for (const MeshGroup& group : mesh.groups) {
        const ObjData& lists = group.geometry;
        check(group.vertexCount == lists.positions.size());
        check(lists.normals.size() == lists.positions.size());
        check(lists.tangents.size() == lists.positions.size());
        check(lists.texCoords.size() == lists.positions.size());
        check(group.indexCount == lists.indices.size());
        for (uint32_t index : lists.indices) {
            check(index < group.vertexCount);
        }
        indices += group.indexCount;
    }
    check(indices == 3 * mesh.objData.faces.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = bytes.size() * data[0] / 255;
    Mesh mesh;
    loadMtl(bytes.substr(split), mesh.materials);
    parseObj(bytes.substr(0, split), mesh.materials, mesh.objData);
    checkFaces(mesh.objData);
    buildMeshGroups(mesh);
    checkGroups(mesh);
    return 0;
}
