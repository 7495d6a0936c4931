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
    // A face's destination, and how many faces from it on stay in its run.
    struct Place {
        size_t destination;
        size_t room;
    };
    const auto placeOf = [&](size_t face) {
        const size_t block = face >> blockShift;
        const auto after = std::upper_bound(
            runs.begin() + static_cast<std::ptrdiff_t>(blockRun[block] + 1),
            runs.begin() + static_cast<std::ptrdiff_t>(blockRun[block + 1] + 1), face,
            [](size_t f, const MaterialRun& run) { return f < run.firstFace; });
        const size_t r = static_cast<size_t>(after - runs.begin()) - 1;
        return Place{destination[r] + (face - runs[r].firstFace), runEnd(r) - face};
    };
    const auto destinationOf = [&](size_t face) { return placeOf(face).destination; };

    // Cycles are followed from their first face not yet placed. Where every
    // place of a cycle has the next faces in its run too, the cycles of
    // those faces run beside it, one place further along each: such a
    // bundle moves together, a stretch of neighbouring faces at each step.
    // (No two of them are one cycle: a cycle is no shift of itself.) A
    // single cycle is followed with its next destinations computed some
    // steps ahead, so the faces they name are already being fetched: every
    // step is a jump to another run, and 32 jumps in flight hide the
    // memory's latency where 8 did not.
    constexpr size_t bundleFaces = 256;
    constexpr size_t smallestBundle = 32;
    constexpr size_t lookAhead = 32;
    std::vector<bool> placed(faces.size(), false);
    ObjFace bundled[bundleFaces];
    // Cycles walked to find a bundle that turns out too small may take one
    // step per eight faces in all; after that, cycles are followed singly.
    size_t walkBudget = faces.size() / 8;
    for (size_t start = 0; start < faces.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        // The bundle the whole cycle allows; its faces after start are not
        // placed either, since each lies on a cycle whose first face is
        // after start.
        size_t bundle = 0;
        if (walkBudget > 0) {
            const Place own = placeOf(start);
            bundle = std::min(bundleFaces, own.room);
            size_t walked = 1;
            for (size_t at = own.destination; bundle >= smallestBundle && at != start; ++walked) {
                const Place place = placeOf(at);
                bundle = std::min(bundle, place.room);
                at = place.destination;
            }
            if (bundle < smallestBundle) {
                walkBudget -= std::min(walkBudget, walked);
            }
        }
        if (bundle >= smallestBundle) {
            std::copy_n(&faces[start], bundle, bundled);
            size_t at = start;
            do {
                at = destinationOf(at);
                std::swap_ranges(bundled, bundled + bundle, &faces[at]);
                for (size_t i = 0; i < bundle; ++i) {
                    placed[at + i] = true;
                }
            } while (at != start);
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
