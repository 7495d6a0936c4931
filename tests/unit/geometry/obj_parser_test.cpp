// Reading OBJ models: the statements and their reading rules, the face
// frames, the sort by material, and input that is malformed or hostile.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "geometry/obj_parser.h"

namespace {

ObjData parse(const std::string& text, std::vector<Material>* materials = nullptr) {
    std::vector<Material> none;
    ObjData data;
    parseObj(text, materials != nullptr ? *materials : none, data);
    return data;
}

struct Corner {
    int32_t position;
    int32_t normal;
    int32_t texCoord;
    bool operator==(const Corner&) const = default;
};

std::vector<Corner> corners(const ObjData& data, const ObjFace& face) {
    std::vector<Corner> out;
    for (uint32_t i = 0; i < face.vertexCount; ++i) {
        const FaceVertex& v = faceVertex(data, face, i);
        out.push_back({v.positionIndex, v.normalIndex, v.texCoordIndex});
    }
    return out;
}

void expectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

float dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float length(const Vector3& v) {
    return std::sqrt(dot(v, v));
}

// What the mesh builder relies on, whatever the input: faces of at least
// three corners whose indices name entries of the lists, sorted by material.
void expectUsable(const ObjData& data) {
    for (size_t f = 0; f < data.faces.size(); ++f) {
        const ObjFace& face = data.faces[f];
        ASSERT_GE(face.vertexCount, 3u);
        if (face.vertexCount > ObjFace::inlineVertices) {
            ASSERT_LE(face.extraOffset + face.vertexCount - ObjFace::inlineVertices,
                      data.extraFaceVertices.size());
        }
        for (uint32_t i = 0; i < face.vertexCount; ++i) {
            const FaceVertex& v = faceVertex(data, face, i);
            ASSERT_LT(static_cast<size_t>(v.positionIndex), data.positions.size());
            ASSERT_TRUE(v.normalIndex == 0 ||
                        static_cast<size_t>(v.normalIndex) < data.normals.size());
            ASSERT_TRUE(v.texCoordIndex == 0 ||
                        static_cast<size_t>(v.texCoordIndex) < data.texCoords.size());
        }
        if (f > 0) {
            ASSERT_LE(data.faces[f - 1].materialId, face.materialId);
        }
    }
}

const std::string threePositions = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
const std::string texturedQuad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                 "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n";

TEST(ObjParserTest, PlainFaceWithoutTexCoordsOrNormals) {
    const ObjData data = parse("v 1 2 3\nv 4 5 6\nv 7 8 10\nf 1 2 3\n");
    ASSERT_EQ(data.positions.size(), 3u);
    expectVector(data.positions[2], 7, 8, 10);
    EXPECT_TRUE(data.normals.empty());
    EXPECT_TRUE(data.texCoords.empty());
    EXPECT_TRUE(data.tangents.empty());
    EXPECT_TRUE(data.indices.empty());
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_EQ(corners(data, data.faces[0]), (std::vector<Corner>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(data.faces[0].materialId, 0u);
    expectVector(data.faces[0].tangent, 0, 0, 0);
    expectVector(data.faces[0].bitangent, 0, 0, 0);
}

TEST(ObjParserTest, FullReferencesPolygonsAndTheirFrames) {
    const ObjData data = parse(texturedQuad + "f 1/1/1 2/2/1 3/3/1 4/4/1\n"
                                              "f 1/1/1 2/2/1 3/3/1 4/4/1 1/2/1 2/3/1\n");
    ASSERT_EQ(data.faces.size(), 2u);
    EXPECT_EQ(corners(data, data.faces[0]),
              (std::vector<Corner>{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}}));
    // Corners beyond the fourth live in the shared list.
    EXPECT_EQ(
        corners(data, data.faces[1]),
        (std::vector<Corner>{{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 0, 3}, {0, 0, 1}, {1, 0, 2}}));
    // Counter-clockwise seen from +z; u grows along +x.
    expectVector(data.faces[0].normal, 0, 0, 1);
    expectVector(data.faces[0].tangent, 1, 0, 0);
    expectVector(data.faces[0].bitangent, 0, 1, 0);
}

TEST(ObjParserTest, FaceNormalAndTangentFollowTheirFormulas) {
    EXPECT_EQ(computeFaceNormal({0, 0, 0}, {2, 0, 0}, {0, 0, -3}).y, 1.0f);
    const Vector3 n = computeFaceNormal({1, 2, 3}, {4, 6, 3}, {1, 2, 8});
    EXPECT_FLOAT_EQ(length(n), 1.0f);
    expectVector(n, 0.8f, -0.6f, 0.0f);

    // A tangent whose texture mapping is sheared still follows dU.
    ObjData data = parse("v 0 0 0\nv 2 0 0\nv 0 2 0\nvt 0 0\nvt 1 0\nvt 0.5 1\n"
                         "f 1/1 2/2 3/3\n");
    ASSERT_EQ(data.faces.size(), 1u);
    expectVector(data.faces[0].tangent, 1, 0, 0);
    expectVector(data.faces[0].bitangent, 0, 1, 0);
    const Vector3& t = data.faces[0].tangent;
    data.faces[0].tangent = {};
    computeTangents(data);
    EXPECT_EQ(data.faces[0].tangent.x, t.x);
}

// Mended fault 5: texture coordinates on one line gave NaN tangents.
TEST(ObjParserTest, DegenerateTextureCoordinatesGiveATangentInThePlane) {
    for (const char* texCoords :
         {"vt 0 0\nvt 1 1\nvt 2 2\n", "vt 0.5 0.5\nvt 0.5 0.5\nvt 0.5 0.5\n"}) {
        const ObjData data =
            parse(std::string("v 0 0 0\nv 1 0 0\nv 0 0 -1\n") + texCoords + "f 1/1 2/2 3/3\n");
        ASSERT_EQ(data.faces.size(), 1u);
        const ObjFace& face = data.faces[0];
        expectVector(face.normal, 0, 1, 0);
        EXPECT_FLOAT_EQ(length(face.tangent), 1.0f);
        EXPECT_NEAR(dot(face.tangent, face.normal), 0.0f, 1e-6f);
        EXPECT_FLOAT_EQ(length(face.bitangent), 1.0f);
        EXPECT_NEAR(dot(face.bitangent, face.normal), 0.0f, 1e-6f);
        EXPECT_NEAR(dot(face.bitangent, face.tangent), 0.0f, 1e-6f);
    }
}

// Mended fault 5: zero-length normals and degenerate triangles gave NaN.
TEST(ObjParserTest, NormalsAreUnitOrZeroNeverNaN) {
    const ObjData data = parse("vn 0 0 2\nvn 0 0 0\nvn 1e-30 0 0\nvn 3e38 3e38 0\nvn 1\n"
                               "v 0 0 0\nv 1 1 1\nv 2 2 2\nf 1/1 2/1 3/1\n");
    ASSERT_EQ(data.normals.size(), 5u);
    expectVector(data.normals[0], 0, 0, 1);
    expectVector(data.normals[1], 0, 0, 0);
    expectVector(data.normals[2], 1, 0, 0);
    expectVector(data.normals[3], 0.70710677f, 0.70710677f, 0);
    expectVector(data.normals[4], 1, 0, 0); // missing numbers read as zero
    ASSERT_EQ(data.faces.size(), 1u);
    expectVector(data.faces[0].normal, 0, 0, 0); // the corners lie on one line
}

TEST(ObjParserTest, SlashesDependOnTheStatementsReadBefore) {
    // After "vn" only: v//vn is dropped and the rest of its line skipped;
    // v/vn is read.
    ObjData data = parse(threePositions + "vn 0 0 1\nf 1//1 2//1 3//1 v 9 9 9\nf 1/1 2/1 3/1\n");
    EXPECT_EQ(data.positions.size(), 3u);
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_EQ(data.droppedFaces, 1u);
    EXPECT_EQ(corners(data, data.faces[0]), (std::vector<Corner>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));

    // After "vt" and "vn": v/vt is dropped at its first corner.
    data = parse(threePositions + "vt 0 0\nvn 0 0 1\nf 1/1 2/1 3/1\n");
    EXPECT_TRUE(data.faces.empty());

    // A face read before the first "vt" carries no texture index; its
    // tangent is computed once the coordinates are known.
    data = parse(threePositions + "f 1 2 3\nvt 0 0\nvt 1 0\nvt 0 1\nf 1/1 2/2 3/3\n");
    ASSERT_EQ(data.faces.size(), 2u);
    EXPECT_EQ(corners(data, data.faces[0]), (std::vector<Corner>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_FLOAT_EQ(length(data.faces[0].tangent), 1.0f);
    expectVector(data.faces[1].tangent, 1, 0, 0);

    // A corner cut short ends the face; the corners before it remain.
    data = parse(threePositions + "vt 0 0\nf 1/1 2/1 3/1 1/\n");
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_EQ(data.faces[0].vertexCount, 3u);
}

TEST(ObjParserTest, IndicesInEveryIntegerForm) {
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += "v " + std::to_string(i) + " 0 0\n";
    }
    const ObjData data = parse(text + "f 010 011 012\nf 0x1 +2 0X3\nf 1 2 3abc 4\n");
    ASSERT_EQ(data.faces.size(), 3u);
    EXPECT_EQ(corners(data, data.faces[0]), (std::vector<Corner>{{7, 0, 0}, {8, 0, 0}, {9, 0, 0}}));
    EXPECT_EQ(corners(data, data.faces[1]), (std::vector<Corner>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    // "3abc" ends the face after 3; "abc" is an unknown word, so "4" goes
    // with the rest of its line.
    EXPECT_EQ(data.faces[2].vertexCount, 3u);
}

// Mended fault 5: indices outside the lists read so far were read out of
// bounds; negative indices count back from the end of the list read so far.
TEST(ObjParserTest, IndicesOutsideTheListsDropTheFace) {
    const ObjData data = parse(threePositions + "f 1 2 4\n"          // beyond the end
                                                "f 0 1 2\n"          // zero
                                                "f 1 2 -4\n"         // before the start
                                                "f 1 2 2147483648\n" // clamped, still out
                                                "f -3 -2 -1\n"       // relative
                                                "v 5 5 5\n"
                                                "f -1 1 2 4\n"); // later vertex is fine
    ASSERT_EQ(data.faces.size(), 2u);
    EXPECT_EQ(data.droppedFaces, 4u);
    EXPECT_EQ(corners(data, data.faces[0]), (std::vector<Corner>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(corners(data, data.faces[1]),
              (std::vector<Corner>{{3, 0, 0}, {0, 0, 0}, {1, 0, 0}, {3, 0, 0}}));

    // Texture and normal indices are checked the same way.
    const ObjData bad = parse(threePositions + "vt 0 0\nvn 0 0 1\nf 1/1/1 2/2/1 3/1/1\n"
                                               "f 1/1/1 2/1/2 3/1/1\nf 1/-1/-1 2/1/1 3/1/1\n");
    ASSERT_EQ(bad.faces.size(), 1u);
    EXPECT_EQ(bad.droppedFaces, 2u);
}

TEST(ObjParserTest, FacesOfFewerThanThreeCornersAreDropped) {
    const ObjData data = parse(threePositions + "f 1 2\nf\nf 1\n");
    EXPECT_TRUE(data.faces.empty());
    EXPECT_EQ(data.droppedFaces, 3u);
}

TEST(ObjParserTest, StatementsWithMissingNumbers) {
    // "vt" with two numbers: the next keyword ends it.
    ObjData data = parse("vt 0.5 0.25\nvt 1 0.75 0\nvt 0.125\nv 1 2\nv\n");
    ASSERT_EQ(data.texCoords.size(), 3u);
    EXPECT_EQ(data.texCoords[0].u, 0.5f);
    EXPECT_EQ(data.texCoords[0].v, 0.25f);
    EXPECT_EQ(data.texCoords[1].v, 0.75f);
    EXPECT_EQ(data.texCoords[2].v, 0.0f);
    ASSERT_EQ(data.positions.size(), 2u);
    expectVector(data.positions[0], 1, 2, 0);
    expectVector(data.positions[1], 0, 0, 0);

    // A failed number leaves its word for the main loop: "x" is skipped
    // with its line.
    data = parse("v 1 x 3 v 4 4 4\nv 7 8 9\n");
    ASSERT_EQ(data.positions.size(), 2u);
    expectVector(data.positions[0], 1, 0, 0);
    expectVector(data.positions[1], 7, 8, 9);

    // Statements may share a line and numbers may follow on the next one.
    data = parse("v 1 2 3 v 4 5 6 v\n7\n8\n9");
    ASSERT_EQ(data.positions.size(), 3u);
    expectVector(data.positions[2], 7, 8, 9);
}

// Mended fault 5: a skipped line was read on as statements past 1023
// characters.
TEST(ObjParserTest, CommentsAndUnknownStatementsSkipTheirWholeLine) {
    const std::string longComment = "# " + std::string(5000, 'c') + " v 9 9 9 f 1 2 3\n";
    const ObjData data =
        parse("# v 1 2 3\n" + longComment + "o object\ng group " + std::string(3000, 'g') +
              " v 1 1 1\ns off\n#v 1 2 3\n"
              "V 1 2 3\nvp 1 2\nv 4 5 6\n");
    ASSERT_EQ(data.positions.size(), 1u);
    expectVector(data.positions[0], 4, 5, 6);

    // An unknown word at the end of its line skips only itself.
    const ObjData next = parse("unknown\nv 1 2 3\n");
    EXPECT_EQ(next.positions.size(), 1u);
}

TEST(ObjParserTest, FacesAreSortedByMaterialKeepingTheirOrder) {
    std::vector<Material> materials(3);
    materials[0].name = "a";
    materials[1].name = "b";
    materials[2].name = "c";
    std::string text = threePositions;
    for (const char* name : {"c", "a", "b", "a"}) {
        text += std::string("usemtl ") + name + "\nf 1 2 3\nf 2 3 1\n";
    }
    const ObjData data = parse(text, &materials);
    ASSERT_EQ(data.faces.size(), 8u);
    std::vector<uint32_t> ids;
    std::vector<int32_t> first;
    for (const ObjFace& face : data.faces) {
        ids.push_back(face.materialId);
        first.push_back(face.vertices[0].positionIndex);
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 0, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(first, (std::vector<int32_t>{0, 1, 0, 1, 0, 1, 0, 1}));
}

TEST(ObjParserTest, UsemtlSelectsTheLastMaterialOfThatName) {
    std::vector<Material> materials(4);
    materials[0].name = "x";
    materials[1].name = "y";
    materials[2].name = "x";
    materials[3].name = "z";
    const ObjData data = parse(threePositions + "f 1 2 3\nusemtl x\nf 1 2 3\nusemtl nothing\n"
                                                "f 1 2 3\nusemtl z\nf 1 2 3\n",
                               &materials);
    std::vector<uint32_t> ids;
    for (const ObjFace& face : data.faces) {
        ids.push_back(face.materialId);
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 2, 2, 3}));
}

TEST(ObjParserTest, EmptyAndMissingFiles) {
    std::vector<Material> materials;
    ObjData data = parse(threePositions + "f 1 2 3\n");
    ASSERT_FALSE(data.faces.empty());
    EXPECT_FALSE(loadObj(materials, "/nonexistent/model.obj", data));
    EXPECT_TRUE(data.positions.empty());
    EXPECT_TRUE(data.faces.empty());
    EXPECT_FALSE(loadObj(materials, "/", data)); // a directory
    EXPECT_FALSE(loadObj(materials, std::string("/dev/null\0x", 11), data));

    char path[] = "/tmp/tidemoor-obj-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_TRUE(loadObj(materials, path, data));
    EXPECT_TRUE(data.positions.empty() && data.normals.empty() && data.texCoords.empty() &&
                data.faces.empty());
    EXPECT_TRUE(materials.empty());
    std::ofstream(path, std::ios::binary) << threePositions << "f 1 2 3";
    EXPECT_TRUE(loadObj(materials, path, data));
    EXPECT_EQ(data.faces.size(), 1u);
    std::filesystem::remove(path);
}

TEST(ObjParserTest, NonFiniteNumbersAreStoredAsRead) {
    const ObjData data = parse("v nan inf -INFINITY\nv 1e39 -1e39 nan(7)\nv 0 0 0\nvt inf nan\n"
                               "f 1/1 2/1 3/1\n");
    ASSERT_EQ(data.positions.size(), 3u);
    EXPECT_TRUE(std::isnan(data.positions[0].x));
    EXPECT_EQ(data.positions[0].y, INFINITY);
    EXPECT_EQ(data.positions[0].z, -INFINITY);
    EXPECT_EQ(data.positions[1].x, INFINITY);
    EXPECT_EQ(data.positions[1].y, -INFINITY);
    ASSERT_EQ(data.faces.size(), 1u);
    expectUsable(data);
}

TEST(ObjParserTest, HostileInputKeepsEveryFaceUsable) {
    // Huge words and numbers, NUL bytes, lines without an end.
    std::string text = threePositions + std::string(200000, 'w') + "\nv " +
                       std::string(100000, '1') + " 2 3\n" + "v 1." + std::string(100000, '0') +
                       "1 nan(" + std::string(50000, 'a') + ") 0x" + std::string(1000, 'f') +
                       "p-4\n" + std::string("f 1 2\0 3\nf 1 2 3\0\n", 18) + "usemtl " +
                       std::string(100000, 'm') + "\nmtllib " + std::string(5000, 'l') + "\nf " +
                       std::string(30000, '9') + " 1 2\nf 1 2 3";
    ObjData data = parse(text);
    EXPECT_EQ(data.positions.size(), 5u);
    EXPECT_EQ(data.positions[3].x, INFINITY);
    EXPECT_EQ(data.positions[4].x, 1.0f);
    EXPECT_TRUE(std::isnan(data.positions[4].y));
    expectUsable(data);

    // Random bytes, and random statements of random tokens.
    std::mt19937 random(99);
    static const std::vector<std::string> tokens = {
        "v",  "vt",           "vn",    "f",     "usemtl", "#",   "\n",  " ",   "/", "//", "1",
        "2",  "-1",           "0",     "3/3/3", "1/2",    "0x2", "nan", "1e9", "-", "\0", "\r\n",
        "\t", "999999999999", "mtllib"};
    for (int round = 0; round < 3000; ++round) {
        std::string garbage;
        const int length = static_cast<int>(random() % 200);
        if (round % 2 == 0) {
            for (int i = 0; i < length; ++i) {
                garbage += static_cast<char>(random());
            }
        } else {
            for (int i = 0; i < length; ++i) {
                const std::string& token = tokens[random() % tokens.size()];
                garbage += token == "\0" ? std::string(1, '\0') : token;
                garbage += ' ';
            }
        }
        data = parse(garbage);
        expectUsable(data);
        if (testing::Test::HasFatalFailure()) {
            FAIL() << "round " << round;
        }
    }
}

TEST(ObjParserTest, TruncatedFilesKeepEveryFaceUsable) {
    const std::string model = texturedQuad + "vn 1 0 0\nf 1/1/1 2/2/1 3/3/2\nf 1/1/2 3/3/1 4/4/1\n"
                                             "f -4/-4/-1 -3/-3/-1 -2/-2/-2 -1/-1/-1\n";
    for (size_t cut = 0; cut <= model.size(); ++cut) {
        const ObjData data = parse(model.substr(0, cut));
        expectUsable(data);
    }
    EXPECT_EQ(parse(model).faces.size(), 3u);
}

} // namespace
