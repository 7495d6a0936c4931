// The files the tool writes, read back the way the program reads them: the
// system's OBJ/MTL loader, its TGA decoder, and the derived "_NRM.tga" names.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "geometry/obj_parser.h"
#include "resources/tga_image.h"
#include "tools/assets/obj_writer.h"
#include "tools/assets/scene_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace assets;

class SceneFiles : public testing::Test {
protected:
    static void SetUpTestSuite() {
        scene_ = new SceneAssets(buildScene());
        folder_ = new fs::path(fs::temp_directory_path() /
                               ("tidemoor-assets-test-" + std::to_string(getpid())));
        fs::create_directories(*folder_);
        std::vector<std::string> written;
        std::string error;
        ASSERT_TRUE(writeScene(*scene_, folder_->string(), written, error)) << error;
        written_ = new std::set<std::string>(written.begin(), written.end());
    }
    static void TearDownTestSuite() {
        fs::remove_all(*folder_);
        delete written_;
        delete folder_;
        delete scene_;
    }

    static std::string read(const std::string& name) {
        std::ifstream file(*folder_ / name, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static SceneAssets* scene_;
    static fs::path* folder_;
    static std::set<std::string>* written_;
};

SceneAssets* SceneFiles::scene_ = nullptr;
fs::path* SceneFiles::folder_ = nullptr;
std::set<std::string>* SceneFiles::written_ = nullptr;

TEST_F(SceneFiles, EveryFileTheProgramOpensIsThere) {
    for (const char* name : {"bikinibottom.obj", "gary.obj", "spongebob.obj", "patrick.obj",
                             "donut.tga", "donut_NRM.tga", "bikini.tga"}) {
        EXPECT_TRUE(fs::is_regular_file(*folder_ / name)) << name;
    }
    EXPECT_FALSE(fs::exists(*folder_ / "bikini_NRM.tga"));
    for (const std::string& name : *written_) {
        EXPECT_TRUE(fs::is_regular_file(*folder_ / name)) << name;
    }
}

// Words of each line of an OBJ or MTL text.
std::vector<std::vector<std::string>> statements(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> list;
        std::string word;
        while (words >> word) {
            list.push_back(word);
        }
        if (!list.empty() && list[0] != "#") {
            lines.push_back(list);
        }
    }
    return lines;
}

TEST_F(SceneFiles, ObjFilesWriteFullTrianglesAfterAllTheirVertices) {
    for (const Model& model : scene_->models) {
        SCOPED_TRACE(model.objFile);
        size_t v = 0;
        size_t vt = 0;
        size_t vn = 0;
        size_t faces = 0;
        bool library = false;
        for (const auto& words : statements(read(model.objFile))) {
            const std::string& key = words[0];
            if (key == "mtllib") {
                library = words.size() == 2 && fs::is_regular_file(*folder_ / words[1]);
            } else if (key == "v" || key == "vt" || key == "vn") {
                EXPECT_EQ(faces, 0u) << "a vertex statement after the first face";
                (key == "v" ? v : key == "vt" ? vt : vn) += 1;
            } else if (key == "f") {
                ASSERT_EQ(words.size(), 4u);
                for (size_t k = 1; k < 4; ++k) {
                    size_t a = 0, b = 0, c = 0;
                    char slash1 = 0, slash2 = 0;
                    std::istringstream corner(words[k]);
                    corner >> a >> slash1 >> b >> slash2 >> c;
                    ASSERT_TRUE(corner && slash1 == '/' && slash2 == '/') << words[k];
                    EXPECT_TRUE(a >= 1 && a <= v && b >= 1 && b <= vt && c >= 1 && c <= vn)
                        << words[k];
                }
                ++faces;
            }
        }
        EXPECT_TRUE(library);
        EXPECT_EQ(faces, triangleCount(model));
    }
}

TEST_F(SceneFiles, TheSystemsLoaderReadsEveryModelWhole) {
    // The loader opens libraries and textures relative to the working directory.
    fs::path previous = fs::current_path();
    fs::current_path(*folder_);
    for (const Model& model : scene_->models) {
        SCOPED_TRACE(model.objFile);
        std::vector<::Material> materials;
        ObjData data;
        ASSERT_TRUE(loadObj(materials, model.objFile, data));
        EXPECT_EQ(data.faces.size(), triangleCount(model));
        EXPECT_FALSE(data.normals.empty());
        ASSERT_EQ(materials.size(), model.materials.size());
        for (size_t i = 0; i < materials.size(); ++i) {
            EXPECT_EQ(materials[i].name, model.materials[i].name);
            EXPECT_TRUE(materials[i].hasTexture);
            EXPECT_EQ(materials[i].hasNormalMap, model.materials[i].texture != "bikini.tga");
        }
        int unusable = 0;
        for (const ObjFace& face : data.faces) {
            bool finite = std::isfinite(face.tangent.x) && std::isfinite(face.tangent.y) &&
                          std::isfinite(face.tangent.z) && std::isfinite(face.normal.x);
            float normalLength = face.normal.x * face.normal.x + face.normal.y * face.normal.y +
                                 face.normal.z * face.normal.z;
            unusable += finite && normalLength > 0.99f ? 0 : 1;
        }
        EXPECT_EQ(unusable, 0) << "degenerate faces";
    }
    fs::current_path(previous);
}

struct TgaHeader {
    int type = 0;
    int depth = 0;
    int width = 0;
    int height = 0;
};

TgaHeader header(const std::string& bytes) {
    auto u8 = [&](size_t i) { return static_cast<int>(static_cast<uint8_t>(bytes[i])); };
    return {u8(2), u8(16), u8(12) | u8(13) << 8, u8(14) | u8(15) << 8};
}

TEST_F(SceneFiles, EveryColourMapHasItsNormalMapExceptTheSky) {
    std::set<std::pair<int, int>> kinds; // (image type, depth) of the colour maps
    for (const Model& model : scene_->models) {
        for (const auto& words : statements(read(model.mtlFile))) {
            if (words[0] != "map_Kd") {
                continue;
            }
            const std::string& colour = words[1];
            SCOPED_TRACE(colour);
            TgaImage image;
            ASSERT_TRUE(loadTga((*folder_ / colour).c_str(), &image));
            TgaHeader h = header(read(colour));
            kinds.insert({h.type, h.depth});
            std::string normal = normalMapName(colour);
            if (colour == "bikini.tga") {
                EXPECT_FALSE(fs::exists(*folder_ / normal));
            } else {
                TgaImage normals;
                ASSERT_TRUE(loadTga((*folder_ / normal).c_str(), &normals)) << normal;
                EXPECT_EQ(normals.format, uint32_t{GL_RGB});
                EXPECT_EQ(normals.width, image.width);
                EXPECT_EQ(normals.height, image.height);
                releaseTgaImage(normals);
            }
            for (int side : {h.width, h.height}) {
                EXPECT_TRUE(side >= 256 && side <= 1024 && (side & (side - 1)) == 0) << side;
            }
            releaseTgaImage(image);
        }
    }
    kinds.insert({header(read("donut.tga")).type, header(read("donut.tga")).depth});
    std::set<int> types;
    std::set<int> depths;
    for (auto [type, depth] : kinds) {
        types.insert(type);
        depths.insert(depth);
    }
    EXPECT_EQ(types, (std::set<int>{2, 10}));
    EXPECT_EQ(depths, (std::set<int>{24, 32}));
}

TEST_F(SceneFiles, ABuildWritesTheSameBytesEveryTime) {
    SceneAssets again = buildScene();
    ASSERT_EQ(again.models.size(), scene_->models.size());
    for (size_t i = 0; i < again.models.size(); ++i) {
        EXPECT_EQ(objText(again.models[i]), read(scene_->models[i].objFile));
        EXPECT_EQ(mtlText(again.models[i]), read(scene_->models[i].mtlFile));
    }
    ASSERT_EQ(again.textures.size(), scene_->textures.size());
    for (size_t i = 0; i < again.textures.size(); ++i) {
        const TextureFile& texture = again.textures[i];
        std::vector<uint8_t> bytes = encodeTga(texture.colour, texture.encoding);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), read(texture.fileName))
            << texture.fileName;
    }
}

} // namespace
