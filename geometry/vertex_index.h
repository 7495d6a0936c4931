// Finding the vertex a corner of a mesh group shares: the first vertex of the
// group, in ascending order, whose every component lies within
// vertexMatchTolerance of the corner's. The answer is exactly that of
// scanning all earlier vertices, found in expected constant time.
//
// Vertices are filed in a hash table under the grid cells of their
// position, tangent and normal. A stored vertex that matches a corner lies
// within the tolerance of it in every component, so its cells lie between
// those of corner - tolerance and corner + tolerance: usually one cell per
// component, two near a cell border. Every such cell is searched, and the
// lowest matching index among all of them wins. Cells are many times wider
// than the tolerance, so borders are rarely near; positions use finer cells
// than directions because models put them closer together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/obj_data.h"
#include "math/vector3.h"

// One vertex of a group as the builder gathers it for a corner.
struct GroupVertex {
    Vector3 position;
    Vector3 tangent;
    Vector3 normal;
    TexCoord texCoord;
};

struct VertexIndex {
    struct Slot {
        uint32_t tag = 0;    // high half of the cells' hash
        uint32_t vertex = 0; // emptySlot when free
    };
    static constexpr uint32_t emptySlot = UINT32_MAX;

    std::vector<Slot> slots; // only the first mask + 1 are in use
    size_t mask = 0;
    size_t entries = 0;
};

// A corner prepared for look-up: its cells and hash, computed ahead so that
// the table's memory can be fetched while earlier corners are looked up.
struct VertexProbe {
    static constexpr int keyedComponents = 9; // position, tangent, normal

    GroupVertex vertex;
    uint64_t hash = 0; // of the cells that vertex itself lies in
    int32_t cells[keyedComponents] = {};
    // Cells of vertex - tolerance and vertex + tolerance.
    int32_t low[keyedComponents] = {};
    int32_t high[keyedComponents] = {};
    bool finite = false; // no NaN or infinite component
    bool oneCell = true; // low == high in every component
};

// True when every component of stored lies strictly within
// vertexMatchTolerance of candidate's, compared in single precision in the
// order position, tangent, normal, texture coordinate.
bool verticesMatch(const GroupVertex& stored, const GroupVertex& candidate);

// Empties the index for a group that will have at most expectedVertices
// vertices; the table's memory is kept for the next group.
void resetVertexIndex(VertexIndex& index, size_t expectedVertices);

// Fills probe's cells and hash from probe.vertex and starts fetching the
// table slot it will search first.
void prepareProbe(const VertexIndex& index, VertexProbe& probe);

// Index of the first vertex of the group's lists (positions, tangents,
// normals, texCoords, equally long, entry i being vertex i) that matches the
// probe's vertex; when none does, the vertex is appended to the lists and its
// new index returned. A vertex with a NaN or infinite component can never
// match, so it is always new.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const VertexProbe& probe);

// The same for a vertex not prepared before.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const GroupVertex& vertex);
