// Meshes on the GPU: what the upload puts in each buffer and vertex array,
// the state each pass sets per group, the placement matrices, and rendered
// pixels. Groups are made by hand, as the builder leaves them.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

#include "geometry/donut.h"
#include "geometry/mesh_buffers.h"
#include "gl/gl_context.h"
#include "gl/model_programs.h"
#include "resources/texture.h"
#include "view/camera.h"
#include "view/light.h"
#include "view/model_matrices.h"

namespace {

using gltest::integer;
using gltest::readBuffer;
using gltest::textureOnUnit;
using gltest::uniformFloats;
using gltest::uniformInt;
using Floats = std::vector<float>;
using Colour = std::array<float, 4>;

// count vertices, vertex k at (k, 2k, 3k) with normal (0, 0, 1 + k), tangent
// (1 + k, 0, 0) and texture coordinate (0.25 k, 0.75 k).
MeshGroup makeGroup(uint32_t count, std::vector<uint32_t> indices, uint32_t materialIndex = 0) {
    MeshGroup group;
    group.materialIndex = materialIndex;
    for (uint32_t k = 0; k < count; ++k) {
        const auto f = static_cast<float>(k);
        group.geometry.positions.push_back({f, 2 * f, 3 * f});
        group.geometry.normals.push_back({0, 0, 1 + f});
        group.geometry.tangents.push_back({1 + f, 0, 0});
        group.geometry.texCoords.push_back({0.25f * f, 0.75f * f});
    }
    group.geometry.indices = std::move(indices);
    group.vertexCount = count;
    group.indexCount = static_cast<uint32_t>(group.geometry.indices.size());
    return group;
}

Material untextured(Vector3 diffuse, Vector3 specular) {
    Material material;
    material.diffuse = diffuse;
    material.specular = specular;
    return material;
}

std::array<float, 16> values(const Matrix& m) {
    std::array<float, 16> out{};
    std::copy(std::begin(m.m), std::end(m.m), out.begin());
    return out;
}

class MeshBuffersTest : public gltest::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        depth = gltest::makeDepthProgram();
        lit = gltest::makeLitProgram();
        ASSERT_NE(depth.program, 0u);
        ASSERT_NE(lit.program, 0u);
        identity(camera.viewMatrix);
        identity(light.camera.viewMatrix);
        mesh.camera = &camera;
        mesh.light = &light;
    }

    void TearDown() override {
        glUseProgram(0);
        for (MeshGroup& g : mesh.groups) {
            GLuint arrays[] = {g.litVertexArray, g.depthVertexArray};
            GLuint buffers[] = {g.positionBuffer, g.normalBuffer, g.tangentBuffer, g.texCoordBuffer,
                                g.indexBuffer};
            glDeleteVertexArrays(2, arrays);
            glDeleteBuffers(5, buffers);
        }
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        destroyProgram(&depth);
        destroyProgram(&lit);
        GlTest::TearDown();
    }

    GLuint newTexture() {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name); // creates it
        glBindTexture(GL_TEXTURE_2D, 0);
        textures.push_back(name);
        return name;
    }

    Material textured(bool withNormalMap) {
        Material material = untextured({0.9f, 0.1f, 0.1f}, {0.2f, 0.2f, 0.2f});
        material.hasTexture = true;
        material.texture = std::make_shared<Texture>();
        material.texture->textureId = newTexture();
        material.hasNormalMap = withNormalMap;
        if (withNormalMap) {
            material.normalMap = std::make_shared<Texture>();
            material.normalMap->textureId = newTexture();
        }
        return material;
    }

    // A fresh texture on units 1 and 2, so a draw that leaves them alone can
    // be told from one that binds something.
    GLuint bindSentinel() {
        GLuint sentinel = newTexture();
        for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE2}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, sentinel);
        }
        glActiveTexture(GL_TEXTURE0);
        return sentinel;
    }

    GLuint draw(int pass) {
        glUseProgram(pass == depthPass ? depth.program : lit.program);
        return gltest::countPrimitives([&] { drawMesh(mesh, pass); });
    }

    ShaderProgram depth, lit;
    Camera camera;
    Light light;
    Mesh mesh;
    std::vector<GLuint> textures;
};

TEST_F(MeshBuffersTest, UploadFillsBuffersAndVertexArraysAndReleasesTheLists) {
    mesh.groups.push_back(makeGroup(3, {2, 0, 1, 1, 2, 0}));
    uploadMesh(mesh, depth, lit);
    EXPECT_EQ(mesh.depthProgram, &depth);
    EXPECT_EQ(mesh.textureProgram, &lit);
    const MeshGroup& g = mesh.groups[0];

    // Positions gain w = 1; texture coordinates reach the GPU negated.
    EXPECT_EQ(readBuffer<float>(g.positionBuffer), (Floats{0, 0, 0, 1, 1, 2, 3, 1, 2, 4, 6, 1}));
    EXPECT_EQ(readBuffer<float>(g.normalBuffer), (Floats{0, 0, 1, 0, 0, 2, 0, 0, 3}));
    EXPECT_EQ(readBuffer<float>(g.tangentBuffer), (Floats{1, 0, 0, 2, 0, 0, 3, 0, 0}));
    EXPECT_EQ(readBuffer<float>(g.texCoordBuffer), (Floats{0, 0, -0.25f, -0.75f, -0.5f, -1.5f}));
    EXPECT_EQ(readBuffer<uint32_t>(g.indexBuffer), (std::vector<uint32_t>{2, 0, 1, 1, 2, 0}));

    gltest::expectVertexArray(g.depthVertexArray, g.indexBuffer,
                              {{depth.vertex, g.positionBuffer, 4}});
    gltest::expectVertexArray(g.litVertexArray, g.indexBuffer,
                              {{lit.vertex, g.positionBuffer, 4},
                               {lit.normal, g.normalBuffer, 3},
                               {lit.tangent, g.tangentBuffer, 3},
                               {lit.texCoord, g.texCoordBuffer, 2}});

    // The counts now describe the buffers; the CPU copies are gone.
    EXPECT_EQ(g.vertexCount, 3u);
    EXPECT_EQ(g.indexCount, 6u);
    EXPECT_EQ(g.geometry.positions.capacity() + g.geometry.normals.capacity() +
                  g.geometry.tangents.capacity() + g.geometry.texCoords.capacity() +
                  g.geometry.indices.capacity(),
              0u);
    EXPECT_EQ(g.positionData.capacity() + g.normalData.capacity() + g.tangentData.capacity() +
                  g.texCoordData.capacity() + g.indexData.capacity(),
              0u);
}

// Lists sized per face hold more entries than the group's vertices; a short
// list is padded, never read past.
TEST_F(MeshBuffersTest, VertexBuffersHoldVertexCountEntriesWhateverTheListLengths) {
    MeshGroup group = makeGroup(6, {0, 1, 2, 0, 2, 3});
    group.vertexCount = 4;
    group.geometry.normals.resize(2);
    group.geometry.texCoords.clear();
    mesh.groups.push_back(std::move(group));
    uploadMesh(mesh, depth, lit);
    const MeshGroup& g = mesh.groups[0];
    EXPECT_EQ(readBuffer<float>(g.positionBuffer).size(), 16u);
    EXPECT_EQ(readBuffer<float>(g.normalBuffer), (Floats{0, 0, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(readBuffer<float>(g.texCoordBuffer), Floats(8, 0.0f));
}

TEST_F(MeshBuffersTest, PassesZeroAndOneDrawEveryGroupAndOtherPassesNothing) {
    mesh.materials.push_back(textured(true));
    mesh.normalMappingEnabled = true;
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}));
    mesh.groups.push_back(makeGroup(4, {0, 1, 2, 0, 2, 3}));
    mesh.groups.push_back(MeshGroup{}); // empty: buffers of size 0, drawn with count 0
    uploadMesh(mesh, depth, lit);
    EXPECT_NE(mesh.groups[2].indexBuffer, 0u);
    EXPECT_TRUE(readBuffer<uint32_t>(mesh.groups[2].indexBuffer).empty());
    EXPECT_EQ(draw(depthPass), 3u);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING),
              static_cast<GLint>(mesh.groups[2].depthVertexArray));
    EXPECT_EQ(draw(litPass), 3u);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), static_cast<GLint>(mesh.groups[2].litVertexArray));

    GLuint sentinel = bindSentinel();
    glBindVertexArray(0);
    glUniform1i(lit.useTexture, 7);
    for (int pass : {2, -1}) {
        EXPECT_EQ(draw(pass), 0u) << pass;
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0) << pass;
        EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0) << pass;
        EXPECT_EQ(textureOnUnit(GL_TEXTURE1), sentinel) << pass;
        EXPECT_EQ(textureOnUnit(GL_TEXTURE2), sentinel) << pass;
        EXPECT_EQ(uniformInt(lit.program, lit.useTexture), 7) << pass;
    }
}

// Regression: a shader that failed to build left program 0 and locations -1,
// and the upload and the draws then raised GL errors.
TEST_F(MeshBuffersTest, FailedProgramsUploadAndDrawWithoutGlError) {
    ShaderProgram failed; // what a failed build leaves: name 0, every slot -1
    mesh.materials.push_back(textured(true));
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}));
    uploadMesh(mesh, failed, failed);
    ASSERT_NO_GL_ERROR();
    EXPECT_EQ(readBuffer<float>(mesh.groups[0].positionBuffer).size(), 12u);
    gltest::expectVertexArray(mesh.groups[0].litVertexArray, mesh.groups[0].indexBuffer, {});
    glUseProgram(0); // the failed program is the one in use
    drawMesh(mesh, depthPass);
    drawMesh(mesh, litPass);
    glUseProgram(lit.program); // or another one: still nothing is drawn
    EXPECT_EQ(gltest::countPrimitives([&] { drawMesh(mesh, litPass); }), 0u);
    EXPECT_EQ(gltest::countPrimitives([&] { drawMesh(mesh, depthPass); }), 0u);
}

TEST_F(MeshBuffersTest, DepthPassSendsModelAndLightModelViewMatrices) {
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}));
    uploadMesh(mesh, depth, lit);
    mesh.rotation = {10, 20, 30};
    translate(light.camera.viewMatrix, 0, 0, -5);
    updateMeshMatrices(mesh);
    draw(depthPass);
    EXPECT_EQ(uniformFloats<16>(depth.program, depth.modelMatrix), values(mesh.modelMatrix));
    EXPECT_EQ(uniformFloats<16>(depth.program, depth.modelViewMatrix),
              values(mesh.lightModelViewMatrix));
}

TEST_F(MeshBuffersTest, LitPassSetsEachGroupsMaterialState) {
    mesh.materials.push_back(untextured({0.8f, 0.6f, 0.4f}, {0.5f, 0.5f, 0.5f}));
    mesh.materials.push_back(textured(false));
    mesh.materials.push_back(textured(true));
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}));
    uploadMesh(mesh, depth, lit);
    MeshGroup& group = mesh.groups[0];
    translate(camera.viewMatrix, 0, 0, -4);
    updateMeshMatrices(mesh);
    updateMeshShadowMatrix(mesh);
    const Material& mapped = mesh.materials[2];
    struct Case {
        uint32_t material;
        bool switchOn;
        Colour diffuse;
        GLint useTexture, useNormalMapping;
        GLuint unit1, unit2; // 0: left as it was
    };
    // Untextured: the material's diffuse with its specular red as fourth
    // component. Textured: a fixed colour; the normal map only while the
    // scene's switch is on and the material has one.
    const Case cases[] = {
        {0, true, {0.8f, 0.6f, 0.4f, 0.5f}, 0, 0, 0, 0},
        {2, false, {0.3f, 0.3f, 1.0f, 1.0f}, 1, 0, mapped.texture->textureId, 0},
        {2,
         true,
         {0.3f, 0.3f, 1.0f, 1.0f},
         1,
         1,
         mapped.texture->textureId,
         mapped.normalMap->textureId},
        {1, true, {0.3f, 0.3f, 1.0f, 1.0f}, 1, 0, mesh.materials[1].texture->textureId, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "material " << c.material << " switch " << c.switchOn);
        group.materialIndex = c.material;
        mesh.normalMappingEnabled = c.switchOn;
        GLuint sentinel = bindSentinel();
        EXPECT_EQ(draw(litPass), 1u);
        EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse), c.diffuse);
        EXPECT_EQ(uniformInt(lit.program, lit.useTexture), c.useTexture);
        EXPECT_EQ(uniformInt(lit.program, lit.useNormalMapping), c.useNormalMapping);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE1), c.unit1 != 0 ? c.unit1 : sentinel);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE2), c.unit2 != 0 ? c.unit2 : sentinel);
        EXPECT_EQ(uniformFloats<16>(lit.program, lit.modelViewMatrix),
                  values(mesh.modelViewMatrix));
        EXPECT_EQ(uniformFloats<16>(lit.program, lit.shadowMatrix), values(mesh.shadowMatrix));
    }
}

TEST_F(MeshBuffersTest, EveryGroupSendsItsOwnMaterialState) {
    mesh.materials.push_back(textured(false));
    mesh.materials.push_back(untextured({0.1f, 0.2f, 0.3f}, {0.4f, 0.0f, 0.0f}));
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}, 0));
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}, 1));
    uploadMesh(mesh, depth, lit);
    EXPECT_EQ(draw(litPass), 2u);
    // The first group bound its texture; the second one's colour stays set.
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), mesh.materials[0].texture->textureId);
    EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse), (Colour{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(uniformInt(lit.program, lit.useTexture), 0);
}

// Regression: a model without materials indexed past its material list.
TEST_F(MeshBuffersTest, ModelWithoutMaterialsDrawsUntexturedInTheNeutralColour) {
    mesh.groups.push_back(makeGroup(3, {0, 1, 2}));
    uploadMesh(mesh, depth, lit);
    GLuint sentinel = bindSentinel();
    glUseProgram(lit.program);
    glUniform1i(lit.useTexture, 1);
    glUniform1i(lit.useNormalMapping, 1);
    EXPECT_EQ(draw(litPass), 1u);
    EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse),
              (Colour{neutralDiffuse[0], neutralDiffuse[1], neutralDiffuse[2], neutralDiffuse[3]}));
    EXPECT_EQ(uniformInt(lit.program, lit.useTexture), 0);
    EXPECT_EQ(uniformInt(lit.program, lit.useNormalMapping), 0);
    EXPECT_EQ(textureOnUnit(GL_TEXTURE1), sentinel);
}

// A wrong index type, attribute size or element binding shows in the picture.
TEST_F(MeshBuffersTest, BothPassesRenderTheGroupWhereItsIndicesPutIt) {
    mesh.materials.push_back(untextured({0.8f, 0.6f, 0.4f}, {0.5f, 0.5f, 0.5f}));
    MeshGroup quad = makeGroup(4, {0, 1, 2, 0, 2, 3});
    quad.geometry.positions = {{-1, -1, 0}, {0, -1, 0}, {0, 1, 0}, {-1, 1, 0}}; // left half
    mesh.groups.push_back(std::move(quad));
    uploadMesh(mesh, depth, lit);
    updateMeshMatrices(mesh);
    identity(mesh.shadowMatrix);

    auto render = [&](const ShaderProgram& program, int pass) {
        glViewport(0, 0, 64, 64);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glUseProgram(program.program);
        Matrix projection;
        identity(projection);
        glUniformMatrix4fv(program.projectionMatrix, 1, GL_FALSE, projection.m);
        draw(pass);
        std::array<unsigned char, 8> pixels{}; // x = 16 (inside), x = 48 (outside)
        glReadPixels(16, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glReadPixels(48, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data() + 4);
        return pixels;
    };
    std::array<unsigned char, 8> litPixels = render(lit, litPass);
    EXPECT_NEAR(litPixels[0], 204, 1);
    EXPECT_NEAR(litPixels[1], 153, 1);
    EXPECT_NEAR(litPixels[2], 102, 1);
    EXPECT_EQ(litPixels[4] + litPixels[5] + litPixels[6], 0);
    std::array<unsigned char, 8> depthPixels = render(depth, depthPass);
    EXPECT_EQ(depthPixels[0], 255);
    EXPECT_EQ(depthPixels[4], 0);
}

TEST(MeshMatrices, RotationBeforeTranslationAndTheShadowMatrix) {
    Camera camera;
    Light light;
    camera.eye = {4, 3, 12};
    updateCamera(camera);
    light.camera.eye = {0, 25, 0};
    light.camera.up = {0, 0, -1};
    updateCamera(light.camera);
    Mesh mesh;
    mesh.camera = &camera;
    mesh.light = &light;
    mesh.rotation = {0, 90, 0};
    mesh.position = {1, 0, 0};
    updateMeshMatrices(mesh);
    updateMeshShadowMatrix(mesh);

    // The translation runs in the rotated frame: x turns into -z.
    const float translation[4] = {0, 0, -1, 1};
    for (int row = 0; row < 4; ++row) {
        EXPECT_NEAR(mesh.modelMatrix[12 + row], translation[row], 1e-6f) << row;
    }
    Matrix expected;
    multiply(expected, camera.viewMatrix, mesh.modelMatrix);
    EXPECT_EQ(values(mesh.modelViewMatrix), values(expected));
    multiply(expected, light.camera.viewMatrix, mesh.modelMatrix);
    EXPECT_EQ(values(mesh.lightModelViewMatrix), values(expected));

    // Applied to camera eye space, the shadow matrix is bias x P x light view.
    multiply(expected, biasMatrix, camera.projectionMatrix);
    multiply(expected, expected, light.camera.viewMatrix);
    Matrix actual;
    multiply(actual, mesh.shadowMatrix, camera.viewMatrix);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-4f) << i;
    }
}

} // namespace
