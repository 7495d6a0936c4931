// Benchmark worker for assimp's OBJ import. Mode "plain": ReadFile without
// post-processing. Mode "joined": with JoinIdenticalVertices and
// CalcTangentSpace, the closest match to Tidemoor's whole job (shared
// vertices and per-vertex tangents); the models are triangles already.
#include <cstdint>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "bench/load_worker.h"

namespace {

int64_t load(const std::string& mode, const std::string& file) {
    unsigned flags = 0;
    if (mode == "joined")
        flags = aiProcess_JoinIdenticalVertices | aiProcess_CalcTangentSpace;
    else if (mode != "plain")
        return -1;
    auto* importer = new Assimp::Importer;
    const aiScene* scene = importer->ReadFile(file, flags);
    if (!scene)
        return -1;
    int64_t triangles = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        triangles += scene->mMeshes[i]->mNumFaces;
    return triangles;
}

} // namespace

int main(int argc, char** argv) {
    return runLoadWorker(argc, argv, load);
}
