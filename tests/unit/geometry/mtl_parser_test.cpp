// Reading MTL libraries: which material a statement belongs to, colours read
// in part, the textures named (made later, apart), and libraries named by
// "mtllib" read from files.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/obj_parser.h"
#include "support/temp_folder.h"

namespace {

std::vector<Material> library(const std::string& text) {
    std::vector<Material> materials;
    loadMtl(text, materials);
    return materials;
}

std::vector<float> rgb(const Vector3& v) {
    return {v.x, v.y, v.z};
}

} // namespace

TEST(MtlParser, StatementsBeforeTheFirstNewmtlBelongToTheMaterialItNames) {
    const std::vector<Material> materials =
        library("Kd 0.5 0.25 1\nillum 2\nnewmtl first\nKs 1 1 1\nKs 0.5\nnewmtl second\n"
                "Ka 0.1 0.2\nillum 3\nillum none\nnewmtl");
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_EQ(rgb(materials[0].diffuse), (std::vector<float>{0.5f, 0.25f, 1}));
    EXPECT_EQ(rgb(materials[0].specular), (std::vector<float>{0.5f, 1, 1})); // read in part
    EXPECT_EQ(rgb(materials[1].ambient), (std::vector<float>{0.1f, 0.2f, 0}));
    EXPECT_TRUE(materials[0].illum == 2 && materials[1].illum == 3);
    const char* names[] = {"first", "second", ""}; // a last "newmtl" without a name counts
    for (int32_t id = 0; id < 3; ++id) {
        EXPECT_EQ(materials[id].name, names[id]);
        EXPECT_EQ(materials[id].id, id);
    }
    EXPECT_EQ(library("Kd 1 0 0\n").size(), 1u); // no "newmtl": one unnamed material
}

TEST(MtlParser, DiffuseMapsNameTheirTextureAndNormalMap) {
    // The last four characters make way for "_NRM.tga", except for exactly
    // "bikini.tga" and names too short to derive from.
    std::vector<std::string> named;
    for (const Material& m : library("newmtl sky\nmap_Kd bikini.tga\nnewmtl donut\n"
                                     "map_Kd maps/donut.tga\nnewmtl short\nmap_Kd a.b\n"
                                     "newmtl other\nmap_Kd stone.png\nnewmtl plain\n")) {
        for (const auto& [has, file] :
             {std::pair{m.hasTexture, m.texture}, std::pair{m.hasNormalMap, m.normalMap}}) {
            EXPECT_EQ(has, !file.empty());
            named.push_back(file.empty() ? "-" : file);
        }
    }
    EXPECT_EQ(named,
              (std::vector<std::string>{"bikini.tga", "-", "maps/donut.tga", "maps/donut_NRM.tga",
                                        "a.b", "-", "stone.png", "stone_NRM.tga", "-", "-"}));
}

// "usemtl" took the material's id, which restarts at 0 in every library, so
// faces of a second library drew with the first one's materials.
TEST(MtlParser, UsemtlSelectsListPositionsAcrossLibraries) {
    const TempFolder folder;
    const WorkingDirectory inFolder(folder.path); // libraries are named relative to it
    std::ofstream("one.mtl") << "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n";
    std::ofstream("two.mtl") << "newmtl blue\nKd 0 0 1\nnewmtl red\nKd 1 0.5 0.5\n";
    std::ofstream("model.obj") << "v 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl green\nf 1 2 3\n"
                                  "mtllib one.mtl\nusemtl green\nf 1 2 3\nmtllib missing.mtl\n"
                                  "mtllib two.mtl\nusemtl blue\nf 1 2 3\nusemtl red\nf 1 2 3\n";
    std::vector<Material> materials(1); // appended to what the caller holds
    ObjData data;
    ASSERT_TRUE(loadObj(materials, "model.obj", data));
    ASSERT_EQ(materials.size(), 5u);
    EXPECT_TRUE(materials[3].name == "blue" && materials[3].id == 0 && materials[4].id == 1);
    std::vector<uint32_t> faceMaterials;
    for (const ObjFace& face : data.faces) {
        faceMaterials.push_back(face.materialId);
    }
    // Before "mtllib" nothing is found (0); the last "red" is the second library's.
    EXPECT_EQ(faceMaterials, (std::vector<uint32_t>{0, 2, 3, 4}));
}
