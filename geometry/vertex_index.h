// Finding the vertex a corner of a mesh group shares: the first vertex of the
// group, in ascending order, whose every component lies within
// vertexMatchTolerance of the corner's. The answer is exactly that of
// scanning all earlier vertices, found in expected constant time whichever
// components the corners share and whichever they differ in.
//
// Vertices are filed in an open-addressing hash table (linear probing) under
// their cell in a grid over some of their eleven components, the keyed ones.
// Each keyed component has its own cell width, a power of two from about 1.2
// to 80,000 tolerances, and its own offset of the cell borders, drawn afresh
// at every reset so that no file can put its values on borders on purpose.
// A value x, at p cells per unit with offset o, lies in cell floor(x p + o),
// worked out in double precision: x p is exact and the sum is off by at most
// 2^-19 for |x| < 2^20. The match test fl(|s - c|) < t implies the exact
// |s - c| < t, since rounding never crosses the float t, so a matching
// stored value lies in the corner's own cell or, where the corner lies
// within t p (plus the rounding) of a border, in the next cell across it;
// cells are wider than a tolerance, so no further. Those cells are searched,
// and the lowest matching index among all of them wins. From 2^20 on two
// floats differ by far more than a tolerance, so only equal values match:
// such a value's cell is its bit pattern, far beyond every other cell.
//
// A group starts keyed on position alone, with cells a few times finer than
// the typical spacing of its positions. The corners that share a position
// (one per face around it, each with its own tangent) are told apart by a
// fingerprint kept in every entry: the low bits of the fine cells (4096 per
// unit, about 2.4 tolerances wide) of tangent, normal and texture
// coordinate. Values less than a tolerance apart lie in fine cells at most
// one apart, so each field of a match's fingerprint is within one of the
// corner's; nearly every entry that cannot match is ruled out without
// reading the vertex.
//
// The index counts the entries its look-ups read. When they read many more
// than that, as when thousands of corners share a position and differ only
// in texture coordinate or normal, it chooses anew which components to key
// and how finely. A sample of the stored vertices, some drawn evenly and
// some from the runs the latest costly look-ups read, gives for each choice
// the mean number of cells a look-up searches and of stored vertices in a
// vertex's own cell; their product estimates the entries read. Each
// component in turn takes its cheapest choice with the others fixed, and
// every vertex is filed again under the new cells. The wasted reads must
// first outweigh that re-filing, so it costs at most a fixed share of the
// look-ups' own work.
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

// A corner ready for look-up: its cells, hashes and fingerprint, found ahead
// so that the table's memory can be fetched while earlier corners are looked
// up.
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
// group: position cells are made about four times finer than that. An index
// is reset before its first look-up.
void resetVertexIndex(VertexIndex& index, size_t expectedVertices, float positionSpacing = 0.0f);

// Fills probe's cells, hashes and fingerprint from probe.vertex and starts
// fetching the table slots it will search first.
void fillProbe(const VertexIndex& index, VertexProbe& probe);

// Index of the first vertex of the group's lists (positions, tangents,
// normals, texCoords, equally long, entry i being vertex i) that matches the
// probe's vertex; when none does, the vertex is appended to the lists and its
// new index returned. A vertex with a NaN or infinite component can never
// match, so it is always new. A probe filled before the index last changed
// its cells is filled again first.
uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, VertexProbe& probe);
