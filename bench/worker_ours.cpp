// Benchmark worker for Tidemoor's own loading: mode "whole" is the mesh's
// full job (loadObj, then buildMeshGroups: parse, normals, tangents, sort,
// de-duplication), mode "parse" loadObj alone. Textures are only described.
#include <cstdint>
#include <string>

#include "bench/load_worker.h"
#include "geometry/mesh.h"
#include "geometry/obj_parser.h"

namespace {

int64_t load(const std::string& mode, const std::string& file) {
    if (mode != "whole" && mode != "parse")
        return -1;
    // Leaked on purpose: the worker ends without tearing the model down.
    Mesh& mesh = *new Mesh(createMesh(""));
    mesh.path = file;
    if (!loadObj(mesh.materials, mesh.path, mesh.objData))
        return -1;
    if (mode == "parse")
        return static_cast<int64_t>(mesh.objData.faces.size());
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
