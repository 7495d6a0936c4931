// Building mesh groups: de-duplicated vertices, one group per run of a
// material, and the line createMesh prints. Invariants on arbitrary input
// are the fuzz target's.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/mesh.h"
#include "support/temp_folder.h"

namespace {

Mesh build(const std::string& text, std::vector<std::string> names) {
    Mesh mesh;
    for (const std::string& name : names) {
        mesh.materials.emplace_back().name = name;
        mesh.materials.back().id = int32_t(mesh.materials.size() - 1);
    }
    parseObj(text, mesh.materials, mesh.objData);
    buildMeshGroups(mesh);
    return mesh;
}

// Name, material index, vertex count and index count of every group.
using Groups = std::vector<std::tuple<std::string, uint32_t, uint32_t, uint32_t>>;
Groups groups(const Mesh& mesh) {
    Groups out;
    for (const MeshGroup& g : mesh.groups) {
        out.emplace_back(g.name, g.materialIndex, g.vertexCount, g.indexCount);
    }
    return out;
}

const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

} // namespace

TEST(MeshBuilder, MergesCornersEqualWithinTheTolerance) {
    const struct {
        const char* what;
        std::string text;
        std::vector<uint32_t> indices;
    } cases[] = {
        {"shared corners with equal normal, tangent and coordinates",
         square +
             "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1",
         {0, 1, 2, 0, 2, 3}},
        {"flat-shaded triangles folded along their edge",
         square + "v 0 1 1\nf 1 2 3\nf 1 3 5",
         {0, 1, 2, 3, 4, 5}},
        {"0.00009 apart merges into the vertex found first, 0.0001 apart does not",
         triangle + "v 0.00009 0 0\nv 0 0.0001 0\nf 1 2 3\nf 4 2 3\nf 1 2 5",
         {0, 1, 2, 0, 1, 2, 0, 1, 3}},
        {"a quad gives only its first triangle", square + "f 1 2 3 4", {0, 1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Mesh mesh = build(c.text, {"m"});
        ASSERT_EQ(mesh.groups.size(), 1u);
        const ObjData& lists = mesh.groups[0].geometry;
        EXPECT_EQ(lists.indices, c.indices);
        EXPECT_EQ(mesh.groups[0].vertexCount, c.indices.back() + 1u); // each case ends on its last
        // The vertex found first is kept: (0, 0, 0), then (1, 0, 0).
        EXPECT_TRUE(lists.positions[0].x == 0 && lists.positions[1].x == 1 &&
                    lists.positions[1].y == 0);
    }
}

TEST(MeshBuilder, OneGroupPerMaterialRun) {
    // Material 0, unused, still gives the first (empty) group.
    const std::string faces = "usemtl b\nf 1 2 3\nf 1 2 3\nusemtl c\nf 1 2 3\n";
    EXPECT_EQ(groups(build(triangle + faces, {"a", "b", "c"})),
              (Groups{{"a", 0, 0, 0}, {"b", 1, 3, 6}, {"c", 2, 3, 3}}));
    EXPECT_EQ(groups(build(triangle, {"a", "b"})), (Groups{{"a", 0, 0, 0}}));
    // Models without materials read past the material list; they keep "default".
    EXPECT_EQ(groups(build(triangle + faces, {})), (Groups{{"default", 0, 3, 9}}));
    EXPECT_EQ(groups(build("", {})), (Groups{{"default", 0, 0, 0}}));

    // Ids beyond the list join the group before; a first face out of range
    // joins the first group instead of reading past the list.
    Mesh mesh = build(triangle + "f 1 2 3\nf 1 2 3\nf 1 2 3\nf 1 2 3\n", {"a", "b"});
    for (const uint32_t first : {1u, 5u}) {
        const uint32_t ids[] = {first, first, 7, 9};
        for (size_t f = 0; f < 4; ++f) {
            mesh.objData.faces[f].materialId = ids[f];
        }
        buildMeshGroups(mesh);
        EXPECT_EQ(groups(mesh), first == 1 ? (Groups{{"a", 0, 0, 0}, {"b", 1, 3, 12}})
                                           : (Groups{{"a", 0, 3, 12}}));
    }
}

// Faces are gathered in blocks, with their tangents apart, and their probes
// filled before any is looked up. A group whose faces reuse positions far
// apart in the lists, name equal positions under different indices, crowd
// thousands of corners onto three
// positions (so that the index chooses its cells anew on the way) and name
// entries that do not exist must still give exactly the linear scan.
TEST(MeshBuilder, MatchesTheLinearScanOverManyFaces) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        // Positions 1, 1025 and 2049 (1-based) are equal or a tolerance apart.
        const float x = i % 1024 == 1 ? 1.0f + float(i / 1024) * 0.00005f : float(i % 37) * 0.25f;
        text += "v " + std::to_string(x) + " " + std::to_string(i % 5) + " 0.5\n";
        text += "vt " + std::to_string((i % 50) * 0.00015) + " " +
                std::to_string((i / 50) * 0.00015) + "\n";
    }
    text += "vn 0 0 1\nvn 0 1 0\n";
    std::mt19937 random(7);
    for (int f = 0; f < 2000; ++f) {
        const bool crowd = f % 2 == 0;
        text += "f";
        for (int c = 0; c < 3; ++c) {
            const int crowded[] = {2, 1026, 2050};
            const int position = crowd ? crowded[c] : int(random() % 3000) + 1;
            text += " " + std::to_string(position) + "/" + std::to_string(random() % 3000 + 1) +
                    "/" + std::to_string(random() % 2 + 1);
        }
        text += "\n";
    }
    Mesh mesh = build(text, {});
    for (size_t f = 5; f < mesh.objData.faces.size(); f += 97) {
        mesh.objData.faces[f].vertices[f % 3].positionIndex = 3000;
    }
    buildMeshGroups(mesh);

    const ObjData& data = mesh.objData;
    using Values = std::array<float, 11>;
    std::vector<Values> vertices;
    std::vector<uint32_t> indices;
    for (const ObjFace& face : data.faces) {
        if (face.vertices[0].positionIndex == 3000 || face.vertices[1].positionIndex == 3000 ||
            face.vertices[2].positionIndex == 3000) {
            continue;
        }
        const FaceFrame frame = faceFrame(data, face);
        for (const FaceVertex& corner : face.vertices) {
            const Vector3& p = data.positions[corner.positionIndex];
            const Vector3& n = data.normals[corner.normalIndex];
            const TexCoord& t = data.texCoords[corner.texCoordIndex];
            const Values v{
                p.x, p.y, p.z, frame.tangent.x, frame.tangent.y, frame.tangent.z, n.x, n.y,
                n.z, t.u, t.v};
            const auto match = std::find_if(vertices.begin(), vertices.end(), [&](const Values& w) {
                for (size_t k = 0; k < v.size(); ++k) {
                    if (!(std::fabs(w[k] - v[k]) < vertexMatchTolerance)) {
                        return false;
                    }
                }
                return true;
            });
            indices.push_back(static_cast<uint32_t>(match - vertices.begin()));
            if (match == vertices.end()) {
                vertices.push_back(v);
            }
        }
    }
    ASSERT_EQ(mesh.groups.size(), 1u);
    const ObjData& lists = mesh.groups[0].geometry;
    EXPECT_EQ(lists.indices, indices);
    ASSERT_EQ(lists.positions.size(), vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Values built{lists.positions[i].x, lists.positions[i].y, lists.positions[i].z,
                           lists.tangents[i].x,  lists.tangents[i].y,  lists.tangents[i].z,
                           lists.normals[i].x,   lists.normals[i].y,   lists.normals[i].z,
                           lists.texCoords[i].u, lists.texCoords[i].v};
        ASSERT_EQ(std::memcmp(built.data(), vertices[i].data(), sizeof(Values)), 0) << i;
    }
}

// Every group's lists were sized for all the faces still to come: memory
// quadratic in the number of materials.
TEST(MeshBuilder, GroupListsAreSizedForTheirOwnFaces) {
    std::string text = triangle;
    std::vector<std::string> names;
    for (int m = 0; m < 50; ++m) {
        names.push_back("m" + std::to_string(m));
        text += "usemtl " + names.back() + "\nf 1 2 3\nf 1 2 3\n";
    }
    const Mesh mesh = build(text, names);
    ASSERT_EQ(mesh.groups.size(), 50u);
    for (const MeshGroup& group : mesh.groups) {
        const ObjData& lists = group.geometry;
        EXPECT_TRUE(group.vertexCount == 3 && group.indexCount == 6);
        EXPECT_LE(std::max({lists.positions.capacity(), lists.normals.capacity(),
                            lists.tangents.capacity(), lists.texCoords.capacity()}),
                  6u);
    }
}

TEST(CreateMesh, PrintsItsLineOnceTheFileIsRead) {
    const TempFolder folder;
    const std::string path = folder.write("tri.obj", triangle + "f 1 2 3\n");
    testing::internal::CaptureStdout();
    const Mesh mesh = createMesh(path);
    const Mesh missing = createMesh(folder.file("missing.obj"));
    const Mesh unnamed = createMesh("");
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "...done\n...creating Mesh: " + path + "\n\n");
    EXPECT_EQ(groups(mesh), (Groups{{"default", 0, 3, 3}}));
    EXPECT_TRUE(missing.groups.empty() && unnamed.groups.empty());
}
