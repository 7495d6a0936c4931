// The sort of faces by material against a stable sort of the faces
// themselves: runs of equal length, lengths that differ by one, random
// lengths, and runs of single faces.
#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/face_order.h"

namespace {

TEST(FaceOrder, SortsFacesByMaterialAsAStableSortDoes) {
    const struct {
        const char* what;
        size_t runs;
        size_t length; // 0: random from 1 to 100
        size_t every;  // every so many runs one face longer
    } cases[] = {{"equal runs", 97, 64, 0},
                 {"equal runs but one", 97, 64, 40},
                 {"lengths one apart", 300, 33, 2},
                 {"random lengths", 500, 0, 0},
                 {"single faces", 3000, 1, 0}};
    std::mt19937 random(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ObjFace> faces;
        std::vector<MaterialRun> runs;
        for (size_t r = 0; r < c.runs; ++r) {
            const uint32_t material = static_cast<uint32_t>((r * 5 + r / 7) % 6);
            runs.push_back({material, faces.size()});
            size_t length = c.length > 0 ? c.length : 1 + random() % 100;
            length += c.every > 0 && r % c.every == 0 ? 1 : 0;
            for (size_t f = 0; f < length; ++f) {
                faces.emplace_back().materialId = material;
                faces.back().vertices[0].positionIndex = static_cast<int32_t>(faces.size());
            }
        }
        // Runs are where the material changes.
        runs.erase(std::unique(runs.begin(), runs.end(),
                               [](const MaterialRun& a, const MaterialRun& b) {
                                   return a.materialId == b.materialId;
                               }),
                   runs.end());
        std::vector<ObjFace> expected = faces;
        std::stable_sort(expected.begin(), expected.end(), [](const ObjFace& a, const ObjFace& b) {
            return a.materialId < b.materialId;
        });
        sortFacesByMaterial(faces, runs);
        ASSERT_EQ(faces.size(), expected.size());
        for (size_t f = 0; f < faces.size(); ++f) {
            ASSERT_EQ(faces[f].vertices[0].positionIndex, expected[f].vertices[0].positionIndex)
                << "face " << f;
        }
    }
}

} // namespace
