// Loading, timing and reporting an OBJ model; see obj_inspection.h.
#include "tools/inspect/obj_inspection.h"

#include <unistd.h>

#include <chrono>

#include "geometry/obj_parser.h"
#include "tools/inspect/json_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sends standard output to standard error while it lives.
class StdoutToStderr {
public:
    StdoutToStderr() {
        std::fflush(stdout);
        saved_ = dup(STDOUT_FILENO);
        if (saved_ >= 0)
            dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    StdoutToStderr(const StdoutToStderr&) = delete;
    StdoutToStderr& operator=(const StdoutToStderr&) = delete;
    ~StdoutToStderr() {
        std::fflush(stdout);
        if (saved_ >= 0) {
            dup2(saved_, STDOUT_FILENO);
            close(saved_);
        }
    }

private:
    int saved_ = -1;
};

// The file a material names, or null for none.
const std::string* textureFileName(const std::string& fileName) {
    return fileName.empty() ? nullptr : &fileName;
}

// Entry i of list, or null past its end (a group's lists may be shorter than
// its vertex count only if the builder broke its promise).
template <typename T>
const T* entry(const std::vector<T>& list, size_t i) {
    return i < list.size() ? &list[i] : nullptr;
}

void writeVector(JsonWriter& json, const Vector3* v) {
    if (!v) {
        json.null();
        return;
    }
    const float values[] = {v->x, v->y, v->z};
    json.numbers(values, 3);
}

void writeTexCoord(JsonWriter& json, const TexCoord* t) {
    if (!t) {
        json.null();
        return;
    }
    const float values[] = {t->u, t->v};
    json.numbers(values, 2);
}

void writeGroupVertices(JsonWriter& json, const MeshGroup& group) {
    const ObjData& g = group.geometry;
    json.key("vertices");
    json.beginArray();
    for (size_t i = 0; i < group.vertexCount; ++i) {
        json.beginObject();
        json.key("position");
        writeVector(json, entry(g.positions, i));
        json.key("normal");
        writeVector(json, entry(g.normals, i));
        json.key("tangent");
        writeVector(json, entry(g.tangents, i));
        json.key("texCoord");
        writeTexCoord(json, entry(g.texCoords, i));
        json.endObject();
    }
    json.endArray();
    json.key("indices");
    json.beginArray();
    for (const uint32_t index : g.indices)
        json.number(uint64_t{index});
    json.endArray();
}

std::string quoted(std::string_view text) {
    std::string out;
    appendJsonString(out, text);
    return out;
}

void printVector(std::FILE* out, const char* label, const Vector3* v) {
    if (v)
        std::fprintf(out, "%s (%g, %g, %g)", label, v->x, v->y, v->z);
    else
        std::fprintf(out, "%s none", label);
}

} // namespace

ObjInspection inspectObj(const std::string& path) {
    ObjInspection result;
    result.path = path;
    result.mesh = createMesh("");
    result.mesh.path = path;
    {
        const StdoutToStderr quiet;
        const Clock::time_point parseStart = Clock::now();
        result.ok = loadObj(result.mesh.materials, path, result.mesh.objData);
        result.parseSeconds = secondsSince(parseStart);
        if (result.ok) {
            const ObjData& data = result.mesh.objData;
            result.positions = data.positions.size();
            result.normals = data.normals.size();
            result.texCoords = data.texCoords.size();
            result.faces = data.faces.size();
            result.droppedFaces = data.droppedFaces;
            const Clock::time_point buildStart = Clock::now();
            buildMeshGroups(result.mesh);
            result.buildSeconds = secondsSince(buildStart);
        }
    }
    return result;
}

void writeObjJson(const ObjInspection& inspection, bool withVertices, std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.key("file");
    json.string(inspection.path);
    json.key("ok");
    json.boolean(inspection.ok);
    json.key("positions");
    json.number(inspection.positions);
    json.key("normals");
    json.number(inspection.normals);
    json.key("texCoords");
    json.number(inspection.texCoords);
    json.key("faces");
    json.number(inspection.faces);
    json.key("droppedFaces");
    json.number(inspection.droppedFaces);

    json.key("materials");
    json.beginArray();
    for (const Material& material : inspection.mesh.materials) {
        json.beginObject();
        json.key("name");
        json.string(material.name);
        json.key("id");
        json.number(int64_t{material.id});
        json.key("diffuse");
        writeVector(json, &material.diffuse);
        json.key("specular");
        writeVector(json, &material.specular);
        json.key("hasTexture");
        json.boolean(material.hasTexture);
        json.key("hasNormalMap");
        json.boolean(material.hasNormalMap);
        json.key("texture");
        json.stringOrNull(textureFileName(material.texture));
        json.key("normalMap");
        json.stringOrNull(textureFileName(material.normalMap));
        json.endObject();
    }
    json.endArray();

    json.key("groups");
    json.beginArray();
    for (const MeshGroup& group : inspection.mesh.groups) {
        json.beginObject();
        json.key("name");
        json.string(group.name);
        json.key("materialIndex");
        json.number(uint64_t{group.materialIndex});
        json.key("vertexCount");
        json.number(uint64_t{group.vertexCount});
        json.key("indexCount");
        json.number(uint64_t{group.indexCount});
        if (withVertices)
            writeGroupVertices(json, group);
        json.endObject();
    }
    json.endArray();

    json.key("parseSeconds");
    json.number(inspection.parseSeconds);
    json.key("buildSeconds");
    json.number(inspection.buildSeconds);
    json.endObject();
    json.finish();
}

void writeObjSummary(const ObjInspection& inspection, bool withVertices, std::FILE* out) {
    std::fprintf(out, "OBJ %s: %s\n", quoted(inspection.path).c_str(),
                 inspection.ok ? "loaded" : "cannot be read");
    if (!inspection.ok)
        return;
    std::fprintf(out, "positions %llu, normals %llu, texture coordinates %llu\n",
                 static_cast<unsigned long long>(inspection.positions),
                 static_cast<unsigned long long>(inspection.normals),
                 static_cast<unsigned long long>(inspection.texCoords));
    std::fprintf(out, "faces %llu kept, %llu dropped\n",
                 static_cast<unsigned long long>(inspection.faces),
                 static_cast<unsigned long long>(inspection.droppedFaces));

    const Mesh& mesh = inspection.mesh;
    std::fprintf(out, "materials: %zu\n", mesh.materials.size());
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        const Material& material = mesh.materials[i];
        std::fprintf(out, "  %zu %s id %d: ", i, quoted(material.name).c_str(), material.id);
        printVector(out, "diffuse", &material.diffuse);
        printVector(out, ", specular", &material.specular);
        const std::string* texture = textureFileName(material.texture);
        const std::string* normalMap = textureFileName(material.normalMap);
        std::fprintf(out, ", texture %s, normal map %s\n",
                     texture ? quoted(*texture).c_str() : "none",
                     normalMap ? quoted(*normalMap).c_str() : "none");
    }

    std::fprintf(out, "groups: %zu\n", mesh.groups.size());
    for (size_t i = 0; i < mesh.groups.size(); ++i) {
        const MeshGroup& group = mesh.groups[i];
        std::fprintf(out, "  %zu %s material %u: %u vertices, %u indices\n", i,
                     quoted(group.name).c_str(), group.materialIndex, group.vertexCount,
                     group.indexCount);
        if (!withVertices)
            continue;
        const ObjData& g = group.geometry;
        for (size_t v = 0; v < group.vertexCount; ++v) {
            std::fprintf(out, "    vertex %zu: ", v);
            printVector(out, "position", entry(g.positions, v));
            printVector(out, ", normal", entry(g.normals, v));
            printVector(out, ", tangent", entry(g.tangents, v));
            if (const TexCoord* t = entry(g.texCoords, v))
                std::fprintf(out, ", texCoord (%g, %g)\n", t->u, t->v);
            else
                std::fprintf(out, ", texCoord none\n");
        }
        std::fprintf(out, "    indices:");
        for (const uint32_t index : g.indices)
            std::fprintf(out, " %u", index);
        std::fprintf(out, "\n");
    }
    std::fprintf(out, "parse %.6f s, build %.6f s\n", inspection.parseSeconds,
                 inspection.buildSeconds);
}
