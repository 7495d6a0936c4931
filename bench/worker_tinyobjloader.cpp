// Benchmark worker for tinyobjloader's plain parse (LoadObj, no
// triangulation; the benchmark models are triangles already). Mode "plain".
#include <cstdint>
#include <string>
#include <vector>

#include <tiny_obj_loader.h>

#include "bench/load_worker.h"

namespace {

int64_t load(const std::string& mode, const std::string& file) {
    if (mode != "plain")
        return -1;
    auto* attributes = new tinyobj::attrib_t;
    auto* shapes = new std::vector<tinyobj::shape_t>;
    auto* materials = new std::vector<tinyobj::material_t>;
    std::string warnings;
    std::string errors;
    if (!tinyobj::LoadObj(attributes, shapes, materials, &warnings, &errors, file.c_str(), nullptr,
                          false))
        return -1;
    int64_t triangles = 0;
    for (const tinyobj::shape_t& shape : *shapes)
        triangles += static_cast<int64_t>(shape.mesh.num_face_vertices.size());
    return triangles;
}

} // namespace

int main(int argc, char** argv) {
    return runLoadWorker(argc, argv, load);
}
