// The vertex index of a mesh group: an open-addressing hash table (linear
// probing) over grid cells of the keyed components. See vertex_index.h for
// why searching the cells of candidate +- tolerance finds every match.
//
// Cell c of a component holds the values that round to c at its cell size.
// Rounding to double and to cells never reverses order, so a stored value
// strictly within the tolerance of the candidate has its cell between the
// cells of candidate - tolerance and candidate + tolerance, all computed the
// same way in double. Huge values share the outermost cells instead of
// overflowing.
#include "geometry/vertex_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/fresh_memory.h"
#include "geometry/mesh.h"

namespace {

constexpr int keyed = VertexProbe::keyedComponents;
constexpr double positionCellsPerUnit = 256.0;  // cells 2^-8 wide, about 39 tolerances
constexpr double directionCellsPerUnit = 128.0; // cells 2^-7 wide, about 78 tolerances
constexpr double outermostCell = 1073741824.0;  // 2^30

constexpr double cellsPerUnit[keyed] = {
    positionCellsPerUnit,  positionCellsPerUnit,  positionCellsPerUnit,
    directionCellsPerUnit, directionCellsPerUnit, directionCellsPerUnit,
    directionCellsPerUnit, directionCellsPerUnit, directionCellsPerUnit};

// The cell of a finite value: floor(value x cells per unit + 1/2), clamped.
// Every step is monotonic, which the search relies on.
int32_t cellOf(double value, double perUnit) {
    double scaled = value * perUnit + 0.5;
    scaled = std::clamp(scaled, -outermostCell, outermostCell);
    auto cell = static_cast<int32_t>(scaled); // rounds toward zero
    return cell - (static_cast<double>(cell) > scaled ? 1 : 0);
}

void keyedValues(const GroupVertex& v, float (&values)[keyed]) {
    values[0] = v.position.x;
    values[1] = v.position.y;
    values[2] = v.position.z;
    values[3] = v.tangent.x;
    values[4] = v.tangent.y;
    values[5] = v.tangent.z;
    values[6] = v.normal.x;
    values[7] = v.normal.y;
    values[8] = v.normal.z;
}

// Independent products, so the nine multiplications overlap, then one mix.
uint64_t hashCells(const int32_t (&cells)[keyed]) {
    static constexpr uint64_t factors[keyed] = {
        0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
        0xD6E8FEB86659FD93ull, 0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull,
        0x85EBCA77C2B2AE63ull, 0x27D4EB2F165667C5ull, 0x94D049BB133111EBull};
    uint64_t h = 0;
    for (int k = 0; k < keyed; ++k) {
        h += static_cast<uint64_t>(static_cast<uint32_t>(cells[k])) * factors[k];
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

bool isFiniteVertex(const GroupVertex& v) {
    // x - x is 0 for finite x and NaN otherwise; one test for all eleven.
    const float sum = (v.position.x - v.position.x) + (v.position.y - v.position.y) +
                      (v.position.z - v.position.z) + (v.tangent.x - v.tangent.x) +
                      (v.tangent.y - v.tangent.y) + (v.tangent.z - v.tangent.z) +
                      (v.normal.x - v.normal.x) + (v.normal.y - v.normal.y) +
                      (v.normal.z - v.normal.z) + (v.texCoord.u - v.texCoord.u) +
                      (v.texCoord.v - v.texCoord.v);
    return sum == 0.0f;
}

bool near(float stored, float candidate) {
    return std::fabs(stored - candidate) < vertexMatchTolerance;
}

bool storedVertexMatches(const ObjData& lists, uint32_t i, const GroupVertex& v) {
    const Vector3& p = lists.positions[i];
    if (!near(p.x, v.position.x) || !near(p.y, v.position.y) || !near(p.z, v.position.z)) {
        return false;
    }
    const Vector3& t = lists.tangents[i];
    if (!near(t.x, v.tangent.x) || !near(t.y, v.tangent.y) || !near(t.z, v.tangent.z)) {
        return false;
    }
    const Vector3& n = lists.normals[i];
    if (!near(n.x, v.normal.x) || !near(n.y, v.normal.y) || !near(n.z, v.normal.z)) {
        return false;
    }
    const TexCoord& c = lists.texCoords[i];
    return near(c.u, v.texCoord.u) && near(c.v, v.texCoord.v);
}

// Lowest of best and the matching vertices filed under this hash. The whole
// probe run is read: after a table has grown, entries of one cell need not
// lie in ascending order.
uint32_t searchCell(const VertexIndex& index, const ObjData& lists, const GroupVertex& v,
                    uint64_t hash, uint32_t best) {
    const auto tag = static_cast<uint32_t>(hash >> 32);
    for (size_t i = hash & index.mask;; i = (i + 1) & index.mask) {
        const VertexIndex::Slot& slot = index.slots[i];
        if (slot.vertex == VertexIndex::emptySlot) {
            return best;
        }
        if (slot.tag == tag && slot.vertex < best && storedVertexMatches(lists, slot.vertex, v)) {
            best = slot.vertex;
        }
    }
}

void fileVertex(VertexIndex& index, uint64_t hash, uint32_t vertex) {
    size_t i = hash & index.mask;
    while (index.slots[i].vertex != VertexIndex::emptySlot) {
        i = (i + 1) & index.mask;
    }
    index.slots[i] = {static_cast<uint32_t>(hash >> 32), vertex};
    ++index.entries;
}

// Files every finite vertex of the lists again in a table of slotCount
// slots: for a table that has grown too full, or that was never prepared.
void rebuild(VertexIndex& index, const ObjData& lists, size_t slotCount) {
    index.slots.assign(slotCount, {0, VertexIndex::emptySlot});
    index.mask = slotCount - 1;
    index.entries = 0;
    for (size_t i = 0; i < lists.positions.size(); ++i) {
        VertexProbe probe;
        probe.vertex = {lists.positions[i], lists.tangents[i], lists.normals[i],
                        lists.texCoords[i]};
        prepareProbe(index, probe);
        if (probe.finite) {
            fileVertex(index, probe.hash, static_cast<uint32_t>(i));
        }
    }
}

// At most this full, which keeps probe runs short.
bool isTooFull(size_t entries, size_t slotCount) { return entries * 4 > slotCount * 3; }

} // namespace

bool verticesMatch(const GroupVertex& stored, const GroupVertex& candidate) {
    return near(stored.position.x, candidate.position.x) &&
           near(stored.position.y, candidate.position.y) &&
           near(stored.position.z, candidate.position.z) &&
           near(stored.tangent.x, candidate.tangent.x) &&
           near(stored.tangent.y, candidate.tangent.y) &&
           near(stored.tangent.z, candidate.tangent.z) &&
           near(stored.normal.x, candidate.normal.x) &&
           near(stored.normal.y, candidate.normal.y) &&
           near(stored.normal.z, candidate.normal.z) &&
           near(stored.texCoord.u, candidate.texCoord.u) &&
           near(stored.texCoord.v, candidate.texCoord.v);
}

void resetVertexIndex(VertexIndex& index, size_t expectedVertices) {
    size_t slotCount = 16;
    while (isTooFull(expectedVertices, slotCount)) {
        slotCount *= 2;
    }
    if (index.slots.size() < slotCount) {
        std::vector<VertexIndex::Slot>().swap(index.slots);
        index.slots.reserve(slotCount);
        prepareElements(index.slots, 0, slotCount);
        index.slots.resize(slotCount);
    }
    std::fill_n(index.slots.begin(), slotCount, VertexIndex::Slot{0, VertexIndex::emptySlot});
    index.mask = slotCount - 1;
    index.entries = 0;
}

void prepareProbe(const VertexIndex& index, VertexProbe& probe) {
    probe.finite = isFiniteVertex(probe.vertex);
    if (!probe.finite) {
        return;
    }
    float values[keyed];
    keyedValues(probe.vertex, values);
    const double tolerance = vertexMatchTolerance;
    probe.oneCell = true;
    for (int k = 0; k < keyed; ++k) {
        const double value = values[k];
        const double perUnit = cellsPerUnit[k];
        const double scaled = value * perUnit + 0.5;
        // Well inside a cell, value - tolerance and value + tolerance lie in
        // the same cell: scaled is exact here, and the rounding in computing
        // their cells is below 2^-21 of a cell, well within the margin.
        const double margin = tolerance * perUnit + 0x1p-20;
        if (std::fabs(scaled) < 0x1p29) {
            auto cell = static_cast<int32_t>(scaled); // rounds toward zero
            cell -= static_cast<double>(cell) > scaled ? 1 : 0;
            const double fraction = scaled - cell;
            if (fraction >= margin && fraction < 1.0 - margin) {
                probe.cells[k] = cell;
                probe.low[k] = cell;
                probe.high[k] = cell;
                continue;
            }
        }
        probe.cells[k] = cellOf(value, perUnit);
        probe.low[k] = cellOf(value - tolerance, perUnit);
        probe.high[k] = cellOf(value + tolerance, perUnit);
        probe.oneCell = probe.oneCell && probe.low[k] == probe.high[k];
    }
    probe.hash = hashCells(probe.cells);
    if (!index.slots.empty()) {
        __builtin_prefetch(&index.slots[probe.hash & index.mask]);
    }
}

uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const VertexProbe& probe) {
    if (index.slots.empty()) {
        rebuild(index, lists, 16);
    }
    const GroupVertex& vertex = probe.vertex;
    if (probe.finite) {
        uint32_t best = VertexIndex::emptySlot;
        if (probe.oneCell) {
            best = searchCell(index, lists, vertex, probe.hash, best);
        } else {
            // Every combination of each component's cells, like an odometer.
            int32_t cells[keyed];
            std::copy(std::begin(probe.low), std::end(probe.low), std::begin(cells));
            for (;;) {
                best = searchCell(index, lists, vertex, hashCells(cells), best);
                int k = 0;
                while (k < keyed && cells[k] == probe.high[k]) {
                    cells[k] = probe.low[k];
                    ++k;
                }
                if (k == keyed) {
                    break;
                }
                ++cells[k];
            }
        }
        if (best != VertexIndex::emptySlot) {
            return best;
        }
        if (isTooFull(index.entries + 1, index.mask + 1)) {
            rebuild(index, lists, (index.mask + 1) * 2);
        }
    }
    const auto added = static_cast<uint32_t>(lists.positions.size());
    lists.positions.push_back(vertex.position);
    lists.tangents.push_back(vertex.tangent);
    lists.normals.push_back(vertex.normal);
    lists.texCoords.push_back(vertex.texCoord);
    if (probe.finite) {
        fileVertex(index, probe.hash, added);
    }
    return added;
}

uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const GroupVertex& vertex) {
    VertexProbe probe;
    probe.vertex = vertex;
    prepareProbe(index, probe);
    return findOrAddVertex(index, lists, probe);
}
