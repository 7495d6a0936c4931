// The donut: the generated torus with its own vertex arrays and buffers, its
// placement (rotated about its own centre, then moved) and its draws in the
// depth and the lit pass.
//
// Only createDonut, uploadDonut and the two draws touch GL. A program that
// failed to build has name 0 and every location -1: attributes and uniforms
// at -1 are skipped, and nothing is set or drawn with program 0, so a broken
// shader file raises no GL error.
#include "geometry/donut.h"

#include "geometry/gl_drawing.h"

#include "resources/shader_program.h"
#include "view/camera.h"
#include "view/light.h"

const Matrix biasMatrix = {{
    0.5f, 0.0f, 0.0f, 0.0f, //
    0.0f, 0.5f, 0.0f, 0.0f, //
    0.0f, 0.0f, 0.5f, 0.0f, //
    0.5f, 0.5f, 0.5f, 1.0f, //
}};

namespace {

// The lit colour of the donut, whether or not its texture loaded.
constexpr GLfloat donutDiffuse[4] = {0.33f, 0.22f, 0.5f, 1.0f};

} // namespace

void computeShadowMatrix(Matrix& shadowMatrix, const Camera& camera, const Light& light) {
    // A singular camera view leaves some matrix in cameraToWorld; a view
    // from lookAt is always invertible, so the flag is not consulted.
    Matrix cameraToWorld;
    inverse(cameraToWorld, camera.viewMatrix);
    identity(shadowMatrix);
    multiply(shadowMatrix, shadowMatrix, biasMatrix);
    multiply(shadowMatrix, shadowMatrix, camera.projectionMatrix);
    multiply(shadowMatrix, shadowMatrix, light.camera.viewMatrix);
    multiply(shadowMatrix, shadowMatrix, cameraToWorld);
}

void computeModelViews(Matrix& modelView, Matrix& lightModelView, const Matrix& model,
                       const Camera* camera, const Light* light) {
    if (camera != nullptr)
        multiply(modelView, camera->viewMatrix, model);
    if (light != nullptr)
        multiply(lightModelView, light->camera.viewMatrix, model);
}

DonutModel createDonut() {
    DonutModel donut;
    glGenVertexArrays(1, &donut.litVertexArray);
    glGenVertexArrays(1, &donut.depthVertexArray);
    glGenBuffers(1, &donut.positionBuffer);
    glGenBuffers(1, &donut.normalBuffer);
    glGenBuffers(1, &donut.tangentBuffer);
    glGenBuffers(1, &donut.texCoordBuffer);
    glGenBuffers(1, &donut.indexBuffer);
    donut.useNormalMapping = false;
    donut.useTexture = false;
    return donut;
}

void uploadDonut(DonutModel& donut, const ShaderProgram& depthProgram,
                 const ShaderProgram& textureProgram) {
    // The depth vertex array only records bindings; the data follows.
    glBindVertexArray(donut.depthVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, donut.positionBuffer);
    setAttribute(depthProgram.vertex, 4);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, donut.indexBuffer);

    // Texture coordinates go up as generated: the donut's texture is laid out
    // for them, unlike the OBJ models' flipped ones.
    const ShapeData& shape = donut.shape;
    const size_t vertices = shape.numberVertices;
    glBindVertexArray(donut.litVertexArray);
    fillBuffer(GL_ARRAY_BUFFER, donut.positionBuffer, vertices * 4 * sizeof(float),
               shape.positions);
    fillBuffer(GL_ARRAY_BUFFER, donut.normalBuffer, vertices * 3 * sizeof(float), shape.normals);
    fillBuffer(GL_ARRAY_BUFFER, donut.tangentBuffer, vertices * 3 * sizeof(float), shape.tangents);
    fillBuffer(GL_ARRAY_BUFFER, donut.texCoordBuffer, vertices * 2 * sizeof(float),
               shape.texCoords);
    fillBuffer(GL_ELEMENT_ARRAY_BUFFER, donut.indexBuffer,
               size_t{shape.numberIndices} * sizeof(uint32_t), shape.indices);
    destroyShape(&donut.shape);

    glBindBuffer(GL_ARRAY_BUFFER, donut.positionBuffer);
    setAttribute(textureProgram.vertex, 4);
    glBindBuffer(GL_ARRAY_BUFFER, donut.normalBuffer);
    setAttribute(textureProgram.normal, 3);
    glBindBuffer(GL_ARRAY_BUFFER, donut.tangentBuffer);
    setAttribute(textureProgram.tangent, 3);
    glBindBuffer(GL_ARRAY_BUFFER, donut.texCoordBuffer);
    setAttribute(textureProgram.texCoord, 2);

    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, donut.textureId);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, donut.normalMapId);
}

void updateDonutMatrices(DonutModel& donut) {
    identity(donut.modelMatrix);
    translate(donut.modelMatrix, donut.position.x, donut.position.y, donut.position.z);
    rotateRzRyRx(donut.modelMatrix, donut.rotation.x, donut.rotation.y, donut.rotation.z);
    computeModelViews(donut.modelViewMatrix, donut.lightModelViewMatrix, donut.modelMatrix,
                      donut.camera, donut.light);
}

void updateDonutShadowMatrix(DonutModel& donut) {
    if (donut.camera != nullptr && donut.light != nullptr) {
        computeShadowMatrix(donut.shadowMatrix, *donut.camera, *donut.light);
    }
}

Matrix& copyModelMatrix(const DonutModel& donut, Matrix& destination) {
    copy(destination, donut.modelMatrix);
    return destination;
}

Matrix& copyModelViewMatrix(const DonutModel& donut, Matrix& destination) {
    copy(destination, donut.modelViewMatrix);
    return destination;
}

Matrix& copyLightModelViewMatrix(const DonutModel& donut, Matrix& destination) {
    copy(destination, donut.lightModelViewMatrix);
    return destination;
}

void drawDonutDepth(const DonutModel& donut, const ShaderProgram& depthProgram) {
    if (depthProgram.program == 0) {
        return;
    }
    glBindVertexArray(donut.depthVertexArray);
    setMatrix(depthProgram.modelMatrix, donut.modelMatrix);
    setMatrix(depthProgram.modelViewMatrix, donut.lightModelViewMatrix);
    drawElements(donut.indexCount);
}

void drawDonutLit(const DonutModel& donut, const ShaderProgram& textureProgram) {
    if (textureProgram.program == 0) {
        return;
    }
    glBindVertexArray(donut.litVertexArray);
    setMatrix(textureProgram.shadowMatrix, donut.shadowMatrix);
    setMatrix(textureProgram.modelViewMatrix, donut.modelViewMatrix);
    // The donut follows its own flags, not the scene's normal-mapping switch.
    setFlag(textureProgram.useTexture, donut.useTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, donut.textureId);
    setFlag(textureProgram.useNormalMapping, donut.useNormalMapping);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, donut.normalMapId);
    if (textureProgram.diffuse >= 0) {
        glUniform4fv(textureProgram.diffuse, 1, donutDiffuse);
    }
    drawElements(donut.indexCount);
}
