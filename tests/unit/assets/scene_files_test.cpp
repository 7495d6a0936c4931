// The default scene the build wrote, read back the way the program reads it:
// the system's OBJ/MTL loader with its derived "_NRM.tga" names, and its TGA
// decoder. A file the program opens but the tool forgot, a face the loader
// drops or a texture it cannot decode would leave the scene incomplete.
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "geometry/obj_parser.h"
#include "resources/tga_image.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

bool decodes(const std::string& file) {
    TgaImage image;
    const bool decoded = loadTga(file.c_str(), &image) && image.pixels != nullptr;
    releaseTgaImage(image);
    return decoded;
}

TEST(SceneFiles, TheLoaderReadsEveryModelWholeWithItsTextures) {
    // The loader opens libraries and textures relative to the working directory.
    const WorkingDirectory inScene(TIDEMOOR_SCENE_DIR);
    EXPECT_TRUE(decodes("donut.tga"));
    EXPECT_TRUE(decodes("donut_NRM.tga"));
    std::set<std::string> maps;
    for (const char* model : {"bikinibottom.obj", "gary.obj", "spongebob.obj", "patrick.obj"}) {
        SCOPED_TRACE(model);
        std::vector<Material> materials;
        ObjData data;
        ASSERT_TRUE(loadObj(materials, model, data));
        EXPECT_GT(data.faces.size(), 100u);
        EXPECT_EQ(data.droppedFaces, 0u);
        EXPECT_FALSE(data.normals.empty());
        EXPECT_FALSE(data.texCoords.empty());
        ASSERT_FALSE(materials.empty());
        for (const Material& material : materials) {
            ASSERT_TRUE(material.hasTexture) << material.name;
            maps.insert(material.texture);
            if (material.hasNormalMap) {
                maps.insert(material.normalMap);
            }
        }
        for (const ObjFace& f : data.faces) {
            const FaceFrame face = faceFrame(data, f);
            const Vector3& n = face.normal;
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-3f) << "a degenerate face";
            ASSERT_TRUE(std::isfinite(face.tangent.x + face.tangent.y + face.tangent.z));
        }
    }
    // The sky dome's texture alone has no normal map.
    EXPECT_TRUE(maps.count("bikini.tga"));
    EXPECT_FALSE(fs::exists("bikini_NRM.tga"));
    for (const std::string& map : maps) {
        EXPECT_TRUE(decodes(map)) << map;
    }
}

} // namespace
