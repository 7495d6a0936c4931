// Finding the vertex a corner of a mesh group shares: the first vertex of the
// group, in ascending order, whose every component lies within
// vertexMatchTolerance of the corner's. The answer is exactly that of
// scanning all earlier vertices, found in expected constant time.
//
// Vertices are filed in a hash table under the grid cell of their position.
// A stored vertex that matches a corner lies within the tolerance of it in
// every component, so its cell lies between those of corner - tolerance and
// corner + tolerance: usually one cell, more near a cell border. Every such
// cell is searched, and the lowest matching index among all of them wins.
// Cells are many times wider than the tolerance, so borders are rarely near,
// and a few times finer than the spacing of the group's positions, so few
// positions share a cell. The corners that do share a position (one per
// face around it, each with its own tangent) are told apart by a fingerprint
// of fine cells of tangent, normal and texture coordinate kept in every
// entry, which rules out nearly every entry that cannot match without
// reading the vertex itself.
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
        uint32_t fingerprint = 0;
        uint32_t vertex = 0; // emptySlot when free
    };
    static constexpr uint32_t emptySlot = UINT32_MAX;

    std::vector<Slot> slots; // only the first mask + 1 are in use
    size_t mask = 0;
    size_t entries = 0;
    // Position cells per unit of length, a power of two.
    float positionCellsPerUnit = 256.0f;
};

// A corner prepared for look-up: its cells, hashes and fingerprint, computed
// ahead so that the table's memory can be fetched while earlier corners are
// looked up.
struct VertexProbe {
    static constexpr int maxPrefetched = 8;

    GroupVertex vertex;
    bool finite = false; // no NaN or infinite component
    uint32_t fingerprint = 0;
    // Hash of the cell the position lies in, for filing the vertex.
    uint64_t ownHash = 0;
    // Cells of position - tolerance and position + tolerance.
    int32_t low[3] = {};
    int32_t high[3] = {};
    // Hashes of every cell to search when there are at most maxPrefetched;
    // 0 means they are enumerated during the search.
    int hashCount = 0;
    uint64_t hashes[maxPrefetched] = {};
};

// True when every component of stored lies strictly within
// vertexMatchTolerance of candidate's, compared in single precision in the
// order position, tangent, normal, texture coordinate.
bool verticesMatch(const GroupVertex& stored, const GroupVertex& candidate);

// Empties the index for a group that will have at most expectedVertices
// vertices; the table's memory is kept for the next group. positionSpacing,
// when known, is a typical distance between neighbouring positions of the
// group: cells are made about four times finer than that.
void resetVertexIndex(VertexIndex& index, size_t expectedVertices, float positionSpacing = 0.0f);

// Fills probe's cells, hashes and fingerprint from probe.vertex and starts
// fetching the table slots it will search first.
void prepareProbe(const VertexIndex& index, VertexProbe& probe);

// Index of the first vertex of the group's lists (positions, tangents,
// normals, texCoords, equally long, entry i being vertex i) that matches the
// probe's vertex; when none does, the vertex is appended to the lists and its
// new index returned. A vertex with a NaN or infinite component can never
// match, so it is always new. The probe must have been prepared with this
// index since its last reset.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const VertexProbe& probe);

// The same for a vertex not prepared before.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const GroupVertex& vertex);
