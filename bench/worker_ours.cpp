// Benchmark worker for Tidemoor's own loading: mode "whole" is the mesh's
// full job (loadObj, then buildMeshGroups: parse, normals, tangents, sort,
// de-duplication), mode "parse" loadObj alone. Mode "memory" is loadObj and
// then the fresh memory the groups' lists take when no two corners share a
// vertex, written once, with no other build work: as in the generated grids,
// whose neighbouring faces all have tangents of their own, so no build of
// those lists can cost less. Textures are only described.
#include <cstdint>
#include <string>

#include "bench/load_worker.h"
#include "geometry/mesh.h"
#include "geometry/obj_parser.h"
#include "resources/fresh_memory.h"

namespace {

template <typename List>
void writeFresh(List& list, size_t count) {
    list.reserve(count);
    populateElements(list, 0, count);
    list.resize(count);
}

// One vertex and one index per corner, as the builder populates and fills them.
void writeDistinctCornerLists(const ObjData& data, MeshGroup& group) {
    const size_t corners = 3 * data.faces.size();
    writeFresh(group.geometry.positions, corners);
    writeFresh(group.geometry.normals, corners);
    writeFresh(group.geometry.tangents, corners);
    writeFresh(group.geometry.texCoords, corners);
    writeFresh(group.geometry.indices, corners);
}

int64_t load(const std::string& mode, const std::string& file) {
    if (mode != "whole" && mode != "parse" && mode != "memory")
        return -1;
    // Leaked on purpose: the worker ends without tearing the model down.
    Mesh& mesh = *new Mesh(createMesh(""));
    mesh.path = file;
    if (!loadObj(mesh.materials, mesh.path, mesh.objData))
        return -1;
    if (mode == "parse")
        return static_cast<int64_t>(mesh.objData.faces.size());
    if (mode == "memory") {
        writeDistinctCornerLists(mesh.objData, mesh.groups.emplace_back());
        return static_cast<int64_t>(mesh.objData.faces.size());
    }
    buildMeshGroups(mesh);
    int64_t triangles = 0;
    for (const MeshGroup& group : mesh.groups)
        triangles += group.indexCount / 3;
    return triangles;
}

} // namespace

int main(int argc, char** argv) {
    return runLoadWorker(argc, argv, load);
}
