// The donut: the generated torus with its own vertex arrays and buffers on
// the shared model path, its placement (rotated about its own centre, then
// moved) and its draws in the depth and the lit pass.
#include "geometry/gl/donut_buffers.h"

#include "geometry/gl/model_buffers.h"
#include "resources/gl/gl_api.h"
#include "view/model_matrices.h"

DonutModel createDonut() {
    DonutModel donut;
    generateBuffers(bufferNames(donut));
    donut.useNormalMapping = false;
    donut.useTexture = false;
    return donut;
}

void uploadDonut(DonutModel& donut, const ShaderProgram& depthProgram,
                 const ShaderProgram& textureProgram) {
    // Texture coordinates go up as generated: the donut's texture is laid out
    // for them, unlike the OBJ models' flipped ones.
    const ShapeData& shape = donut.shape;
    uploadBuffers(bufferNames(donut),
                  {.positions = shape.positions,
                   .normals = shape.normals,
                   .tangents = shape.tangents,
                   .texCoords = shape.texCoords,
                   .vertexCount = shape.numberVertices,
                   .indices = shape.indices,
                   .indexCount = shape.numberIndices},
                  depthProgram, textureProgram);
    destroyShape(&donut.shape);

    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, donut.textureId);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, donut.normalMapId);
}

void releaseDonut(DonutModel& donut) {
    deleteBuffers(bufferNames(donut));
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

void drawDonutDepth(const DonutModel& donut, const ShaderProgram& depthProgram,
                    const Matrix& modelMatrix, const Matrix& lightModelViewMatrix) {
    drawDepth(donut.depthVertexArray, donut.indexCount, depthProgram, modelMatrix,
              lightModelViewMatrix);
}

void drawDonutLit(const DonutModel& donut, const ShaderProgram& textureProgram,
                  const Matrix& shadowMatrix, const Matrix& modelViewMatrix) {
    // The donut follows its own flags, not the scene's normal-mapping switch.
    drawLit(donut.litVertexArray, donut.indexCount, textureProgram, shadowMatrix, modelViewMatrix,
            {.textured = donut.useTexture,
             .normalMapped = donut.useNormalMapping,
             .texture = donut.textureId,
             .normalMap = donut.normalMapId,
             .diffuse = donutDiffuse});
}
