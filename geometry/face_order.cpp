// Sorting faces by material as a permutation of whole runs: a model switches
// material a few times and reads many faces under each, so the order follows
// from a stable sort of the runs alone. The runs are then copied whole, in
// that order, into a fresh list: reads and writes both go in long sequential
// stretches. The fresh list does not raise a load's peak, since the groups'
// lists built next take more than the faces (three vertices per face).
#include "geometry/face_order.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include "resources/fresh_memory.h"

void sortFacesByMaterial(std::vector<ObjFace>& faces, const std::vector<MaterialRun>& runs) {
    const auto inOrder = [](const MaterialRun& a, const MaterialRun& b) {
        return a.materialId <= b.materialId;
    };
    if (std::adjacent_find(runs.begin(), runs.end(), std::not_fn(inOrder)) == runs.end()) {
        return;
    }
    std::vector<size_t> order(runs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&runs](size_t a, size_t b) {
        return runs[a].materialId < runs[b].materialId;
    });
    std::vector<ObjFace> sorted;
    sorted.reserve(faces.size());
    populateElements(sorted, 0, faces.size());
    for (const size_t r : order) {
        const size_t end = r + 1 < runs.size() ? runs[r + 1].firstFace : faces.size();
        sorted.insert(sorted.end(), faces.begin() + static_cast<std::ptrdiff_t>(runs[r].firstFace),
                      faces.begin() + static_cast<std::ptrdiff_t>(end));
    }
    faces.swap(sorted);
}
