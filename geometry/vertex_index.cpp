// The vertex index of a mesh group: an open-addressing hash table (linear
// probing) over grid cells of the position, with a fingerprint of the other
// components in every entry. See vertex_index.h for the idea.
//
// The cell of a value x at n cells per unit (a power of two) is
// trunc(clamp(x) n), clamp limiting x to +-2^18 so that every cell number
// fits 32 bits. No step reverses order (the cells around zero are merely
// twice as wide). The match test fl(|s - c|) < t implies the exact
// |s - c| < t, since rounding never crosses the float t; then
// c - t < s < c + t, and rounding those bounds to floats keeps
// fl(c - t) <= s <= fl(c + t), s being a float. So a matching stored
// position's cell lies between the cells of fl(c - t) and fl(c + t).
//
// The fingerprint holds, in eight fields, the low bits of the fine cells
// (4096 per unit, about 2.4 tolerances wide) of tangent x, y, z, normal x,
// y, z and texture coordinate u, v. Values less than a tolerance apart lie in
// fine cells at most one apart, so each field of a match's fingerprint is
// within one of the corner's, modulo the field's size.
#include "geometry/vertex_index.h"

#include <algorithm>
#include <cmath>

#include "geometry/mesh.h"
#include "resources/fresh_memory.h"

namespace {

constexpr float fineCellsPerUnit = 4096.0f;
constexpr float largestValue = 262144.0f; // 2^18
constexpr int smallestCellExponent = -10; // position cells 2^-10 wide at the least
constexpr int largestCellExponent = -2;   // and 2^-2 at the most
constexpr float defaultPositionCellsPerUnit = 256.0f;

int32_t cellOf(float value, float cellsPerUnit) {
    return static_cast<int32_t>(std::clamp(value, -largestValue, largestValue) * cellsPerUnit);
}

// Fingerprint fields: tangent x, y, z with four bits each (corners around a
// position differ mostly there), normal x, y, z with two, u and v with
// three; every field has a guard bit above it.
struct Field {
    int shift;
    int bits;
};
constexpr Field fields[8] = {{0, 4}, {5, 4}, {10, 4}, {15, 2}, {18, 2}, {21, 2}, {24, 3}, {28, 3}};

constexpr uint32_t fieldMask(uint32_t perField(const Field&)) {
    uint32_t mask = 0;
    for (const Field& f : fields) {
        mask |= perField(f);
    }
    return mask;
}
constexpr uint32_t valueBits =
    fieldMask([](const Field& f) { return ((1u << f.bits) - 1) << f.shift; });
constexpr uint32_t guardBits = fieldMask([](const Field& f) { return 1u << (f.shift + f.bits); });
constexpr uint32_t lowestBits = fieldMask([](const Field& f) { return 1u << f.shift; });
constexpr uint32_t nearTop =
    fieldMask([](const Field& f) { return ((1u << f.bits) - 3) << f.shift; });
static_assert((valueBits & guardBits) == 0 && fields[7].shift + fields[7].bits < 32);

uint32_t fineField(float value, const Field& field) {
    const auto cell = static_cast<uint32_t>(cellOf(value, fineCellsPerUnit));
    return (cell & ((1u << field.bits) - 1)) << field.shift;
}

uint32_t fingerprintOf(const GroupVertex& v) {
    return fineField(v.tangent.x, fields[0]) | fineField(v.tangent.y, fields[1]) |
           fineField(v.tangent.z, fields[2]) | fineField(v.normal.x, fields[3]) |
           fineField(v.normal.y, fields[4]) | fineField(v.normal.z, fields[5]) |
           fineField(v.texCoord.u, fields[6]) | fineField(v.texCoord.v, fields[7]);
}

// Whether every field of a is within one of b's, modulo the field's size.
bool fingerprintsClose(uint32_t a, uint32_t b) {
    // The guard bits keep each subtraction and addition within its field:
    // the difference, plus one, must be at most 2.
    const uint32_t difference = ((a | guardBits) - b) & valueBits;
    const uint32_t shifted = (difference + lowestBits) & valueBits;
    return ((shifted + nearTop) & guardBits) == 0;
}

uint64_t hashCells(int32_t x, int32_t y, int32_t z) {
    uint64_t h = static_cast<uint64_t>(static_cast<uint32_t>(x)) * 0x9E3779B97F4A7C15ull +
                 static_cast<uint64_t>(static_cast<uint32_t>(y)) * 0xC2B2AE3D27D4EB4Full +
                 static_cast<uint64_t>(static_cast<uint32_t>(z)) * 0x165667B19E3779F9ull;
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

bool isFiniteVertex(const GroupVertex& v) {
    // x - x is 0 for finite x and NaN otherwise; one test for all eleven.
    const float sum =
        (v.position.x - v.position.x) + (v.position.y - v.position.y) +
        (v.position.z - v.position.z) + (v.tangent.x - v.tangent.x) + (v.tangent.y - v.tangent.y) +
        (v.tangent.z - v.tangent.z) + (v.normal.x - v.normal.x) + (v.normal.y - v.normal.y) +
        (v.normal.z - v.normal.z) + (v.texCoord.u - v.texCoord.u) + (v.texCoord.v - v.texCoord.v);
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

// Lowest of best and the matching vertices in the probe run from this hash's
// slot. The whole run is read: entries of different cells share runs, and
// after a table has grown one cell's entries need not be in ascending order.
uint32_t searchRun(const VertexIndex& index, const ObjData& lists, const VertexProbe& probe,
                   uint64_t hash, uint32_t best) {
    for (size_t i = hash & index.mask;; i = (i + 1) & index.mask) {
        const VertexIndex::Slot& slot = index.slots[i];
        if (slot.vertex == VertexIndex::emptySlot) {
            return best;
        }
        if (slot.vertex < best && fingerprintsClose(slot.fingerprint, probe.fingerprint) &&
            storedVertexMatches(lists, slot.vertex, probe.vertex)) {
            best = slot.vertex;
        }
    }
}

// Calls visit with the hash of every cell between the probe's low and high.
template <typename Visit>
void forEachCell(const VertexProbe& probe, Visit visit) {
    for (int64_t x = probe.low[0]; x <= probe.high[0]; ++x) {
        for (int64_t y = probe.low[1]; y <= probe.high[1]; ++y) {
            for (int64_t z = probe.low[2]; z <= probe.high[2]; ++z) {
                visit(hashCells(static_cast<int32_t>(x), static_cast<int32_t>(y),
                                static_cast<int32_t>(z)));
            }
        }
    }
}

void fileVertex(VertexIndex& index, uint64_t hash, uint32_t fingerprint, uint32_t vertex) {
    size_t i = hash & index.mask;
    while (index.slots[i].vertex != VertexIndex::emptySlot) {
        i = (i + 1) & index.mask;
    }
    index.slots[i] = {fingerprint, vertex};
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
            fileVertex(index, probe.ownHash, probe.fingerprint, static_cast<uint32_t>(i));
        }
    }
}

// At most 60 % full, which keeps probe runs short (the corners around a
// position share a cell and so lie in one run already) and the table within
// about 13 bytes per vertex.
bool isTooFull(size_t entries, size_t slotCount) {
    return entries * 5 > slotCount * 3;
}

} // namespace

bool verticesMatch(const GroupVertex& stored, const GroupVertex& candidate) {
    return near(stored.position.x, candidate.position.x) &&
           near(stored.position.y, candidate.position.y) &&
           near(stored.position.z, candidate.position.z) &&
           near(stored.tangent.x, candidate.tangent.x) &&
           near(stored.tangent.y, candidate.tangent.y) &&
           near(stored.tangent.z, candidate.tangent.z) &&
           near(stored.normal.x, candidate.normal.x) && near(stored.normal.y, candidate.normal.y) &&
           near(stored.normal.z, candidate.normal.z) &&
           near(stored.texCoord.u, candidate.texCoord.u) &&
           near(stored.texCoord.v, candidate.texCoord.v);
}

void resetVertexIndex(VertexIndex& index, size_t expectedVertices, float positionSpacing) {
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
    index.positionCellsPerUnit = defaultPositionCellsPerUnit;
    if (positionSpacing > 0.0f && std::isfinite(positionSpacing)) {
        const int exponent = std::clamp(std::ilogb(positionSpacing / 2.0f), smallestCellExponent,
                                        largestCellExponent);
        index.positionCellsPerUnit = std::ldexp(1.0f, -exponent);
    }
}

void prepareProbe(const VertexIndex& index, VertexProbe& probe) {
    const GroupVertex& v = probe.vertex;
    probe.finite = isFiniteVertex(v);
    if (!probe.finite) {
        return;
    }
    const float perUnit = index.positionCellsPerUnit;
    const float t = vertexMatchTolerance;
    const float position[3] = {v.position.x, v.position.y, v.position.z};
    int32_t own[3];
    bool oneCell = true;
    for (int k = 0; k < 3; ++k) {
        own[k] = cellOf(position[k], perUnit);
        probe.low[k] = cellOf(position[k] - t, perUnit);
        probe.high[k] = cellOf(position[k] + t, perUnit);
        oneCell = oneCell && probe.low[k] == probe.high[k];
    }
    probe.ownHash = hashCells(own[0], own[1], own[2]);
    probe.fingerprint = fingerprintOf(v);

    probe.hashCount = 0;
    if (oneCell) {
        probe.hashes[probe.hashCount++] = probe.ownHash;
    } else {
        int64_t combinations = 1;
        for (int k = 0; k < 3; ++k) {
            combinations *= int64_t{probe.high[k]} - probe.low[k] + 1;
        }
        if (combinations <= VertexProbe::maxPrefetched) {
            forEachCell(probe, [&probe](uint64_t hash) { probe.hashes[probe.hashCount++] = hash; });
        }
    }
    if (!index.slots.empty()) {
        for (int h = 0; h < probe.hashCount; ++h) {
            __builtin_prefetch(&index.slots[probe.hashes[h] & index.mask]);
        }
    }
}

uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const VertexProbe& probe) {
    if (index.slots.empty()) {
        rebuild(index, lists, 16);
    }
    if (probe.finite) {
        uint32_t best = VertexIndex::emptySlot;
        if (probe.hashCount > 0) {
            for (int h = 0; h < probe.hashCount; ++h) {
                best = searchRun(index, lists, probe, probe.hashes[h], best);
            }
        } else {
            forEachCell(probe,
                        [&](uint64_t hash) { best = searchRun(index, lists, probe, hash, best); });
        }
        if (best != VertexIndex::emptySlot) {
            return best;
        }
        if (isTooFull(index.entries + 1, index.mask + 1)) {
            rebuild(index, lists, (index.mask + 1) * 2);
        }
    }
    const auto added = static_cast<uint32_t>(lists.positions.size());
    const GroupVertex& vertex = probe.vertex;
    lists.positions.push_back(vertex.position);
    lists.tangents.push_back(vertex.tangent);
    lists.normals.push_back(vertex.normal);
    lists.texCoords.push_back(vertex.texCoord);
    if (probe.finite) {
        fileVertex(index, probe.ownHash, probe.fingerprint, added);
    }
    return added;
}

uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, const GroupVertex& vertex) {
    VertexProbe probe;
    probe.vertex = vertex;
    prepareProbe(index, probe);
    return findOrAddVertex(index, lists, probe);
}
