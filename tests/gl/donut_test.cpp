// The donut: its placement and shadow matrices, what its upload puts in the
// buffers, vertex arrays and texture units, the state its draws set, and a
// rendered ring around an empty hole.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "geometry/donut.h"
#include "gl/gl_context.h"
#include "gl/model_programs.h"
#include "view/camera.h"
#include "view/light.h"
#include "view/model_matrices.h"

namespace {

using gltest::integer;
using gltest::readBuffer;
using gltest::textureOnUnit;
using gltest::uniformFloats;
using gltest::uniformInt;

std::array<float, 16> values(const Matrix& m) {
    std::array<float, 16> out{};
    std::copy(std::begin(m.m), std::end(m.m), out.begin());
    return out;
}

// A light straight above the scene and a viewer off to the side.
void placeCameras(Camera& camera, Light& light) {
    camera.eye = {4, 3, 12};
    updateCamera(camera);
    light.camera.eye = {0, 25, 0};
    light.camera.up = {0, 0, -1};
    updateCamera(light.camera);
}

TEST(DonutMatrices, CreationPlacementLaysTheDonutFlatAtItsPosition) {
    Camera camera;
    Light light;
    placeCameras(camera, light);
    DonutModel donut;
    donut.camera = &camera;
    donut.light = &light;
    updateDonutMatrices(donut);

    // Rotated about its own centre, then moved: the torus axis points along
    // world -y, and torus vertex 0 (1.5, 0, 0) lands at (-2, 2, 7).
    const float expected[16] = {0, 0, 1, 0, -1, 0, 0, 0, 0, -1, 0, 0, -2, 2, 5.5f, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(donut.modelMatrix[i], expected[i], 1e-6f) << i;
    }
    ShapeData shape;
    createTorus(&shape, 0.5f, 1.0f);
    const float landed[3] = {-2, 2, 7};
    for (int row = 0; row < 3; ++row) {
        float world = 0.0f;
        for (int k = 0; k < 4; ++k) {
            world += donut.modelMatrix[4 * k + row] * shape.positions[k];
        }
        EXPECT_NEAR(world, landed[row], 1e-6f) << row;
    }
    destroyShape(&shape);

    Matrix product;
    multiply(product, camera.viewMatrix, donut.modelMatrix);
    EXPECT_EQ(values(donut.modelViewMatrix), values(product));
    multiply(product, light.camera.viewMatrix, donut.modelMatrix);
    EXPECT_EQ(values(donut.lightModelViewMatrix), values(product));

    Matrix copied;
    EXPECT_EQ(&copyModelMatrix(donut, copied), &copied);
    EXPECT_EQ(values(copied), values(donut.modelMatrix));
    EXPECT_EQ(values(copyModelViewMatrix(donut, copied)), values(donut.modelViewMatrix));
    EXPECT_EQ(values(copyLightModelViewMatrix(donut, copied)), values(donut.lightModelViewMatrix));
}

TEST(DonutMatrices, ShadowMatrixWithIdentityCameraViewIsBiasProjectionLightView) {
    Camera camera;
    Light light;
    placeCameras(camera, light);
    identity(camera.viewMatrix);
    DonutModel donut;
    donut.camera = &camera;
    donut.light = &light;
    updateDonutShadowMatrix(donut);

    const float bias[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1};
    EXPECT_TRUE(std::equal(std::begin(bias), std::end(bias), std::begin(biasMatrix.m)));
    Matrix expected;
    multiply(expected, biasMatrix, camera.projectionMatrix);
    multiply(expected, expected, light.camera.viewMatrix);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(donut.shadowMatrix[i], expected[i], 1e-6f) << i;
    }
}

class DonutTest : public gltest::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        depth = gltest::makeDepthProgram();
        lit = gltest::makeLitProgram();
        ASSERT_NE(depth.program, 0u);
        ASSERT_NE(lit.program, 0u);
        donut = createDonut();
        createTorus(&donut.shape, 0.5f, 1.0f);
        donut.indexCount = donut.shape.numberIndices;
        glGenTextures(2, textures);
        for (GLuint texture : textures) {
            glBindTexture(GL_TEXTURE_2D, texture); // creates it
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        donut.textureId = textures[0];
        donut.normalMapId = textures[1];
    }

    void TearDown() override {
        glBindVertexArray(0);
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
        destroyShape(&donut.shape);
        GLuint arrays[] = {donut.litVertexArray, donut.depthVertexArray};
        GLuint buffers[] = {donut.positionBuffer, donut.normalBuffer, donut.tangentBuffer,
                            donut.texCoordBuffer, donut.indexBuffer};
        glDeleteVertexArrays(2, arrays);
        glDeleteBuffers(5, buffers);
        glDeleteTextures(2, textures);
        destroyProgram(&depth);
        destroyProgram(&lit);
        GlTest::TearDown();
    }

    ShaderProgram depth, lit;
    DonutModel donut;
    GLuint textures[2] = {};
};

TEST_F(DonutTest, UploadCopiesTheShapeReleasesItAndKeepsTheIndexCount) {
    ShapeData reference;
    createTorus(&reference, 0.5f, 1.0f);
    uploadDonut(donut, depth, lit);

    EXPECT_EQ(donut.shape.numberVertices, 0u);
    EXPECT_EQ(donut.shape.numberIndices, 0u);
    EXPECT_EQ(donut.shape.positions, nullptr);
    EXPECT_EQ(donut.indexCount, 6144u);

    // Texture coordinates go up as generated, not negated.
    using Floats = std::vector<float>;
    EXPECT_EQ(readBuffer<float>(donut.positionBuffer),
              Floats(reference.positions, reference.positions + 1089 * 4));
    EXPECT_EQ(readBuffer<float>(donut.normalBuffer),
              Floats(reference.normals, reference.normals + 1089 * 3));
    EXPECT_EQ(readBuffer<float>(donut.tangentBuffer),
              Floats(reference.tangents, reference.tangents + 1089 * 3));
    EXPECT_EQ(readBuffer<float>(donut.texCoordBuffer),
              Floats(reference.texCoords, reference.texCoords + 1089 * 2));
    EXPECT_EQ(readBuffer<uint32_t>(donut.indexBuffer),
              std::vector<uint32_t>(reference.indices, reference.indices + 6144));
    destroyShape(&reference);

    // Colour texture on unit 1, normal map on unit 2, unit 2 left active.
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE2);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), textures[0]);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE2), textures[1]);

    gltest::expectVertexArray(donut.depthVertexArray, donut.indexBuffer,
                              {{depth.vertex, donut.positionBuffer, 4}});
    gltest::expectVertexArray(donut.litVertexArray, donut.indexBuffer,
                              {{lit.vertex, donut.positionBuffer, 4},
                               {lit.normal, donut.normalBuffer, 3},
                               {lit.tangent, donut.tangentBuffer, 3},
                               {lit.texCoord, donut.texCoordBuffer, 2}});
}

TEST_F(DonutTest, DrawsSendTheirMatricesFlagsAndColourAndAllIndices) {
    Camera camera;
    Light light;
    placeCameras(camera, light);
    donut.camera = &camera;
    donut.light = &light;
    uploadDonut(donut, depth, lit);
    updateDonutMatrices(donut);
    updateDonutShadowMatrix(donut);

    glUseProgram(depth.program);
    EXPECT_EQ(gltest::countPrimitives([&] {
                  drawDonutDepth(donut, depth, donut.modelMatrix, donut.lightModelViewMatrix);
              }),
              2048u);
    EXPECT_EQ(uniformFloats<16>(depth.program, depth.modelMatrix), values(donut.modelMatrix));
    EXPECT_EQ(uniformFloats<16>(depth.program, depth.modelViewMatrix),
              values(donut.lightModelViewMatrix));

    // The colour is the same whether or not the textures loaded; the flags
    // are the donut's own.
    glUseProgram(lit.program);
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded ? "textures loaded" : "textures missing");
        donut.useTexture = loaded;
        donut.useNormalMapping = loaded;
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE2);
        glBindTexture(GL_TEXTURE_2D, 0);
        EXPECT_EQ(gltest::countPrimitives(
                      [&] { drawDonutLit(donut, lit, donut.shadowMatrix, donut.modelViewMatrix); }),
                  2048u);
        EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse),
                  (std::array{0.33f, 0.22f, 0.5f, 1.0f}));
        EXPECT_EQ(uniformInt(lit.program, lit.useTexture), loaded ? 1 : 0);
        EXPECT_EQ(uniformInt(lit.program, lit.useNormalMapping), loaded ? 1 : 0);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE1), loaded ? textures[0] : 0);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE2), loaded ? textures[1] : 0);
        EXPECT_EQ(uniformFloats<16>(lit.program, lit.shadowMatrix), values(donut.shadowMatrix));
        EXPECT_EQ(uniformFloats<16>(lit.program, lit.modelViewMatrix),
                  values(donut.modelViewMatrix));
    }
}

// Regression: a shader that failed to build left program 0 and locations -1,
// and the upload and the draws then raised GL errors.
TEST_F(DonutTest, FailedProgramsUploadAndDrawWithoutGlError) {
    ShaderProgram failed; // what a failed build leaves: name 0, every slot -1
    uploadDonut(donut, failed, failed);
    ASSERT_NO_GL_ERROR();
    EXPECT_EQ(readBuffer<float>(donut.positionBuffer).size(), 1089u * 4u);
    gltest::expectVertexArray(donut.litVertexArray, donut.indexBuffer, {});
    glUseProgram(0); // the failed program is the one in use
    drawDonutDepth(donut, failed, donut.modelMatrix, donut.lightModelViewMatrix);
    drawDonutLit(donut, failed, donut.shadowMatrix, donut.modelViewMatrix);
    glUseProgram(lit.program); // or another one: still nothing is drawn
    EXPECT_EQ(gltest::countPrimitives(
                  [&] { drawDonutLit(donut, failed, donut.shadowMatrix, donut.modelViewMatrix); }),
              0u);
    EXPECT_EQ(gltest::countPrimitives([&] {
                  drawDonutDepth(donut, failed, donut.modelMatrix, donut.lightModelViewMatrix);
              }),
              0u);
}

// Wrong index data or attribute set-up shows as a filled hole or a broken
// ring.
TEST_F(DonutTest, RendersARingAroundAnEmptyHole) {
    uploadDonut(donut, depth, lit);
    Camera camera;
    Light light;
    identity(camera.viewMatrix);
    identity(light.camera.viewMatrix);
    donut.camera = &camera;
    donut.light = &light;
    donut.position = {0, 0, 0};
    donut.rotation = {0, 0, 0};
    updateDonutMatrices(donut);
    identity(donut.shadowMatrix);

    glViewport(0, 0, 64, 64);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(lit.program);
    // Scaled by 0.5, the tube spans 8 to 24 pixels from the centre.
    Matrix projection;
    identity(projection);
    projection[0] = projection[5] = projection[10] = 0.5f;
    glUniformMatrix4fv(lit.projectionMatrix, 1, GL_FALSE, projection.m);
    drawDonutLit(donut, lit, donut.shadowMatrix, donut.modelViewMatrix);

    auto pixel = [](int x, int y) {
        std::array<unsigned char, 4> rgba{};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    };
    EXPECT_EQ(pixel(32, 32)[2], 0) << "the hole";
    EXPECT_EQ(pixel(2, 2)[2], 0) << "outside";
    for (auto [x, y] : {std::pair{48, 32}, {16, 32}, {32, 48}, {32, 16}, {44, 44}}) {
        std::array<unsigned char, 4> ring = pixel(x, y);
        EXPECT_NEAR(ring[0], 84, 1) << x << ", " << y; // 0.33
        EXPECT_NEAR(ring[1], 56, 1) << x << ", " << y; // 0.22
        EXPECT_NEAR(ring[2], 128, 1) << x << ", " << y;
    }
}

} // namespace
