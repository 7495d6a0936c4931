// The vertex index of a mesh group; vertex_index.h gives the account.
#include "geometry/vertex_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "geometry/mesh.h"
#include "resources/fresh_memory.h"

namespace {

constexpr float fineCellsPerUnit = 4096.0f;
constexpr float largestValue = 262144.0f;     // 2^18
constexpr int smallestPositionExponent = -10; // position cells 2^-10 wide at the least
constexpr int largestPositionExponent = -2;   // and 2^-2 at the most
constexpr int defaultPositionExponent = -8;
constexpr int finestExponent = -13; // 1.2 tolerances: only the next cell is in reach
constexpr int coarsestExponent = 3;
constexpr int notKeyed = coarsestExponent - finestExponent + 1; // the last choice
constexpr int choiceCount = notKeyed + 1;
constexpr float linearLimit = 1048576.0f; // 2^20
constexpr int64_t firstHugeCell = int64_t{1} << 40;
constexpr double cellBias = 0x1p35;
constexpr double roundingMargin = 0x1p-15;

// Entries a look-up may read before it counts as wasteful; ordinary models
// read about four. Wasted reads must exceed minimumWaste plus
// wastePerVertex per stored vertex before the cells are chosen anew.
constexpr int64_t readAllowance = 12;
constexpr int64_t minimumWaste = int64_t{1} << 20;
constexpr int64_t wastePerVertex = 16;
constexpr size_t sampleSize = 256;
constexpr size_t costlySampleSize = 32; // per costly corner
// A choice of cells replaces the present one only when it is estimated to
// read this share of the entries or fewer: the estimates come from a small
// sample, and every change files all vertices again.
constexpr double clearGain = 0.95;
// Each component's best choice depends on the others', so rounds repeat
// until none changes; this bounds the work where choices keep trading places.
constexpr int choiceRounds = 4;
// Slots a searched cell costs beyond the vertices sharing it: the empty slot
// that ends its probe run, and entries of other cells within the run.
constexpr double slotsPerCellSearched = 2.0;

uint64_t nextRandom(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t mix(uint64_t h) {
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

static_assert(sizeof(GroupVertex) == vertexComponents * sizeof(float));

void componentsOf(const GroupVertex& v, float out[vertexComponents]) {
    std::memcpy(out, &v, sizeof v);
}

// A value's cell along one component, and the cells across the borders it
// lies within a tolerance of: 1 for the one below, 2 for the one above.
struct Cell {
    int64_t number;
    int near;
};

// Along component k of the cells.
[[gnu::always_inline]] inline Cell cellOf(const VertexCells& cells, int k, float value) {
    if (!(std::fabs(value) < linearLimit)) {
        uint32_t bits;
        const float magnitude = std::fabs(value);
        std::memcpy(&bits, &magnitude, sizeof bits);
        const int64_t number = firstHugeCell + bits;
        return {value < 0.0f ? -number : number, 0};
    }
    // The offset includes cellBias, which keeps y positive: truncation is
    // then floor.
    const double y = static_cast<double>(value) * cells.cellsPerUnit[k] + cells.offset[k];
    const auto number = static_cast<int64_t>(y);
    const double place = y - static_cast<double>(number);
    const double reach = cells.reach[k];
    return {number, (place < reach ? 1 : 0) | (place >= 1.0 - reach ? 2 : 0)};
}

// The cells searched along the component: the value's own and those across.
int cellsAlong(const Cell& cell) {
    return 1 + (cell.near & 1) + (cell.near >> 1);
}

// Keys component k with cells 2^exponent wide, or not at all.
void setChoice(VertexCells& cells, int k, int exponent, bool keyed) {
    cells.cellsPerUnit[k] = std::ldexp(1.0, -exponent);
    cells.reach[k] =
        static_cast<double>(vertexMatchTolerance) * cells.cellsPerUnit[k] + roundingMargin;
    uint8_t* const end = cells.keyed + cells.keyedCount;
    uint8_t* const place = std::lower_bound(cells.keyed, end, static_cast<uint8_t>(k));
    const bool present = place != end && *place == k;
    if (keyed && !present) {
        std::copy_backward(place, end, end + 1);
        *place = static_cast<uint8_t>(k);
        ++cells.keyedCount;
    } else if (!keyed && present) {
        std::copy(place + 1, end, place);
        --cells.keyedCount;
    }
}

int choiceOf(const VertexCells& cells, int k) {
    if (!std::binary_search(cells.keyed, cells.keyed + cells.keyedCount, k)) {
        return notKeyed;
    }
    return -std::ilogb(cells.cellsPerUnit[k]) - finestExponent;
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
    const auto cell = static_cast<uint32_t>(
        static_cast<int32_t>(std::clamp(value, -largestValue, largestValue) * fineCellsPerUnit));
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

// x - x is 0 for finite x and NaN otherwise; one test for many values, in
// two sums that add up side by side.
bool isFiniteVertex(const GroupVertex& v) {
    const auto zero = [](float x) { return x - x; };
    const float first = zero(v.position.x) + zero(v.position.y) + zero(v.position.z) +
                        zero(v.tangent.x) + zero(v.tangent.y) + zero(v.tangent.z);
    const float second = zero(v.normal.x) + zero(v.normal.y) + zero(v.normal.z) +
                         zero(v.texCoord.u) + zero(v.texCoord.v);
    return first + second == 0.0f;
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

GroupVertex storedVertex(const ObjData& lists, size_t i) {
    return {lists.positions[i], lists.tangents[i], lists.normals[i], lists.texCoords[i]};
}

// Lowest of best and the matching vertices in the probe run from this hash's
// slot; reads counts the slots read. The whole run is read: entries of
// different cells share runs, and after a table has grown one cell's entries
// need not be in ascending order.
uint32_t searchRun(const VertexIndex& index, const ObjData& lists, const VertexProbe& probe,
                   uint64_t hash, uint32_t best, int64_t& reads) {
    const size_t start = hash & index.mask;
    for (size_t i = start;; i = (i + 1) & index.mask) {
        const VertexIndex::Slot& slot = index.slots[i];
        if (slot.vertex == VertexIndex::emptySlot) {
            reads += static_cast<int64_t>(((i - start) & index.mask) + 1);
            return best;
        }
        if (slot.vertex < best && fingerprintsClose(slot.fingerprint, probe.fingerprint) &&
            storedVertexMatches(lists, slot.vertex, probe.vertex)) {
            best = slot.vertex;
        }
    }
}

// Calls visit with the hash of every cell to search: in each component near
// a border, the probe's own cell or a neighbour across it.
template <typename Visit>
void forEachCell(const VertexProbe& probe, Visit visit) {
    int choice[vertexComponents] = {};
    for (;;) {
        uint64_t sum = probe.cellSum;
        for (int a = 0; a < probe.bordersNear; ++a) {
            sum += choice[a] == 0 ? 0 : probe.steps[a][choice[a] - 1];
        }
        visit(mix(sum));
        int a = 0;
        while (a < probe.bordersNear && choice[a] == probe.stepCount[a]) {
            choice[a++] = 0;
        }
        if (a == probe.bordersNear) {
            return;
        }
        ++choice[a];
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
// slots: for a table that has grown too full, or whose cells have changed.
void rebuild(VertexIndex& index, const ObjData& lists, size_t slotCount) {
    index.slots.assign(slotCount, {0, VertexIndex::emptySlot});
    index.mask = slotCount - 1;
    index.entries = 0;
    VertexProbe probe;
    for (size_t i = 0; i < lists.positions.size(); ++i) {
        probe.vertex = storedVertex(lists, i);
        fillProbe(index, probe);
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

// Stored vertices sampled for choosing the cells of component k, with each
// one's cell sum and number of cells searched over the other keyed
// components.
struct Sample {
    std::vector<std::array<float, vertexComponents>> values;
    double storedPerSampled = 1.0;
    std::vector<uint64_t> sums;
    std::vector<double> spreads;
    std::vector<uint64_t> keys;
};

// Estimated entries a look-up reads with component k keyed (or not) in cells.
double estimateReads(Sample& sample, const VertexCells& cells, int k, bool keyed) {
    const size_t n = sample.values.size();
    double spread = 0.0;
    for (size_t i = 0; i < n; ++i) {
        sample.keys[i] = sample.sums[i];
        double cellsSearched = sample.spreads[i];
        if (keyed) {
            const Cell cell = cellOf(cells, k, sample.values[i][k]);
            sample.keys[i] += cells.multiplier[k] * static_cast<uint64_t>(cell.number);
            cellsSearched *= cellsAlong(cell);
        }
        spread += cellsSearched;
    }
    std::sort(sample.keys.begin(), sample.keys.end());
    double pairs = 0.0;
    for (size_t i = 0, run = 1; i + 1 < n; ++i) {
        run = sample.keys[i + 1] == sample.keys[i] ? run + 1 : 1;
        pairs += static_cast<double>(run - 1);
    }
    const double sharing = 2.0 * pairs / static_cast<double>(n) * sample.storedPerSampled;
    return spread / static_cast<double>(n) * (slotsPerCellSearched + sharing);
}

// Chooses the keyed components and their widths anew from a sample of the
// stored vertices, and files every vertex again when they change. The sample
// is drawn evenly from the lists, and from the runs the costly corners read,
// so that a crowd of vertices that many look-ups meet is seen however small
// a share of the group it is.
void chooseCells(VertexIndex& index, const ObjData& lists) {
    const size_t stored = lists.positions.size();
    const size_t wanted = std::min(stored, sampleSize);
    std::vector<uint32_t> chosen;
    for (size_t j = 0; j < wanted; ++j) {
        // One vertex from each of wanted equal stretches of the lists.
        chosen.push_back(
            static_cast<uint32_t>((j * stored + nextRandom(index.randomState) % stored) / wanted));
    }
    const uint32_t costly = std::min(index.costlyCount, VertexIndex::costlyKept);
    for (uint32_t c = 0; c < costly; ++c) {
        VertexProbe probe;
        probe.vertex = index.costlyCorners[c];
        fillProbe(index, probe);
        size_t taken = 0;
        forEachCell(probe, [&](uint64_t hash) {
            for (size_t i = hash & index.mask;
                 index.slots[i].vertex != VertexIndex::emptySlot && taken < costlySampleSize;
                 i = (i + 1) & index.mask, ++taken) {
                chosen.push_back(index.slots[i].vertex);
            }
        });
    }
    index.costlyCount = 0;
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    Sample sample;
    for (const uint32_t i : chosen) {
        const GroupVertex v = storedVertex(lists, i);
        if (isFiniteVertex(v)) {
            componentsOf(v, sample.values.emplace_back().data());
        }
    }
    const size_t n = sample.values.size();
    if (n < 2) {
        return;
    }
    sample.storedPerSampled = static_cast<double>(stored) / static_cast<double>(n);
    sample.sums.resize(n);
    sample.spreads.resize(n);
    sample.keys.resize(n);

    VertexCells cells = index.cells;
    for (int round = 0, changed = 1; changed && round < choiceRounds; ++round) {
        changed = 0;
        for (int k = 0; k < vertexComponents; ++k) {
            for (size_t i = 0; i < n; ++i) {
                sample.sums[i] = 0;
                sample.spreads[i] = 1.0;
                for (int j = 0; j < cells.keyedCount; ++j) {
                    const int other = cells.keyed[j];
                    if (other != k) {
                        const Cell cell = cellOf(cells, other, sample.values[i][other]);
                        sample.sums[i] +=
                            cells.multiplier[other] * static_cast<uint64_t>(cell.number);
                        sample.spreads[i] *= cellsAlong(cell);
                    }
                }
            }
            const int current = choiceOf(cells, k);
            int best = current;
            double bestReads = estimateReads(sample, cells, k, current != notKeyed);
            for (int choice = 0; choice < choiceCount; ++choice) {
                setChoice(cells, k, finestExponent + choice, choice != notKeyed);
                const double reads = estimateReads(sample, cells, k, choice != notKeyed);
                if (reads < clearGain * bestReads) {
                    best = choice;
                    bestReads = reads;
                }
            }
            setChoice(cells, k, finestExponent + best, best != notKeyed);
            changed |= best != current;
        }
    }
    bool same = cells.keyedCount == index.cells.keyedCount;
    for (int j = 0; same && j < cells.keyedCount; ++j) {
        const int k = cells.keyed[j];
        same = index.cells.keyed[j] == k && index.cells.cellsPerUnit[k] == cells.cellsPerUnit[k];
    }
    if (!same) {
        cells.version = index.cells.version + 1;
        index.cells = cells;
        rebuild(index, lists, index.mask + 1);
    }
}

} // namespace

uint64_t unpredictableNumber() {
    std::random_device device;
    return (static_cast<uint64_t>(device()) << 32) ^ device();
}

void resetVertexIndex(VertexIndex& index, size_t expectedVertices, float positionSpacing) {
    size_t slotCount = 16;
    while (isTooFull(expectedVertices, slotCount)) {
        slotCount *= 2;
    }
    if (index.slots.size() < slotCount) {
        std::vector<VertexIndex::Slot>().swap(index.slots);
        index.slots.reserve(slotCount);
        populateElements(index.slots, 0, slotCount);
        index.slots.resize(slotCount);
    }
    std::fill_n(index.slots.begin(), slotCount, VertexIndex::Slot{0, VertexIndex::emptySlot});
    index.mask = slotCount - 1;
    index.entries = 0;
    index.readCredit = 0;
    index.costlyCount = 0;

    int positionExponent = defaultPositionExponent;
    if (positionSpacing > 0.0f && std::isfinite(positionSpacing)) {
        positionExponent = std::clamp(std::ilogb(positionSpacing / 2.0f), smallestPositionExponent,
                                      largestPositionExponent);
    }
    VertexCells& cells = index.cells;
    for (int k = 0; k < vertexComponents; ++k) {
        cells.offset[k] =
            cellBias + static_cast<double>(nextRandom(index.randomState) >> 11) * 0x1p-53;
        cells.multiplier[k] = nextRandom(index.randomState) | 1;
        setChoice(cells, k, positionExponent, k < 3);
    }
    ++cells.version;
}

void fillProbe(const VertexIndex& index, VertexProbe& probe) {
    const GroupVertex& v = probe.vertex;
    const VertexCells& cells = index.cells;
    probe.cellsVersion = cells.version;
    probe.finite = isFiniteVertex(v);
    if (!probe.finite) {
        return;
    }
    // The keyed components ascend: those beyond the position are read only
    // when the last one keyed is.
    float values[vertexComponents] = {v.position.x, v.position.y, v.position.z};
    if (cells.keyedCount > 0 && cells.keyed[cells.keyedCount - 1] >= 3) {
        componentsOf(v, values);
    }
    uint64_t sum = 0;
    int bordersNear = 0;
    int combinations = 1;
    for (int j = 0; j < cells.keyedCount; ++j) {
        const int k = cells.keyed[j];
        const uint64_t step = cells.multiplier[k];
        const Cell cell = cellOf(cells, k, values[k]);
        sum += step * static_cast<uint64_t>(cell.number);
        if (cell.near != 0) {
            uint8_t& count = probe.stepCount[bordersNear];
            count = 0;
            if (cell.near & 1) {
                probe.steps[bordersNear][count++] = 0 - step;
            }
            if (cell.near & 2) {
                probe.steps[bordersNear][count++] = step;
            }
            combinations *= 1 + count;
            ++bordersNear;
        }
    }
    probe.cellSum = sum;
    probe.bordersNear = bordersNear;
    probe.ownHash = mix(sum);
    probe.fingerprint = fingerprintOf(v);

    probe.hashCount = 0;
    if (bordersNear == 0) {
        probe.hashes[probe.hashCount++] = probe.ownHash;
    } else if (combinations <= VertexProbe::maxPrefetched) {
        forEachCell(probe, [&probe](uint64_t hash) { probe.hashes[probe.hashCount++] = hash; });
    }
    for (int h = 0; h < probe.hashCount; ++h) {
        __builtin_prefetch(&index.slots[probe.hashes[h] & index.mask]);
    }
}

uint32_t findOrAddVertex(VertexIndex& index, ObjData& lists, VertexProbe& probe) {
    if (probe.cellsVersion != index.cells.version) {
        fillProbe(index, probe);
    }
    uint32_t found = VertexIndex::emptySlot;
    if (probe.finite) {
        int64_t reads = 0;
        if (probe.hashCount > 0) {
            for (int h = 0; h < probe.hashCount; ++h) {
                found = searchRun(index, lists, probe, probe.hashes[h], found, reads);
            }
        } else {
            forEachCell(probe, [&](uint64_t hash) {
                found = searchRun(index, lists, probe, hash, found, reads);
            });
        }
        index.readCredit = std::min<int64_t>(index.readCredit + readAllowance - reads, 0);
        if (reads > readAllowance) {
            index.costlyCorners[index.costlyCount++ % VertexIndex::costlyKept] = probe.vertex;
        }
    }
    if (found == VertexIndex::emptySlot) {
        found = static_cast<uint32_t>(lists.positions.size());
        const GroupVertex& vertex = probe.vertex;
        lists.positions.push_back(vertex.position);
        lists.tangents.push_back(vertex.tangent);
        lists.normals.push_back(vertex.normal);
        lists.texCoords.push_back(vertex.texCoord);
        if (probe.finite) {
            if (isTooFull(index.entries + 1, index.mask + 1)) {
                rebuild(index, lists, (index.mask + 1) * 2);
            } else {
                fileVertex(index, probe.ownHash, probe.fingerprint, found);
            }
        }
    }
    if (index.readCredit < -minimumWaste &&
        index.readCredit <
            -minimumWaste - wastePerVertex * static_cast<int64_t>(lists.positions.size())) {
        chooseCells(index, lists);
        index.readCredit = 0;
    }
    return found;
}
