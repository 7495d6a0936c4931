// Reading OBJ models: corners and face frames, the faces that are dropped,
// lines of any length and the sort by material. Number forms are the text
// scanner's tests; arbitrary input is the fuzz target's.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/obj_parser.h"
#include "support/temp_folder.h"

namespace {

ObjData parse(const std::string& text, std::vector<Material> materials = {}) {
    ObjData data;
    parseObj(text, materials, data);
    return data;
}

// Each corner as position, normal and texture coordinate index.
using Corners = std::vector<std::array<int32_t, 3>>;
Corners corners(const ObjData& data, size_t f) {
    Corners out;
    for (uint32_t i = 0; i < data.faces.at(f).vertexCount; ++i) {
        const FaceVertex& v = faceVertex(data, data.faces[f], i);
        out.push_back({v.positionIndex, v.normalIndex, v.texCoordIndex});
    }
    return out;
}

using Floats = std::vector<float>;
Floats xyz(const Vector3& v) {
    return {v.x, v.y, v.z};
}
float dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

const std::string threePositions = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

} // namespace

TEST(ObjParser, ReadsCornersAndFaceFrames) {
    const ObjData data = parse("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\n"
                               "vt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                               "f 1/1/1 2/2/1 3/3/1 4/4/1 1/2/1 2/3/1\nf 3/3/1 4/4/1 1/1/1\n");
    ASSERT_EQ(data.faces.size(), 3u);
    EXPECT_EQ(corners(data, 0), (Corners{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}));
    // Corners beyond the third live in the shared list.
    EXPECT_EQ(corners(data, 1),
              (Corners{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}, {0, 0, 1}, {1, 0, 2}}));
    // Counter-clockwise seen from +z; the tangent follows u, not the first edge.
    for (size_t f : {0, 2}) {
        const FaceFrame frame = faceFrame(data, data.faces[f]);
        EXPECT_EQ(xyz(frame.normal), (Floats{0, 0, 1})) << f;
        EXPECT_EQ(xyz(frame.tangent), (Floats{1, 0, 0})) << f;
        EXPECT_EQ(xyz(frame.bitangent), (Floats{0, 1, 0})) << f;
    }
}

// Zero-length normals, degenerate triangles and texture coordinates on one
// line gave NaN normals and tangents.
TEST(ObjParser, DegenerateInputGivesZeroOrOrthogonalVectorsNeverNaN) {
    const ObjData data = parse("v 0 0 0\nv 1 0 0\nv 0 0 -1\nv 2 0 0\nf 1 2 4\nvt 0 0\nvt 1 1\n"
                               "vt 2 2\nvt 0.5 0.5\nf 1/1 2/2 3/3\nf 1/4 2/4 3/4\n"
                               "vn 0 0 2\nvn 0 0 0\nvn 1e-30 0 0\nvn 3e38 3e38 0\n");
    ASSERT_EQ(data.normals.size(), 4u);
    EXPECT_EQ(xyz(data.normals[0]), (Floats{0, 0, 1}));
    EXPECT_EQ(xyz(data.normals[1]), (Floats{0, 0, 0}));
    EXPECT_EQ(xyz(data.normals[2]), (Floats{1, 0, 0}));
    EXPECT_EQ(xyz(data.normals[3]), (Floats{0.70710677f, 0.70710677f, 0}));
    ASSERT_EQ(data.faces.size(), 3u);
    for (size_t f : {1, 2}) {
        const FaceFrame face = faceFrame(data, data.faces[f]);
        SCOPED_TRACE(f);
        EXPECT_EQ(xyz(face.normal), (Floats{0, 1, 0}));
        EXPECT_FLOAT_EQ(dot(face.tangent, face.tangent), 1.0f);
        EXPECT_FLOAT_EQ(dot(face.bitangent, face.bitangent), 1.0f);
        EXPECT_NEAR(dot(face.tangent, face.normal), 0.0f, 1e-6f);
        EXPECT_NEAR(dot(face.bitangent, face.normal), 0.0f, 1e-6f);
        EXPECT_NEAR(dot(face.bitangent, face.tangent), 0.0f, 1e-6f);
    }
    EXPECT_EQ(xyz(faceFrame(data, data.faces[0]).normal), (Floats{0, 0, 0})); // corners on one line
}

// Indices outside the lists read so far were read out of bounds. Negative
// indices count back from the end of the lists read so far.
TEST(ObjParser, FacesWithIndicesOutsideTheListsOrUnderThreeCornersAreDropped) {
    const ObjData data =
        parse(threePositions + "f 1 2 4\nf 0 1 2\nf 1 2 -4\nf 1 2 2147483648\nf 1 2\nf\n"
                               "f -3 -2 -1\nv 5 5 5\nf -1 1 2 4\nvt 0 0\nvn 0 0 1\n"
                               "f 1/2/1 2/1/1 3/1/1\nf 1/1/1 2/1/2 3/1/1\nf 1/-1/-1 2/1/1 3/1/1\n");
    ASSERT_EQ(data.faces.size(), 3u);
    EXPECT_EQ(data.droppedFaces, 8u);
    EXPECT_EQ(corners(data, 0), (Corners{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(corners(data, 1), (Corners{{3, 0, 0}, {0, 0, 0}, {1, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(corners(data, 2), (Corners{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));

    // The slash forms read depend on the lists read before: after "vn" only,
    // v//vn is dropped with the rest of its line; after both, v/vt is.
    const ObjData slashes = parse(threePositions + "vn 0 0 1\nf 1//1 2//1 3//1 v 9 9 9\n"
                                                   "f 1/1 2/1 3/1\nvt 0 0\nf 1/1 2/1 3/1\n");
    EXPECT_EQ(slashes.positions.size(), 3u);
    EXPECT_EQ(slashes.droppedFaces, 2u);
    EXPECT_EQ(corners(slashes, 0), (Corners{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
}

// A skipped line was read on as statements past 1023 characters, and longer
// words were cut.
TEST(ObjParser, ReadsWordsAndSkipsLinesOfAnyLength) {
    const ObjData data = parse("# " + std::string(5000, 'c') + " v 9 9 9 f 1 2 3\ng group " +
                               std::string(3000, 'g') + " v 1 1 1\n" + std::string(9000, 'w') +
                               " v 1 1 1\nv " + std::string(100000, '0') + "7 8 9\nv 1 0 0\n");
    ASSERT_EQ(data.positions.size(), 2u);
    EXPECT_EQ(xyz(data.positions[0]), (Floats{7, 8, 9}));
}

// Faces come out sorted by material in their order; "usemtl" selects the
// last material of that name, and an unknown name keeps the current one.
TEST(ObjParser, SortsFacesByTheMaterialsUsemtlSelects) {
    std::vector<Material> materials(4);
    for (size_t m = 0; m < 4; ++m) {
        materials[m].name = std::string("xyxz").substr(m, 1);
    }
    const ObjData data = parse(threePositions + "f 1 2 3\nusemtl z\nf 1 2 3\nf 2 3 1\nusemtl x\n"
                                                "f 1 2 3\nusemtl nothing\nf 2 3 1\nusemtl y\n"
                                                "f 3 1 2\n",
                               materials);
    std::vector<std::pair<uint32_t, int32_t>> order; // material, first corner
    for (const ObjFace& face : data.faces) {
        order.emplace_back(face.materialId, face.vertices[0].positionIndex);
    }
    EXPECT_EQ(order, (std::vector<std::pair<uint32_t, int32_t>>{
                         {0, 0}, {1, 2}, {2, 0}, {2, 1}, {3, 0}, {3, 1}}));
}

// Byte for byte, so that NaN payloads and signed zeros count.
template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// A file is read through a window of whole lines; a statement that may go on
// past a window's end, over white space and newlines, makes it read whole.
// Windows of any size must give the model that reading the text gives.
TEST(ObjParser, ModelsReadThroughWindowsOfAnySizeAreTheModelsReadWhole) {
    const TempFolder folder;
    const std::string library = folder.write("m.mtl", "newmtl a\nnewmtl b\n");
    const std::string texts[] = {
        threePositions + "vt 0 0\nvn 0 0 1\nmtllib " + library +
            "\nusemtl b\nf 1/1/1 2/1/1 3/1/1\nusemtl a\nf 3/1/1 2/1/1 1/1/1\n",
        // statements going on over newlines: a face, a vector, names
        threePositions + "f 1 2\n3\n\n1 2 -1\nv 1\n2\n\n3\nmtllib\n" + library +
            "\nusemtl\n\nb\nf 1 2 3",
        // numbers whose end is found a few bytes on, and long lines
        "v 1e\n5 0x1p 2\nv nan(12 1.5.5 -0\nv 1 2 3\n# " + std::string(300, 'c') + "\nv 4 5 6\n" +
            std::string(200, ' ') + "\nf 1 2 3 1 2 3\nv " + std::string(150, '1') +
            " 2 3\nf -1 -2 -3",
    };
    for (const std::string& text : texts) {
        std::vector<Material> wholeMaterials;
        ObjData whole;
        parseObj(text, wholeMaterials, whole);
        const std::string path = folder.write("model.obj", text);
        for (size_t window : {1, 2, 5, 16, 40, 100, 1000}) {
            SCOPED_TRACE(text.substr(0, 40) + "... through " + std::to_string(window));
            std::vector<Material> materials;
            ObjData data;
            ASSERT_TRUE(loadObj(materials, path, data, window));
            EXPECT_TRUE(sameBytes(data.positions, whole.positions));
            EXPECT_TRUE(sameBytes(data.normals, whole.normals));
            EXPECT_TRUE(sameBytes(data.texCoords, whole.texCoords));
            EXPECT_TRUE(sameBytes(data.faces, whole.faces));
            EXPECT_TRUE(sameBytes(data.extraFaceVertices, whole.extraFaceVertices));
            EXPECT_EQ(data.droppedFaces, whole.droppedFaces);
            EXPECT_EQ(materials.size(), wholeMaterials.size());
        }
    }
}

TEST(ObjParser, LoadObjEmptiesTheModelWhenTheFileCannotBeRead) {
    std::vector<Material> materials;
    ObjData data = parse(threePositions + "f 1 2 3\n");
    EXPECT_FALSE(loadObj(materials, "/nonexistent/model.obj", data));
    EXPECT_TRUE(data.positions.empty() && data.faces.empty() && materials.empty());
}
