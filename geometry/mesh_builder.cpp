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

bool inRange(int32_t index, size_t size) {
    return static_cast<uint32_t>(index) < size;
}

// Whether the builder can read every list entry the face's first three
// corners name; the parser keeps no other faces.
bool isUsable(const ObjData& data, const ObjFace& face, bool hasNormals, bool hasTexCoords) {
    if (face.vertexCount < 3) {
        return false;
    }
    for (uint32_t c = 0; c < 3; ++c) {
        const FaceVertex& corner = face.vertices[c];
        if (!inRange(corner.positionIndex, data.positions.size()) ||
            (hasNormals && !inRange(corner.normalIndex, data.normals.size())) ||
            (hasTexCoords && !inRange(corner.texCoordIndex, data.texCoords.size()))) {
            return false;
        }
    }
    return true;
}

// Vertices whose memory is prepared at a time as a group's lists fill up:
// the lists are reserved for three vertices per face, but shared corners may
// need far fewer, and only what is written should become resident.
constexpr size_t preparedVertexStep = size_t{1} << 15;

void prepareVertices(ObjData& lists, size_t from, size_t to) {
    prepareElements(lists.positions, from, to);
    prepareElements(lists.normals, from, to);
    prepareElements(lists.tangents, from, to);
    prepareElements(lists.texCoords, from, to);
}

// Faces prepared at a time: a block is prepared while the one before it is
// looked up, so that the table slots it needs are already on their way from
// memory.
constexpr size_t facesAhead = 8;

struct PreparedFace {
    bool usable = false;
    VertexProbe corners[3];
};

// The position cells of recently met position indices, direct-mapped: the
// corners at a position (about six in a closed mesh) mostly follow one
// another closely, and its cells need finding only once.
class PositionCellCache {
public:
    const PositionCells& cellsOf(const VertexIndex& index, const ObjData& data,
                                 int32_t positionIndex) {
        if (version_ != index.cells.version) {
            version_ = index.cells.version;
            for (Entry& entry : entries_) {
                entry.positionIndex = -1;
            }
        }
        Entry& entry = entries_[static_cast<uint32_t>(positionIndex) % entryCount];
        if (entry.positionIndex != positionIndex) {
            entry.positionIndex = positionIndex;
            entry.cells = positionCellsOf(index, data.positions[positionIndex]);
        }
        return entry.cells;
    }

private:
    static constexpr size_t entryCount = 1024;
    struct Entry {
        int32_t positionIndex = -1;
        PositionCells cells;
    };
    Entry entries_[entryCount];
    uint32_t version_ = 0;
};

// Gathers the three corner vertices of each face and prepares their
// look-up. The tangents come first, in a loop of their own: each is a chain
// of dependent arithmetic (two divisions and a square root) that overlaps
// with the others only when nothing else stands between them.
void prepareFaces(const ObjData& data, const ObjFace* faces, size_t count, const VertexIndex& index,
                  PositionCellCache& positionCells, PreparedFace* prepared) {
    const bool hasNormals = !data.normals.empty();
    const bool hasTexCoords = !data.texCoords.empty();
    Vector3 tangents[facesAhead];
    for (size_t i = 0; i < count; ++i) {
        prepared[i].usable = isUsable(data, faces[i], hasNormals, hasTexCoords);
        if (prepared[i].usable) {
            tangents[i] = faceTangent(data, faces[i]);
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (!prepared[i].usable) {
            continue;
        }
        const ObjFace& face = faces[i];
        const Vector3 tangent = tangents[i];
        const uint32_t tangentFields = tangentFingerprint(tangent);
        // Without "vn" lines the face normal serves all its corners (flat
        // shading); without "vt" lines the coordinate is (0, 0).
        const Vector3 flatNormal = hasNormals ? Vector3{} : faceNormal(data, face);
        for (uint32_t c = 0; c < 3; ++c) {
            const FaceVertex& corner = face.vertices[c];
            GroupVertex& vertex = prepared[i].corners[c].vertex;
            vertex.position = data.positions[corner.positionIndex];
            vertex.tangent = tangent;
            vertex.normal = hasNormals ? data.normals[corner.normalIndex] : flatNormal;
            vertex.texCoord = hasTexCoords ? data.texCoords[corner.texCoordIndex] : TexCoord{};
            prepareProbe(index, prepared[i].corners[c],
                         positionCells.cellsOf(index, data, corner.positionIndex), tangentFields);
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
        if (!isUsable(data, face, false, false)) {
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

void buildGroup(const Mesh& mesh, const GroupPlan& plan, VertexIndex& index,
                PositionCellCache& positionCells, MeshGroup& group) {
    const ObjData& data = mesh.objData;
    ObjData& lists = group.geometry;
    const size_t maxVertices = 3 * plan.faceCount;
    lists.positions.reserve(maxVertices);
    lists.normals.reserve(maxVertices);
    lists.tangents.reserve(maxVertices);
    lists.texCoords.reserve(maxVertices);
    lists.indices.reserve(maxVertices);
    prepareElements(lists.indices, 0, maxVertices);
    resetVertexIndex(index, maxVertices, typicalSpacing(data, plan));

    const size_t first = plan.firstFace;
    const size_t end = plan.firstFace + plan.faceCount;
    PreparedFace blocks[2][facesAhead];
    const auto prepareBlock = [&](size_t from, PreparedFace* block) {
        prepareFaces(data, &data.faces[from], std::min(facesAhead, end - from), index,
                     positionCells, block);
    };
    if (first < end) {
        prepareBlock(first, blocks[0]);
    }
    size_t prepared = 0;
    for (size_t from = first, b = 0; from < end; from += facesAhead, b ^= 1) {
        if (from + facesAhead < end) {
            prepareBlock(from + facesAhead, blocks[b ^ 1]);
        }
        for (size_t i = 0; i < std::min(facesAhead, end - from); ++i) {
            const PreparedFace& face = blocks[b][i];
            if (!face.usable) {
                continue;
            }
            if (lists.positions.size() + 3 > prepared) {
                prepareVertices(lists, prepared, prepared + preparedVertexStep);
                prepared += preparedVertexStep;
            }
            for (const VertexProbe& corner : face.corners) {
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
    PositionCellCache positionCells;
    for (size_t g = 0; g < plan.size(); ++g) {
        mesh.groups[g].materialIndex = plan[g].materialIndex;
        buildGroup(mesh, plan[g], index, positionCells, mesh.groups[g]);
    }
}
