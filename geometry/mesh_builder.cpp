// Building a mesh from its OBJ file: the faces, sorted by material, are cut
// into one group per run of a material, and each group gets its own
// de-duplicated vertex lists and 32-bit indices local to the group. Only the
// first three corners of a face are used: models must be triangulated.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "geometry/mesh.h"
#include "geometry/vertex_index.h"
#include "resources/fresh_memory.h"

namespace {

// The faces [firstFace, firstFace + faceCount) that one group takes.
struct GroupPlan {
    uint32_t materialIndex = 0;
    size_t firstFace = 0;
    size_t faceCount = 0;
};

// A face takes its own material when it names one of the list; otherwise
// that of the face before it, and for a first face material 0. The first
// group has material 0 even when no face uses it.
std::vector<GroupPlan> planGroups(const std::vector<ObjFace>& faces, size_t materialCount) {
    std::vector<GroupPlan> plan(1);
    uint32_t material = 0;
    for (size_t f = 0; f < faces.size(); ++f) {
        if (faces[f].materialId < materialCount) {
            material = faces[f].materialId;
        }
        if (material != plan.back().materialIndex) {
            plan.push_back({material, f, 0});
        }
        ++plan.back().faceCount;
    }
    return plan;
}

// Vertices whose memory is populated at a time as a group's lists fill up:
// the lists are reserved for three vertices per face, but shared corners may
// need far fewer, and only what is written should become resident.
constexpr size_t populatedVertexStep = size_t{1} << 15;

void populateVertices(ObjData& lists, size_t from, size_t to) {
    populateElements(lists.positions, from, to);
    populateElements(lists.normals, from, to);
    populateElements(lists.tangents, from, to);
    populateElements(lists.texCoords, from, to);
}

// Faces gathered at a time: the probes of all a block's corners are filled,
// which starts fetching their table slots, before the first is looked up,
// so that those fetches from memory overlap.
constexpr size_t facesPerBlock = 8;

struct GatheredFace {
    bool usable = false;
    VertexProbe corners[3];
};

// Gathers the three corner vertices of each face and fills their probes.
// The tangents come first, in a loop of their own: each is a chain of
// dependent arithmetic (two divisions and a square root) that overlaps with
// the others only when nothing else stands between them.
void gatherFaces(const ObjData& data, const ObjFace* faces, size_t count, const VertexIndex& index,
                 GatheredFace* gathered) {
    const bool hasNormals = !data.normals.empty();
    const bool hasTexCoords = !data.texCoords.empty();
    Vector3 tangents[facesPerBlock];
    for (size_t i = 0; i < count; ++i) {
        gathered[i].usable = cornersNameEntries(data, faces[i], hasNormals, hasTexCoords);
        if (gathered[i].usable && hasTexCoords) {
            tangents[i] = namedFaceTangent(data, faces[i]);
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (!gathered[i].usable) {
            continue;
        }
        const ObjFace& face = faces[i];
        const Vector3 tangent = tangents[i];
        // Without "vn" lines the face normal serves all its corners (flat
        // shading); without "vt" lines the coordinate is (0, 0).
        const Vector3 flatNormal = hasNormals ? Vector3{} : namedFaceNormal(data, face);
        for (uint32_t c = 0; c < 3; ++c) {
            const FaceVertex& corner = face.vertices[c];
            VertexProbe& probe = gathered[i].corners[c];
            GroupVertex& vertex = probe.vertex;
            vertex.position = data.positions[corner.positionIndex];
            vertex.tangent = tangent;
            vertex.normal = hasNormals ? data.normals[corner.normalIndex] : flatNormal;
            vertex.texCoord = hasTexCoords ? data.texCoords[corner.texCoordIndex] : TexCoord{};
            fillProbe(index, probe);
        }
    }
}

// A typical distance between neighbouring positions of the group: the
// median longest side (in the largest coordinate difference) of a sample of
// its faces. It only tunes the vertex index; any value gives the same result.
float typicalSpacing(const ObjData& data, const GroupPlan& plan) {
    constexpr size_t sampleSize = 63;
    std::vector<float> sides;
    const size_t step = std::max<size_t>(1, plan.faceCount / sampleSize);
    for (size_t f = plan.firstFace; f < plan.firstFace + plan.faceCount; f += step) {
        const ObjFace& face = data.faces[f];
        if (!cornersNameEntries(data, face, false, false)) {
            continue;
        }
        const Vector3& a = data.positions[face.vertices[0].positionIndex];
        const Vector3& b = data.positions[face.vertices[1].positionIndex];
        const float side =
            std::max({std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)});
        if (side > 0.0f && std::isfinite(side)) {
            sides.push_back(side);
        }
    }
    if (sides.empty()) {
        return 0.0f;
    }
    std::nth_element(sides.begin(), sides.begin() + sides.size() / 2, sides.end());
    return sides[sides.size() / 2];
}

void buildGroup(const Mesh& mesh, const GroupPlan& plan, VertexIndex& index, MeshGroup& group) {
    const ObjData& data = mesh.objData;
    ObjData& lists = group.geometry;
    const size_t maxVertices = 3 * plan.faceCount;
    lists.positions.reserve(maxVertices);
    lists.normals.reserve(maxVertices);
    lists.tangents.reserve(maxVertices);
    lists.texCoords.reserve(maxVertices);
    lists.indices.reserve(maxVertices);
    populateElements(lists.indices, 0, maxVertices);
    resetVertexIndex(index, maxVertices, typicalSpacing(data, plan));

    const size_t end = plan.firstFace + plan.faceCount;
    GatheredFace block[facesPerBlock];
    size_t populated = 0;
    for (size_t from = plan.firstFace; from < end; from += facesPerBlock) {
        const size_t count = std::min(facesPerBlock, end - from);
        gatherFaces(data, &data.faces[from], count, index, block);
        for (size_t i = 0; i < count; ++i) {
            GatheredFace& face = block[i];
            if (!face.usable) {
                continue;
            }
            if (lists.positions.size() + 3 > populated) {
                populateVertices(lists, populated, populated + populatedVertexStep);
                populated += populatedVertexStep;
            }
            for (VertexProbe& corner : face.corners) {
                lists.indices.push_back(findOrAddVertex(index, lists, corner));
            }
        }
    }
    // Closing the group: a model without materials keeps "default".
    if (group.materialIndex < mesh.materials.size()) {
        group.name = mesh.materials[group.materialIndex].name;
    }
    group.vertexCount = static_cast<uint32_t>(lists.positions.size());
    group.indexCount = static_cast<uint32_t>(lists.indices.size());
}

} // namespace

Mesh createMesh(const std::string& path) {
    Mesh mesh;
    if (!path.empty()) {
        mesh.path = path;
        buildMesh(mesh);
    }
    return mesh;
}

void buildMesh(Mesh& mesh) {
    if (!loadObj(mesh.materials, mesh.path, mesh.objData)) {
        return;
    }
    printf("...done\n...creating Mesh: %s\n\n", mesh.path.c_str());
    buildMeshGroups(mesh);
}

void buildMeshGroups(Mesh& mesh) {
    mesh.groups.clear();
    const std::vector<GroupPlan> plan = planGroups(mesh.objData.faces, mesh.materials.size());
    mesh.groups.resize(plan.size());
    VertexIndex index;
    for (size_t g = 0; g < plan.size(); ++g) {
        mesh.groups[g].materialIndex = plan[g].materialIndex;
        buildGroup(mesh, plan[g], index, mesh.groups[g]);
    }
}
