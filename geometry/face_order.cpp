// Sorting faces by material as a permutation of whole runs: a model switches
// material a few times and reads many faces under each, so the order follows
// from the runs alone. Where each run goes follows from a stable sort of the
// runs; the faces then follow the permutation's cycles, each moved once,
// which keeps the sort linear and free of a second face list. A stable sort
// of the faces themselves moves each one about log n times through a buffer
// of half the list: at a million faces the load took about 30 % longer and
// its parse peaked about 45 MiB higher.
#include "geometry/face_order.h"

#include <algorithm>
#include <numeric>
#include <utility>

void sortFacesByMaterial(std::vector<ObjFace>& faces, const std::vector<MaterialRun>& runs) {
    const size_t runCount = runs.size();
    bool sorted = true;
    for (size_t r = 1; r < runCount && sorted; ++r) {
        sorted = runs[r - 1].materialId <= runs[r].materialId;
    }
    if (sorted) {
        return;
    }

    std::vector<size_t> order(runCount);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&runs](size_t a, size_t b) {
        return runs[a].materialId < runs[b].materialId;
    });
    const auto runEnd = [&](size_t r) {
        return r + 1 < runCount ? runs[r + 1].firstFace : faces.size();
    };
    std::vector<size_t> destination(runCount);
    size_t next = 0;
    for (size_t r : order) {
        destination[r] = next;
        next += runEnd(r) - runs[r].firstFace;
    }
    // The run of every 256th face, so that a face's run is searched for only
    // among the runs its block of 256 meets: most blocks meet one or two.
    constexpr size_t blockShift = 8;
    std::vector<size_t> blockRun((faces.size() >> blockShift) + 2);
    for (size_t b = 0, r = 0; b < blockRun.size(); ++b) {
        while (r + 1 < runCount && runs[r + 1].firstFace <= b << blockShift) {
            ++r;
        }
        blockRun[b] = r;
    }
    const auto destinationOf = [&](size_t face) {
        const size_t block = face >> blockShift;
        const auto after = std::upper_bound(
            runs.begin() + static_cast<std::ptrdiff_t>(blockRun[block] + 1),
            runs.begin() + static_cast<std::ptrdiff_t>(blockRun[block + 1] + 1), face,
            [](size_t f, const MaterialRun& run) { return f < run.firstFace; });
        const size_t r = static_cast<size_t>(after - runs.begin()) - 1;
        return destination[r] + (face - runs[r].firstFace);
    };

    // Each cycle is followed with its next destinations computed some steps
    // ahead, so the faces they name are already being fetched: every step
    // is a jump to another run, and 32 jumps in flight hide the memory's
    // latency where 8 did not.
    constexpr size_t lookAhead = 32;
    std::vector<bool> placed(faces.size(), false);
    for (size_t start = 0; start < faces.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        size_t upcoming[lookAhead];
        size_t first = 0;
        size_t count = 0;
        size_t last = start;
        bool complete = false;
        const auto extend = [&] {
            if (complete) {
                return;
            }
            last = destinationOf(last);
            upcoming[(first + count) % lookAhead] = last;
            ++count;
            __builtin_prefetch(&faces[last], 1);
            __builtin_prefetch(reinterpret_cast<const char*>(&faces[last]) + 64, 1);
            complete = last == start;
        };
        for (size_t i = 0; i < lookAhead && !complete; ++i) {
            extend();
        }
        ObjFace carried = faces[start];
        while (count > 0) {
            const size_t to = upcoming[first];
            first = (first + 1) % lookAhead;
            --count;
            placed[to] = true;
            std::swap(carried, faces[to]);
            extend();
        }
    }
}
