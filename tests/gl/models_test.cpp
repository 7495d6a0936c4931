// A mesh and the donut: their matrices against GLM, and the GPU path they
// share driven through the scene's own programs (what the uploads put in the
// buffers and vertex arrays, what each draw sends); the donut where it differs.
#include <map>
#include <memory>
#include <numeric>
#include <tuple>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "geometry/gl/donut_buffers.h"
#include "geometry/gl/mesh_buffers.h"
#include "geometry/gl/model_buffers.h"
#include "gl/gl_context.h"
#include "gl/gl_readback.h"
#include "resources/gl/texture.h"
#include "scene/frame.h"
#include "scene/scene.h"
#include "support/temp_folder.h"
#include "view/model_matrices.h"

namespace {

using namespace gltest;
using Floats = std::vector<float>;

void expectNear(const Matrix& actual, const glm::mat4& expected, float tolerance) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual[i], glm::value_ptr(expected)[i], tolerance) << "element " << i;
}

glm::mat4 turn(float degrees, glm::vec3 axis) {
    return glm::rotate(glm::mat4(1), glm::radians(degrees), axis);
}

TEST(ModelMatrices, MeshTurnsThenMovesTheDonutMovesThenTurnsBothShadowedAlike) {
    Camera camera;
    camera.eye = {4, 3, 12};
    updateCamera(camera);
    Light light;
    light.camera.eye = {0, 25, 0};
    light.camera.up = {0, 0, -1};
    updateCamera(light.camera);
    Mesh mesh;
    mesh.rotation = {0, 90, 0};
    mesh.position = {1, 0, 0};
    DonutModel donut; // placed as the scene creates it
    mesh.camera = donut.camera = &camera;
    mesh.light = donut.light = &light;
    updateMeshMatrices(mesh);
    updateMeshShadowMatrix(mesh);
    updateDonutMatrices(donut);
    updateDonutShadowMatrix(donut);

    const glm::mat4 view = glm::make_mat4(camera.viewMatrix.m);
    const glm::mat4 lightView = glm::make_mat4(light.camera.viewMatrix.m);
    const glm::mat4 bias =
        glm::scale(glm::translate(glm::mat4(1), glm::vec3(0.5f)), glm::vec3(0.5f));
    const glm::mat4 shadow =
        bias * glm::make_mat4(camera.projectionMatrix.m) * lightView * glm::inverse(view);
    const auto expectPlaced = [&](const char* name, const auto& model, const glm::mat4& placement) {
        SCOPED_TRACE(name);
        expectNear(model.modelMatrix, placement, 1e-6f);
        expectNear(model.modelViewMatrix, view * placement, 1e-4f);
        expectNear(model.lightModelViewMatrix, lightView * placement, 1e-4f);
        expectNear(model.shadowMatrix, shadow, 1e-4f);
    };
    // The mesh moves in its turned frame: its translation column is (0, 0, -1, 1).
    expectPlaced("mesh", mesh, turn(90, {0, 1, 0}) * glm::translate(glm::mat4(1), {1, 0, 0}));
    expectPlaced("donut", donut,
                 glm::translate(glm::mat4(1), {-2, 2, 5.5f}) * turn(-90, {0, 1, 0}) *
                     turn(90, {1, 0, 0}));
    // Turned about its own centre, then moved: the donut lies flat.
    ShapeData torus;
    createTorus(&torus, 0.5f, 1.0f);
    const glm::vec4 world = glm::make_mat4(donut.modelMatrix.m) * glm::make_vec4(torus.positions);
    destroyShape(&torus);
    EXPECT_LT(glm::distance(world, glm::vec4(-2, 2, 7, 1)), 1e-6f);
}

// Vertex k of 3 at (k, 2k, 3k), normal (0, 0, 1 + k), tangent (1 + k, 0, 0),
// texture coordinate (0.25 k, 0.75 k).
MeshGroup makeGroup(std::vector<uint32_t> indices) {
    MeshGroup group;
    for (float k : {0.0f, 1.0f, 2.0f}) {
        group.geometry.positions.push_back({k, 2 * k, 3 * k});
        group.geometry.normals.push_back({0, 0, 1 + k});
        group.geometry.tangents.push_back({1 + k, 0, 0});
        group.geometry.texCoords.push_back({0.25f * k, 0.75f * k});
    }
    group.vertexCount = 3;
    group.indexCount = static_cast<uint32_t>(indices.size());
    group.geometry.indices = std::move(indices);
    return group;
}

// The elements first, first + 1, ... tell each matrix apart.
Matrix numbered(float first) {
    Matrix m;
    std::iota(std::begin(m.m), std::end(m.m), first);
    return m;
}

bool holdsNumbered(GLuint program, GLint location, float first) {
    return uniformFloats<16>(program, location) == std::to_array(numbered(first).m);
}

class ModelBuffersTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        {
            const WorkingDirectory inScene(TIDEMOOR_SCENE_DIR);
            initShaders(scene);
        }
        depth = *scene.depthProgram;
        lit = *scene.textureProgram;
        ASSERT_TRUE(depth.program != 0 && lit.program != 0);
        donut = createDonut();
        createTorus(&donut.shape, 0.5f, 1.0f);
        donut.indexCount = donut.shape.numberIndices;
    }
    void TearDown() override {
        releaseDonut(donut);
        releaseMesh(mesh);
        releaseScene(scene);
        GlTest::TearDown();
    }

    Scene scene;              // makes and releases the two programs
    ShaderProgram depth, lit; // copies of their records
    Mesh mesh;
    DonutModel donut;
};

TEST_F(ModelBuffersTest, UploadFillsTheBuffersAndBothVertexArrays) {
    mesh.groups = {makeGroup({2, 0, 1, 1, 2, 0}), makeGroup({})}; // the second draws nothing
    uploadMesh(mesh, depth, lit);
    const MeshGroup& g = mesh.groups[0];
    // Positions gain w = 1; the mesh's texture coordinates reach GL negated.
    EXPECT_EQ(readBuffer<float>(g.positionBuffer), (Floats{0, 0, 0, 1, 1, 2, 3, 1, 2, 4, 6, 1}));
    EXPECT_EQ(readBuffer<float>(g.normalBuffer), (Floats{0, 0, 1, 0, 0, 2, 0, 0, 3}));
    EXPECT_EQ(readBuffer<float>(g.tangentBuffer), (Floats{1, 0, 0, 2, 0, 0, 3, 0, 0}));
    EXPECT_EQ(readBuffer<float>(g.texCoordBuffer), (Floats{0, 0, -0.25f, -0.75f, -0.5f, -1.5f}));
    EXPECT_EQ(readBuffer<uint32_t>(g.indexBuffer), (std::vector<uint32_t>{2, 0, 1, 1, 2, 0}));
    using Bindings = std::map<GLint, std::pair<GLuint, GLint>>;
    EXPECT_EQ(attributes(g.depthVertexArray), (Bindings{{depth.vertex, {g.positionBuffer, 4}}}));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), GLint(g.indexBuffer));
    EXPECT_EQ(attributes(g.litVertexArray), (Bindings{{lit.vertex, {g.positionBuffer, 4}},
                                                      {lit.normal, {g.normalBuffer, 3}},
                                                      {lit.tangent, {g.tangentBuffer, 3}},
                                                      {lit.texCoord, {g.texCoordBuffer, 2}}}));
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), GLint(g.indexBuffer));
    for (auto [program, pass] : {std::pair{&depth, depthPass}, {&lit, litPass}}) {
        glUseProgram(program->program);
        EXPECT_EQ(countPrimitives([&] { drawMesh(mesh, pass); }), 2u) << pass;
    }
    // The donut's texture coordinates go up as generated.
    ShapeData torus;
    createTorus(&torus, 0.5f, 1.0f);
    uploadDonut(donut, depth, lit);
    EXPECT_EQ(readBuffer<float>(donut.texCoordBuffer),
              Floats(torus.texCoords, torus.texCoords + 2 * torus.numberVertices));
    destroyShape(&torus);
}

TEST_F(ModelBuffersTest, DrawsSendTheirMatricesAndTheLitDrawEachSurface) {
    Material plain, textured, mapped; // no files named: each texture gets one texel
    plain.diffuse = {0.8f, 0.6f, 0.4f};
    plain.specular = {0.5f, 0.0f, 0.0f};
    textured.hasTexture = mapped.hasTexture = mapped.hasNormalMap = true;
    mesh.materials = {plain, textured, mapped};
    createMaterialTextures(mesh);
    ASSERT_EQ(mesh.textures.size(), 3u);
    EXPECT_EQ(mesh.textures[0].texture, 0u);
    const GLuint a = mesh.textures[1].texture, b = mesh.textures[2].texture;
    const GLuint bMap = mesh.textures[2].normalMap;
    // New names come in rising order here, so they show the order of creation:
    // library order, each texture before its normal map.
    EXPECT_TRUE(0 < a && a < b && b < bMap) << a << " " << b << " " << bMap;
    EXPECT_TRUE(glIsTexture(a) && glIsTexture(b) && glIsTexture(bMap));

    mesh.groups = {makeGroup({0, 1, 2})};
    uploadMesh(mesh, depth, lit);
    mesh.modelViewMatrix = numbered(0);
    mesh.shadowMatrix = numbered(100);
    mesh.lightModelViewMatrix = numbered(200);
    const GLuint none = 0; // on units 1 and 2 before each draw
    const float* grey = neutralDiffuse;
    // Material, the mesh's normal-mapping switch, the diffuse colour sent and
    // the textures on units 1 and 2 (none: that unit's flag is off).
    const std::tuple<uint32_t, bool, std::array<float, 4>, GLuint, GLuint> cases[] = {
        {0, true, {0.8f, 0.6f, 0.4f, 0.5f}, none, none}, // 4th: the specular red
        {1, true, {0.3f, 0.3f, 1.0f, 1.0f}, a, none},
        {2, false, {0.3f, 0.3f, 1.0f, 1.0f}, b, none}, // normal maps need the switch
        {2, true, {0.3f, 0.3f, 1.0f, 1.0f}, b, bMap},
        // Regression: a model without materials read past its list.
        {3, true, {grey[0], grey[1], grey[2], grey[3]}, none, none},
    };
    glUseProgram(lit.program);
    for (const auto& [material, switchOn, diffuse, unit1, unit2] : cases) {
        SCOPED_TRACE(testing::Message() << "material " << material << " switch " << switchOn);
        mesh.groups[0].materialIndex = material;
        mesh.normalMappingEnabled = switchOn;
        for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE2}) {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_2D, none);
        }
        drawMesh(mesh, litPass);
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), GLint(mesh.groups[0].litVertexArray));
        EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse), diffuse);
        EXPECT_EQ(uniformInt(lit.program, lit.useTexture), unit1 != none);
        EXPECT_EQ(uniformInt(lit.program, lit.useNormalMapping), unit2 != none);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE1), unit1);
        EXPECT_EQ(textureOnUnit(GL_TEXTURE2), unit2);
        EXPECT_TRUE(holdsNumbered(lit.program, lit.modelViewMatrix, 0));
        EXPECT_TRUE(holdsNumbered(lit.program, lit.shadowMatrix, 100));
    }
    glUseProgram(depth.program);
    drawMesh(mesh, depthPass);
    EXPECT_TRUE(holdsNumbered(depth.program, depth.modelViewMatrix, 200));

    // The donut sends the matrices handed to it, and its own colour and flags
    // whatever the scene's switch.
    uploadDonut(donut, depth, lit);
    donut.textureId = a;
    donut.normalMapId = bMap;
    donut.useTexture = donut.useNormalMapping = true;
    drawDonutDepth(donut, depth, numbered(0), numbered(300));
    EXPECT_TRUE(holdsNumbered(depth.program, depth.modelViewMatrix, 300));
    glUseProgram(lit.program);
    drawDonutLit(donut, lit, numbered(400), numbered(500));
    EXPECT_TRUE(holdsNumbered(lit.program, lit.shadowMatrix, 400));
    EXPECT_TRUE(holdsNumbered(lit.program, lit.modelViewMatrix, 500));
    EXPECT_EQ(uniformFloats<4>(lit.program, lit.diffuse), (std::array{0.33f, 0.22f, 0.5f, 1.0f}));
    EXPECT_EQ(uniformInt(lit.program, lit.useNormalMapping), 1);
    EXPECT_TRUE(textureOnUnit(GL_TEXTURE1) == a && textureOnUnit(GL_TEXTURE2) == bMap);
}

// Regression: with a program that failed to build (name 0, every slot -1)
// the uploads set up attributes at -1 and the draws still drew.
TEST_F(ModelBuffersTest, FailedProgramsUploadAndDrawNothingWithoutGlError) {
    const ShaderProgram failed;
    mesh.groups = {makeGroup({0, 1, 2})};
    uploadMesh(mesh, failed, failed);
    uploadDonut(donut, failed, failed);
    ASSERT_TRUE(noGlError());
    glUseProgram(lit.program); // another program in use: still nothing is drawn
    EXPECT_EQ(countPrimitives([&] {
                  drawMesh(mesh, depthPass);
                  drawMesh(mesh, litPass);
                  drawDonutDepth(donut, failed, numbered(0), numbered(0));
                  drawDonutLit(donut, failed, numbered(0), numbered(0));
              }),
              0u);
}

} // namespace
