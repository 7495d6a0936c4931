// OBJ and MTL text: negated texture coordinates, full v/vt/vn corners,
// shared values written once, and the library the loader derives names from.
#include <string>

#include <gtest/gtest.h>

#include "tools/assets/obj_writer.h"

namespace {

using namespace assets;

Model squareModel() {
    Model model;
    model.objFile = "square.obj";
    model.mtlFile = "square.mtl";
    model.description = "A square.";
    Material paint;
    paint.name = "paint";
    paint.texture = "paint.tga";
    Material plain;
    plain.name = "plain";
    plain.texture = "plain.tga";
    model.materials = {paint, plain};
    MeshPart square;
    Vec3 up{0, 0, 1};
    square.addVertex({0, 0, 0}, {0.25f, 0.75f}, up);
    square.addVertex({1, 0, 0}, {1.0f, 0.75f}, up);
    square.addVertex({1, 1, 0}, {1.0f, 1.5f}, up);
    square.addVertex({0, 1, 0}, {0.25f, 1.5f}, up);
    square.addTriangle(0, 1, 2);
    square.addTriangle(0, 2, 3);
    model.add("plain", square);
    model.add("paint", square); // listed first: groups follow the library's order
    return model;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(ObjText, WritesNegatedTextureCoordinatesAndFullCorners) {
    std::string text = objText(squareModel());
    EXPECT_NE(text.find("mtllib square.mtl\n"), std::string::npos);
    EXPECT_NE(text.find("vt -0.25000 -0.75000\n"), std::string::npos);
    EXPECT_NE(text.find("vt -1.00000 -1.50000\n"), std::string::npos);
    EXPECT_EQ(count(text, "\nv "), 4u); // both groups share the four positions
    EXPECT_EQ(count(text, "\nvt "), 4u);
    EXPECT_EQ(count(text, "\nvn "), 1u);
    EXPECT_EQ(count(text, "\nf "), 4u);
    EXPECT_NE(text.find("usemtl paint\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\nusemtl plain\n"),
              std::string::npos);
    EXPECT_LT(text.rfind("\nvn "), text.find("\nf ")); // every value before the first face
}

TEST(MtlText, NamesEachMaterialWithItsColourMap) {
    std::string text = mtlText(squareModel());
    EXPECT_NE(text.find("newmtl paint\n"), std::string::npos);
    EXPECT_NE(text.find("map_Kd paint.tga\n"), std::string::npos);
    EXPECT_LT(text.find("newmtl paint"), text.find("newmtl plain"));
    EXPECT_EQ(normalMapName("paint.tga"), "paint_NRM.tga");
    EXPECT_EQ(normalMapName("donut.tga"), "donut_NRM.tga");
}

} // namespace
