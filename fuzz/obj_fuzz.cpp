// libFuzzer target for the OBJ and MTL readers and the mesh builder: any byte
// string must be read without reading or writing outside a buffer, and what
// comes out must keep the promises the mesh builder and the GPU upload rely
// on. The first byte chooses how the rest is split into an OBJ text and an
// MTL text; textures are only described. The OBJ text is also written to a
// file and read back through a small window, which must give the same model.
//
// Linked with replay_main.cpp instead of libFuzzer, it replays the files named
// on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

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

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The model read from text written to a file, through a window of
// windowBytes, is the model parsed from the text with the same materials
// before it.
void checkFileReading(std::string_view text, size_t windowBytes, std::vector<Material> materials,
                      const Mesh& parsed) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("obj_fuzz_" + std::to_string(getpid()) + ".obj"))
            .string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    ObjData read;
    const bool loaded = loadObj(materials, path, read, windowBytes);
    std::remove(path.c_str());
    check(loaded);
    const ObjData& data = parsed.objData;
    check(sameBytes(read.positions, data.positions) && sameBytes(read.normals, data.normals) &&
          sameBytes(read.texCoords, data.texCoords) && sameBytes(read.faces, data.faces) &&
          sameBytes(read.extraFaceVertices, data.extraFaceVertices) &&
          read.droppedFaces == data.droppedFaces && materials.size() == parsed.materials.size());
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
    const std::vector<Material> libraryMaterials = mesh.materials;
    parseObj(bytes.substr(0, split), mesh.materials, mesh.objData);
    checkFaces(mesh.objData);
    checkFileReading(bytes.substr(0, split), 1 + (size * 7 + split) % 300, libraryMaterials, mesh);
    buildMeshGroups(mesh);
    checkGroups(mesh);
    return 0;
}
