// obj_digest: one line per OBJ model that pins down, bit for bit, what the
// program makes of it: loadObj and then the mesh groups, built without GL.
// The digest covers the faces in their sorted order (material and every
// corner) and each group's name, material, vertex lists (positions, normals,
// tangents and texture coordinates as exact bits) and indices.
//
//   obj_digest MODEL|fuzz:FILE ...       the digests of the models given
//   obj_digest --standard-set DIR [--scene SCENE_DIR] [--corpus CORPUS_DIR]
//
// --standard-set writes the generated models into DIR (the displaced grids
// of 100k and 1M triangles with v/vt/vn, without vt, without vn, with
// neither and as quads; a grid whose every face has a material of its own
// run; the models made to slow vertex de-duplication down) and prints the
// digests of the scene's models, those models and the OBJ fuzz corpus.
// Each line starts with the model's path, so another build repeats the
// comparison with this file compiled against that build's libraries (SRC is
// its source tree, BUILD its build folder):
//
//   build/bin/obj_digest --standard-set /tmp/set > new.txt
//   g++ -std=c++20 -O2 -ISRC -DTIDEMOOR_SCENE_DIR='""' -DOBJ_CORPUS_DIR='""'
//       bench/obj_digest.cpp bench/model_generator.cpp BUILD/geometry/libgeometry.a
//       BUILD/resources/libresources.a BUILD/math/libmath.a -o /tmp/obj_digest_other
//       (one command)
//   /tmp/obj_digest_other $(cut -d' ' -f1 new.txt) > old.txt && diff old.txt new.txt
//
// Models are loaded from their own folder, as the scene loads them, so that
// their material libraries are found. A MODEL written fuzz:FILE is an input
// of the OBJ fuzz target, whose first byte splits it into OBJ and MTL text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/model_generator.h"
#include "geometry/mesh.h"
#include "geometry/obj_parser.h"

namespace {

// A 64-bit running hash of words; only equality of two digests matters.
struct Digest {
    uint64_t state = 0x6A09E667F3BCC908ull;

    void add(uint64_t word) {
        state = (state ^ word) * 0x100000001B3ull;
        state ^= state >> 29;
    }
    void addBytes(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        add(size);
        for (size_t i = 0; i < size; i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, bytes + i, std::min<size_t>(8, size - i));
            add(word);
        }
    }
    template <typename T>
    void addList(const std::vector<T>& list) {
        addBytes(list.data(), list.size() * sizeof(T));
    }
};

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

constexpr std::string_view fuzzPrefix = "fuzz:";

// Loads the model at path from its own folder; a fuzz input (path after
// fuzzPrefix) is split into OBJ and MTL text by its first byte, as the OBJ
// fuzz target splits it.
bool load(const std::string& path, Mesh& mesh) {
    if (path.rfind(fuzzPrefix, 0) == 0) {
        std::ifstream file(path.substr(fuzzPrefix.size()), std::ios::binary);
        const std::string input{std::istreambuf_iterator<char>(file), {}};
        if (!file || input.empty()) {
            return false;
        }
        const std::string_view bytes = std::string_view(input).substr(1);
        const size_t split = bytes.size() * static_cast<unsigned char>(input[0]) / 255;
        loadMtl(bytes.substr(split), mesh.materials);
        parseObj(bytes.substr(0, split), mesh.materials, mesh.objData);
        return true;
    }
    const std::filesystem::path absolute = std::filesystem::absolute(path);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(absolute.parent_path());
    mesh.path = absolute.filename().string();
    const bool loaded = loadObj(mesh.materials, mesh.path, mesh.objData);
    std::filesystem::current_path(previous);
    return loaded;
}

// The digest line of one model.
std::string digestLine(const std::string& path) {
    Mesh mesh;
    if (!load(path, mesh)) {
        return path + " unreadable";
    }
    buildMeshGroups(mesh);

    const ObjData& data = mesh.objData;
    Digest faces;
    for (const ObjFace& face : data.faces) {
        faces.add(face.materialId);
        faces.add(face.vertexCount);
        for (uint32_t c = 0; c < face.vertexCount; ++c) {
            const FaceVertex& corner = faceVertex(data, face, c);
            faces.addBytes(&corner, sizeof corner);
        }
    }
    faces.add(data.droppedFaces);
    Digest groups;
    size_t vertices = 0;
    for (const MeshGroup& group : mesh.groups) {
        groups.addBytes(group.name.data(), group.name.size());
        groups.add(group.materialIndex);
        groups.addList(group.geometry.positions);
        groups.addList(group.geometry.normals);
        groups.addList(group.geometry.tangents);
        groups.addList(group.geometry.texCoords);
        groups.addList(group.geometry.indices);
        vertices += group.geometry.positions.size();
    }
    return path + " faces=" + std::to_string(data.faces.size()) +
           " materials=" + std::to_string(mesh.materials.size()) +
           " groups=" + std::to_string(mesh.groups.size()) +
           " vertices=" + std::to_string(vertices) + " order=" + hex(faces.state) +
           " build=" + hex(groups.state);
}

// What a grid variant keeps of the full v/vt/vn grid.
struct Variant {
    const char* suffix;
    bool texCoords = true;
    bool normals = true;
    bool quads = false;
    bool runPerFace = false;
};

// The corner "p/t/n" as the variant writes it: "p/t", "p/n" (after "vn"
// lines only) or "p".
std::string cornerOf(const std::string& corner, const Variant& variant) {
    const size_t first = corner.find('/');
    const size_t second = corner.find('/', first + 1);
    const std::string p = corner.substr(0, first);
    const std::string t = corner.substr(first + 1, second - first - 1);
    const std::string n = corner.substr(second + 1);
    return p + (variant.texCoords ? "/" + t : "") + (variant.normals ? "/" + n : "");
}

// Rewrites the full grid at source as the variant into target. Quads join
// the two triangles of each grid square, which follow one another.
bool writeVariant(const std::string& source, const std::string& target, const Variant& variant) {
    std::ifstream in(source);
    std::ofstream out(target);
    std::string line;
    std::vector<std::string> pending; // the corners of a square's first triangle
    uint64_t face = 0;
    while (std::getline(in, line)) {
        if ((!variant.texCoords && line.rfind("vt ", 0) == 0) ||
            (!variant.normals && line.rfind("vn ", 0) == 0) ||
            (variant.runPerFace && line.rfind("usemtl ", 0) == 0)) {
            continue;
        }
        if (line.rfind("f ", 0) != 0) {
            out << line << '\n';
            continue;
        }
        std::vector<std::string> corners;
        for (size_t at = 2; at < line.size();) {
            const size_t space = std::min(line.find(' ', at), line.size());
            corners.push_back(cornerOf(line.substr(at, space - at), variant));
            at = space + 1;
        }
        if (variant.quads && pending.empty()) {
            pending = corners;
            continue;
        }
        if (variant.quads) {
            corners = {pending[0], pending[1], pending[2], corners[2]};
            pending.clear();
        }
        if (variant.runPerFace) {
            out << "usemtl material" << (face * 5) % 8 << '\n';
        }
        out << 'f';
        for (const std::string& corner : corners) {
            out << ' ' << corner;
        }
        out << '\n';
        ++face;
    }
    return static_cast<bool>(out.flush());
}

// Writes the generated models into folder; their paths, or none on failure.
std::vector<std::string> writeGeneratedSet(const std::string& folder) {
    std::vector<std::string> paths;
    const Variant variants[] = {{"-no-vt", false, true},
                                {"-no-vn", true, false},
                                {"-positions-only", false, false},
                                {"-quads", true, true, true},
                                {"-run-per-face", true, true, false, true}};
    const std::pair<const char*, uint64_t> grids[] = {{"grid-100k", 100'000},
                                                      {"grid-1m", 1'000'000}};
    for (const auto& [name, triangles] : grids) {
        GeneratedModel model;
        if (!generateGridModel(folder, name, triangles, model)) {
            return {};
        }
        paths.push_back(model.objPath);
        for (const Variant& variant : variants) {
            // One run per face matters at one size only.
            if (variant.runPerFace && triangles != 100'000) {
                continue;
            }
            const std::string path = folder + "/" + name + variant.suffix + ".obj";
            if (!writeVariant(model.objPath, path, variant)) {
                return {};
            }
            paths.push_back(path);
        }
    }
    for (const char* name : adversarialModels) {
        GeneratedModel model;
        if (!generateAdversarialModel(folder, name, model)) {
            return {};
        }
        paths.push_back(model.objPath);
    }
    return paths;
}

// The files of folder whose name ends in suffix, in name order.
std::vector<std::string> filesIn(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().string();
        if (entry.is_regular_file() && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            files.push_back(name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

int usage() {
    std::fprintf(stderr, "usage: obj_digest MODEL|fuzz:FILE ...\n"
                         "       obj_digest --standard-set DIR [--scene DIR] [--corpus DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> models;
    std::string setFolder;
    std::string sceneFolder = TIDEMOOR_SCENE_DIR;
    std::string corpusFolder = OBJ_CORPUS_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (i + 1 < argc && argument == "--standard-set") {
            setFolder = argv[++i];
        } else if (i + 1 < argc && argument == "--scene") {
            sceneFolder = argv[++i];
        } else if (i + 1 < argc && argument == "--corpus") {
            corpusFolder = argv[++i];
        } else if (argument.empty() || argument[0] == '-') {
            return usage();
        } else {
            models.push_back(argument);
        }
    }
    if (!setFolder.empty()) {
        std::filesystem::create_directories(setFolder);
        const std::vector<std::string> generated = writeGeneratedSet(setFolder);
        if (generated.empty()) {
            std::fprintf(stderr, "obj_digest: cannot write the models into %s\n",
                         setFolder.c_str());
            return 1;
        }
        const std::vector<std::string> scene = filesIn(sceneFolder, ".obj");
        std::vector<std::string> corpus = filesIn(corpusFolder, "");
        for (std::string& input : corpus) {
            input.insert(0, fuzzPrefix);
        }
        if (scene.empty() || corpus.empty()) {
            std::fprintf(stderr, "obj_digest: no scene models in %s or no corpus in %s\n",
                         sceneFolder.c_str(), corpusFolder.c_str());
            return 1;
        }
        models.insert(models.end(), scene.begin(), scene.end());
        models.insert(models.end(), generated.begin(), generated.end());
        models.insert(models.end(), corpus.begin(), corpus.end());
    }
    if (models.empty()) {
        return usage();
    }
    for (const std::string& model : models) {
        std::printf("%s\n", digestLine(model).c_str());
        std::fflush(stdout);
    }
    return 0;
}
