// Reading MTL libraries: which material a statement belongs to, ids, colours
// read in part, the diffuse map with its derived normal map, and libraries
// named by "mtllib" read from files.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "geometry/obj_parser.h"
#include "resources/texture.h"

namespace {

std::vector<Material> library(const std::string& text) {
    std::vector<Material> materials;
    loadMtl(text, materials);
    return materials;
}

void expectColour(const Vector3& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

TEST(MtlParserTest, FirstNewmtlNamesTheMaterialAlreadyCurrent) {
    const std::vector<Material> materials =
        library("# colours\nKd 0.5 0.25 1\nillum 2\nnewmtl first\nKs 1 1 1\n"
                "newmtl second\nKa 0.1 0.2 0.3\nillum 0x3\nnewmtl third\n");
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_EQ(materials[0].name, "first");
    EXPECT_EQ(materials[0].id, 0);
    expectColour(materials[0].diffuse, 0.5f, 0.25f, 1.0f);
    expectColour(materials[0].specular, 1, 1, 1);
    EXPECT_EQ(materials[0].illum, 2);
    EXPECT_EQ(materials[1].name, "second");
    EXPECT_EQ(materials[1].id, 1);
    expectColour(materials[1].ambient, 0.1f, 0.2f, 0.3f);
    expectColour(materials[1].diffuse, 0, 0, 0);
    EXPECT_EQ(materials[1].illum, 3);
    EXPECT_EQ(materials[2].name, "third");
    EXPECT_EQ(materials[2].id, 2);
    EXPECT_FALSE(materials[2].hasTexture);
}

TEST(MtlParserTest, LibraryWithoutNewmtlIsOneUnnamedMaterial) {
    for (const char* text : {"", "Kd 1 0 0\n", "# nothing\n"}) {
        const std::vector<Material> materials = library(text);
        ASSERT_EQ(materials.size(), 1u);
        EXPECT_EQ(materials[0].name, "");
        EXPECT_EQ(materials[0].id, 0);
    }
    // A last "newmtl" without a name still counts.
    EXPECT_EQ(library("newmtl a\nnewmtl").size(), 2u);
}

TEST(MtlParserTest, MissingNumbersKeepTheFieldsPreviousValues) {
    const std::vector<Material> materials =
        library("Kd 0.5 0.6 0.7\nKd 0.1\nKs 0.2 0.3\nKs x\nillum 4\nillum none\nKa\n");
    ASSERT_EQ(materials.size(), 1u);
    expectColour(materials[0].diffuse, 0.1f, 0.6f, 0.7f);
    expectColour(materials[0].specular, 0.2f, 0.3f, 0.0f);
    EXPECT_EQ(materials[0].illum, 4);
}

TEST(MtlParserTest, DiffuseMapsAndTheirNormalMaps) {
    std::vector<Material> materials =
        library("newmtl sky\nmap_Kd bikini.tga\nnewmtl donut\nmap_Kd donut.tga\n"
                "newmtl path\nmap_Kd maps/bikini.tga\nnewmtl short\nmap_Kd a.b\n"
                "newmtl four\nmap_Kd .tga\nnewmtl other\nmap_Kd stone.png\n");
    ASSERT_EQ(materials.size(), 6u);
    // Exactly "bikini.tga" has no normal map.
    EXPECT_TRUE(materials[0].hasTexture);
    EXPECT_FALSE(materials[0].hasNormalMap);
    EXPECT_EQ(materials[0].normalMap, nullptr);
    ASSERT_NE(materials[0].texture, nullptr);
    EXPECT_EQ(materials[0].texture->fileName, "bikini.tga");
    // The last four characters make way for "_NRM.tga".
    EXPECT_TRUE(materials[1].hasNormalMap);
    ASSERT_NE(materials[1].normalMap, nullptr);
    EXPECT_EQ(materials[1].normalMap->fileName, "donut_NRM.tga");
    EXPECT_EQ(materials[1].normalMap->name, "donut_NRM.tga");
    EXPECT_TRUE(materials[2].hasNormalMap);
    EXPECT_EQ(materials[2].normalMap->fileName, "maps/bikini_NRM.tga");
    // Too short to derive a name from: no normal map.
    EXPECT_TRUE(materials[3].hasTexture);
    EXPECT_FALSE(materials[3].hasNormalMap);
    EXPECT_EQ(materials[4].normalMap->fileName, "_NRM.tga");
    EXPECT_EQ(materials[5].normalMap->fileName, "stone_NRM.tga");

    // Copies of a material share its textures.
    const Material copy = materials[1];
    EXPECT_EQ(copy.texture, materials[1].texture);
}

TEST(MtlParserTest, HostileLibrariesAreReadWithoutHarm) {
    const std::string longName(100000, 'n');
    const std::vector<Material> materials = library(
        "newmtl " + longName + "\nmap_Kd " + longName + ".tga\n# " + std::string(5000, '#') +
        " newmtl hidden\nKd nan inf 1e99\n" + std::string("newmtl a\0b\n", 11) + "map_Kd");
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials[0].name, longName);
    EXPECT_EQ(materials[0].normalMap->fileName, longName + "_NRM.tga");
    EXPECT_TRUE(std::isnan(materials[0].diffuse.x));
    EXPECT_EQ(materials[0].diffuse.z, INFINITY);
    EXPECT_EQ(materials[1].name, std::string("a\0b", 3));
    EXPECT_FALSE(materials[1].hasTexture);
}

// Libraries named by "mtllib" are read from the working directory.
class MtllibTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = (std::filesystem::temp_directory_path() / "tidemoor-mtl-XXXXXX").string();
        ASSERT_NE(mkdtemp(folder.data()), nullptr);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }
    static void write(const std::string& name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }

    std::string folder;
    std::filesystem::path previous;
};

// Mended fault 5: "usemtl" took the material's id, which restarts at 0 in
// every library, so faces of a second library drew with the first one's
// materials. It now takes the material's position in the list.
TEST_F(MtllibTest, TwoLibrariesAppendAndUsemtlSelectsListPositions) {
    write("one.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
    write("two.mtl", "newmtl blue\nKd 0 0 1\nnewmtl red\nKd 1 0.5 0.5\n");
    write("model.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl green\nf 1 2 3\n"
                       "mtllib one.mtl\nusemtl green\nf 1 2 3\nmtllib missing.mtl\n"
                       "mtllib two.mtl\nusemtl blue\nf 1 2 3\nusemtl red\nf 1 2 3\n"
                       "mtllib .\nusemtl nothing\nf 1 2 3\n");
    std::vector<Material> materials;
    ObjData data;
    ASSERT_TRUE(loadObj(materials, "model.obj", data));
    ASSERT_EQ(materials.size(), 4u);
    std::vector<int32_t> ids;
    for (const Material& m : materials) {
        ids.push_back(m.id);
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{0, 1, 0, 1}));
    std::vector<uint32_t> faceMaterials;
    for (const ObjFace& face : data.faces) {
        faceMaterials.push_back(face.materialId);
    }
    // Before "mtllib" nothing is found: 0. The last "red" is the second
    // library's, and "usemtl nothing" keeps it.
    EXPECT_EQ(faceMaterials, (std::vector<uint32_t>{0, 1, 2, 3, 3}));
}

TEST_F(MtllibTest, MaterialsAreAppendedToTheCallersList) {
    write("lib.mtl", "newmtl mine\nmap_Kd wood.tga\n");
    write("model.obj", "mtllib lib.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl mine\nf 1 2 3\n");
    std::vector<Material> materials(2);
    materials[1].name = "earlier";
    ObjData data;
    ASSERT_TRUE(loadObj(materials, "model.obj", data));
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_EQ(materials[2].name, "mine");
    EXPECT_EQ(materials[2].texture->fileName, "wood.tga");
    ASSERT_EQ(data.faces.size(), 1u);
    EXPECT_EQ(data.faces[0].materialId, 2u);
}

} // namespace
