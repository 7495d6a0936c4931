// Finding the vertex a corner of a mesh group shares: the first vertex of the
// group, in ascending order, whose every component lies within
// vertexMatchTolerance of the corner's. The answer is exactly that of
// scanning all earlier vertices, found in expected constant time whichever
// components the corners share and whichever they differ in.
//
// Vertices are filed in a hash table under their cell in a grid over some of
// their eleven components, the keyed ones. Each keyed component has its own
// cell width, a power of two from about 1.2 to 80,000 tolerances, and its own
// offset of the cell borders, drawn afresh at every reset so that no file can
// put its values on borders on purpose. A stored vertex that matches a corner
// lies within the tolerance of it in every component, so in each keyed
// component its cell is the corner's own or, where the corner lies within a
// tolerance of a border, the neighbour across that border. Those cells are
// searched, and the lowest matching index among all of them wins.
//
// A group starts keyed on position alone, with cells a few times finer than
// the typical spacing of its positions. The corners that share a position
// (one per face around it, each with its own tangent) are told apart by a
// fingerprint of fine cells of tangent, normal and texture coordinate kept in
// every entry, which rules out nearly every entry that cannot match without
// reading the vertex itself. The index counts the entries its look-ups read.
// When they read many more than that, as when thousands of corners share a
// position and differ only in texture coordinate or normal, it chooses anew
// which components to key and how finely: from a sample of its stored
// vertices, some drawn evenly and some from where the costly look-ups read,
// it estimates for each choice how many cells a look-up searches and how
// many stored vertices share them, keeps the cheapest, and files every
// vertex again. The wasted reads must first outweigh that re-filing, so it
// costs at most a fixed share of the look-ups' own work.
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

// Position x, y, z, tangent x, y, z, normal x, y, z, texture u, v.
constexpr int vertexComponents = 11;

// How vertices are filed: the keyed components and their grids.
struct VertexCells {
    int keyedCount = 0;
    uint8_t keyed[vertexComponents] = {}; // component numbers, ascending
    // Per component: cells per unit (a power of two), the offset of the cell
    // borders in cells (with a bias that keeps cell numbers positive), the
    // tolerance in cells plus a margin for rounding, and the odd number a
    // cell is multiplied by in the hash.
    double cellsPerUnit[vertexComponents] = {};
    double offset[vertexComponents] = {};
    double reach[vertexComponents] = {};
    uint64_t multiplier[vertexComponents] = {};
    // Changed whenever the cells are; probes found for others are stale.
    uint32_t version = 0;
};

// A fresh unpredictable number, for VertexIndex::randomState.
uint64_t unpredictableNumber();

struct VertexIndex {
    struct Slot {
        uint32_t fingerprint = 0;
        uint32_t vertex = 0; // emptySlot when free
    };
    static constexpr uint32_t emptySlot = UINT32_MAX;

    std::vector<Slot> slots; // only the first mask + 1 are in use
    size_t mask = 0;
    size_t entries = 0;
    VertexCells cells;
    // Table entries the look-ups may still read beyond their allowance
    // before the cells are chosen anew; never positive.
    int64_t readCredit = 0;
    // The latest corners whose look-up read more than its allowance, kept
    // cyclically: they show where the stored vertices crowd together.
    static constexpr uint32_t costlyKept = 16;
    GroupVertex costlyCorners[costlyKept];
    uint32_t costlyCount = 0;
    // Draws the cell offsets, hash multipliers and samples; set it to repeat
    // a run exactly.
    uint64_t randomState = unpredictableNumber();
};

// A corner prepared for look-up: its cells, hashes and fingerprint, computed
// ahead so that the table's memory can be fetched while earlier corners are
// looked up.
struct VertexProbe {
    static constexpr int maxPrefetched = 8;

    GroupVertex vertex;
    bool finite = false; // no NaN or infinite component
    uint32_t fingerprint = 0;
    uint32_t cellsVersion = 0; // of the index's cells these were found for
    // Hash of the cell the vertex lies in, for filing it, and the sum the
    // hash mixes.
    uint64_t ownHash = 0;
    uint64_t cellSum = 0;
    // Hashes of every cell to search when there are at most maxPrefetched;
    // 0 means they are enumerated during the search.
    int hashCount = 0;
    uint64_t hashes[maxPrefetched] = {};
    // For each keyed component within a tolerance of a border, the one or two
    // changes to cellSum that step to the neighbouring cells.
    int bordersNear = 0;
    uint8_t stepCount[vertexComponents] = {};
    uint64_t steps[vertexComponents][2] = {};
};

// Empties the index for a group that will have at most expectedVertices
// vertices; the table's memory is kept for the next group. positionSpacing,
// when known, is a typical distance between neighbouring positions of the
// group: position cells are made about four times finer than that.
void resetVertexIndex(VertexIndex& index, size_t expectedVertices, float positionSpacing = 0.0f);

// Fills probe's cells, hashes and fingerprint from probe.vertex and starts
// fetching the table slots it will search first.
void prepareProbe(const VertexIndex& index, VertexProbe& probe);

// The share of a probe that follows from the position alone: found once, it
// serves every corner at that position while the index keeps its cells.
struct PositionCells {
    uint32_t cellsVersion = 0; // of the index's cells these were found for
    bool finite = false;
    // For each keyed position component k, bit 2k when the position lies
    // within a tolerance of its cell's lower border, bit 2k + 1 of the upper.
    uint8_t near = 0;
    uint64_t sum = 0; // the keyed position components' share of the cell sum
};
PositionCells positionCellsOf(const VertexIndex& index, const Vector3& position);

// The fingerprint fields of a tangent, which the corners of a face share.
uint32_t tangentFingerprint(const Vector3& tangent);

// prepareProbe with the shares found ahead for probe.vertex's position and
// tangent; position cells found before the index last changed its cells are
// found again.
void prepareProbe(const VertexIndex& index, VertexProbe& probe, const PositionCells& position,
                  uint32_t tangentFields);

// Index of the first vertex of the group's lists (positions, tangents,
// normals, texCoords, equally long, entry i being vertex i) that matches the
// probe's vertex; when none does, the vertex is appended to the lists and its
// new index returned. A vertex with a NaN or infinite component can never
// match, so it is always new. A probe prepared before the index last changed
// its cells is prepared again.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const VertexProbe& probe);

// The same for a vertex not prepared before.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const GroupVertex& vertex);
