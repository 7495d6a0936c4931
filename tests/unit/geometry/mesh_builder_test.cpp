// Building mesh groups: one group per run of a material, de-duplicated
// vertices with group-local indices, the group names, the console line, and
// the sizes of the group lists.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "geometry/mesh.h"

namespace {

std::vector<Material> namedMaterials(std::initializer_list<const char*> names) {
    std::vector<Material> materials;
    for (const char* name : names) {
        Material m;
        m.name = name;
        m.id = static_cast<int32_t>(materials.size());
        materials.push_back(m);
    }
    return materials;
}

Mesh build(const std::string& text, std::vector<Material> materials) {
    Mesh mesh;
    mesh.materials = std::move(materials);
    parseObj(text, mesh.materials, mesh.objData);
    buildMeshGroups(mesh);
    return mesh;
}

struct GroupSummary {
    std::string name;
    uint32_t materialIndex;
    uint32_t vertexCount;
    uint32_t indexCount;
    bool operator==(const GroupSummary&) const = default;
};

std::ostream& operator<<(std::ostream& out, const GroupSummary& g) {
    return out << "{" << g.name << ", " << g.materialIndex << ", " << g.vertexCount << ", "
               << g.indexCount << "}";
}

std::vector<GroupSummary> summary(const Mesh& mesh) {
    std::vector<GroupSummary> out;
    for (const MeshGroup& g : mesh.groups) {
        out.push_back({g.name, g.materialIndex, g.vertexCount, g.indexCount});
    }
    return out;
}

const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";

TEST(MeshBuilderTest, OneTriangleOneMaterial) {
    const Mesh mesh = build("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", namedMaterials({"skin"}));
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"skin", 0, 3, 3}}));
    const ObjData& lists = mesh.groups[0].geometry;
    EXPECT_EQ(lists.indices, (std::vector<uint32_t>{0, 1, 2}));
    // Flat normal, no tangent and (0, 0) coordinates without "vn" and "vt".
    EXPECT_EQ(lists.normals[1].z, 1.0f);
    EXPECT_EQ(lists.tangents[1].x, 0.0f);
    EXPECT_EQ(lists.texCoords[1].u, 0.0f);
    EXPECT_EQ(lists.positions[1].x, 1.0f);
}

TEST(MeshBuilderTest, SharedCornersNeedEqualNormalsTangentsAndCoordinates) {
    // Two triangles sharing an edge with equal normals, coordinates and
    // tangents: the shared corners are stored once.
    Mesh mesh = build(square + "vn 0 0 1\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n",
                      namedMaterials({"m"}));
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"m", 0, 4, 6}}));
    EXPECT_EQ(mesh.groups[0].geometry.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3}));

    // Folded along the edge without "vn": the flat normals differ.
    mesh = build("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 1\nf 1 2 3\nf 1 3 4\n", namedMaterials({"m"}));
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"m", 0, 6, 6}}));

    // Equal normals but different face tangents keep the corners apart.
    mesh = build(square + "vt 0 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/2/1 4/5/1\n",
                 namedMaterials({"m"}));
    EXPECT_EQ(mesh.groups[0].vertexCount, 6u);
}

TEST(MeshBuilderTest, CornersMergeOnlyWhenEveryComponentIsWithinTolerance) {
    // The second triangle's first corner is 0.00009 from the first's (merged
    // into the vertex found first), the third's last corner 0.0001 from it
    // (kept apart).
    const std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0.00009 0 0\nv 0 0.0001 0\n"
                             "f 1 2 3\nf 4 2 3\nf 1 2 5\n";
    const Mesh mesh = build(text, namedMaterials({"m"}));
    ASSERT_EQ(mesh.groups.size(), 1u);
    EXPECT_EQ(mesh.groups[0].geometry.indices, (std::vector<uint32_t>{0, 1, 2, 0, 1, 2, 0, 1, 3}));
    EXPECT_EQ(mesh.groups[0].geometry.positions[0].x, 0.0f);
}

TEST(MeshBuilderTest, OneGroupPerMaterialRunAndAnEmptyFirstGroup) {
    const std::string triangle = "f 1 2 3\n";
    const std::string text =
        "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl b\n" + triangle + triangle + "usemtl c\n" + triangle;
    const Mesh mesh = build(text, namedMaterials({"a", "b", "c"}));
    EXPECT_EQ(summary(mesh),
              (std::vector<GroupSummary>{{"a", 0, 0, 0}, {"b", 1, 3, 6}, {"c", 2, 3, 3}}));
}

TEST(MeshBuilderTest, FilesWithoutFacesGiveOneEmptyGroup) {
    EXPECT_EQ(summary(build("v 1 2 3\n", namedMaterials({"first", "second"}))),
              (std::vector<GroupSummary>{{"first", 0, 0, 0}}));
}

// Mended fault 7: models without materials read past the material list.
TEST(MeshBuilderTest, ModelsWithoutMaterialsKeepTheNameDefault) {
    const Mesh mesh = build("v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl gone\nf 1 2 3\n", {});
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"default", 0, 3, 3}}));
    EXPECT_EQ(summary(build("", {})), (std::vector<GroupSummary>{{"default", 0, 0, 0}}));
}

TEST(MeshBuilderTest, OnlyTheFirstTriangleOfAPolygonIsUsed) {
    const Mesh mesh =
        build("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n", namedMaterials({"m"}));
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"m", 0, 3, 3}}));
    EXPECT_EQ(mesh.groups[0].geometry.positions[2].y, 1.0f);
}

TEST(MeshBuilderTest, OutOfRangeMaterialsJoinTheGroupBefore) {
    Mesh mesh;
    mesh.materials = namedMaterials({"a", "b"});
    parseObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 3\nf 1 2 3\nf 1 2 3\n", mesh.materials,
             mesh.objData);
    // Sorted ids 1, 1, 7, 9: the last two join the group of material 1.
    const uint32_t ids[] = {1, 1, 7, 9};
    for (size_t f = 0; f < 4; ++f) {
        mesh.objData.faces[f].materialId = ids[f];
    }
    buildMeshGroups(mesh);
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"a", 0, 0, 0}, {"b", 1, 3, 12}}));

    // Mended fault 7: a first face out of range joins the first group.
    for (ObjFace& face : mesh.objData.faces) {
        face.materialId = 5;
    }
    buildMeshGroups(mesh);
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"a", 0, 3, 12}}));
}

// Mended fault 6: every group's lists were sized for all the faces still to
// come, quadratic in the number of materials.
TEST(MeshBuilderTest, GroupListsAreSizedForTheirOwnFaces) {
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    std::vector<Material> materials;
    for (int m = 0; m < 50; ++m) {
        const std::string name = "m" + std::to_string(m);
        materials.push_back(namedMaterials({name.c_str()})[0]);
        text += "usemtl " + name + "\nf 1 2 3\nf 1 2 3\n";
    }
    const Mesh mesh = build(text, materials);
    ASSERT_EQ(mesh.groups.size(), 50u);
    for (const MeshGroup& group : mesh.groups) {
        EXPECT_EQ(group.indexCount, 6u);
        EXPECT_EQ(group.vertexCount, 3u);
        EXPECT_GE(group.geometry.positions.size(), group.vertexCount);
        EXPECT_LE(group.geometry.positions.capacity(), 6u);
        EXPECT_LE(group.geometry.normals.capacity(), 6u);
        EXPECT_LE(group.geometry.tangents.capacity(), 6u);
        EXPECT_LE(group.geometry.texCoords.capacity(), 6u);
    }
}

TEST(MeshBuilderTest, IndicesStayWithinTheirGroup) {
    std::string text = square + "vn 0 0 1\n";
    for (int i = 0; i < 40; ++i) {
        text += "usemtl m" + std::to_string(i % 3) + "\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
    }
    const Mesh mesh = build(text, namedMaterials({"m0", "m1", "m2"}));
    ASSERT_EQ(mesh.groups.size(), 3u);
    for (const MeshGroup& group : mesh.groups) {
        EXPECT_EQ(group.vertexCount, 4u);
        for (uint32_t index : group.geometry.indices) {
            EXPECT_LT(index, group.vertexCount);
        }
    }
}

class BuildMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = (std::filesystem::temp_directory_path() / "tidemoor-mesh-XXXXXX").string();
        ASSERT_NE(mkdtemp(folder.data()), nullptr);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

TEST_F(BuildMeshTest, PrintsItsLineOnceTheFileIsRead) {
    const std::string path = folder + "/tri.obj";
    std::ofstream(path) << "mtllib " << folder << "/tri.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    std::ofstream(folder + "/tri.mtl") << "newmtl shell\n";

    testing::internal::CaptureStdout();
    const Mesh mesh = createMesh(path);
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "...done\n...creating Mesh: " + path + "\n\n");
    EXPECT_EQ(mesh.path, path);
    EXPECT_EQ(summary(mesh), (std::vector<GroupSummary>{{"shell", 0, 3, 3}}));
    EXPECT_EQ(mesh.objData.faces.size(), 1u); // kept after building

    testing::internal::CaptureStdout();
    const Mesh missing = createMesh(folder + "/missing.obj");
    const Mesh empty = createMesh("");
    fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(missing.groups.empty());
    EXPECT_EQ(missing.path, folder + "/missing.obj");
    EXPECT_TRUE(empty.groups.empty());
    EXPECT_EQ(empty.path, "");
}

} // namespace
