#include "geometry/gl/model_buffers.h"

#include "resources/gl/shader_program.h"

namespace {

// Points the attribute at the buffer, tightly packed floats from offset 0.
void setAttribute(GLuint buffer, int32_t location, GLint components) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    if (location < 0)
        return;
    const auto index = static_cast<GLuint>(location);
    glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(index);
}

void fillBuffer(GLenum target, GLuint buffer, size_t bytes, const void* data) {
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
}

void setMatrix(int32_t location, const Matrix& m) {
    if (location >= 0)
        glUniformMatrix4fv(location, 1, GL_FALSE, m.m);
}

void setFlag(int32_t location, bool value) {
    if (location >= 0)
        glUniform1i(location, value ? 1 : 0);
}

void drawTriangles(uint32_t indexCount) {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
}

void deleteVertexArray(GLuint& name) {
    if (name != 0)
        glDeleteVertexArrays(1, &name);
    name = 0;
}

void deleteBuffer(GLuint& name) {
    if (name != 0)
        glDeleteBuffers(1, &name);
    name = 0;
}

} // namespace

void generateBuffers(const BufferNames& names) {
    glGenVertexArrays(1, &names.litVertexArray);
    glGenVertexArrays(1, &names.depthVertexArray);
    glGenBuffers(1, &names.positionBuffer);
    glGenBuffers(1, &names.normalBuffer);
    glGenBuffers(1, &names.tangentBuffer);
    glGenBuffers(1, &names.texCoordBuffer);
    glGenBuffers(1, &names.indexBuffer);
}

void uploadBuffers(const BufferNames& names, const VertexStreams& streams,
                   const ShaderProgram& depthProgram, const ShaderProgram& litProgram) {
    // The depth vertex array only records bindings; the data follows.
    glBindVertexArray(names.depthVertexArray);
    setAttribute(names.positionBuffer, depthProgram.vertex, 4);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, names.indexBuffer);

    const size_t vertices = streams.vertexCount;
    glBindVertexArray(names.litVertexArray);
    fillBuffer(GL_ARRAY_BUFFER, names.positionBuffer, vertices * 4 * sizeof(float),
               streams.positions);
    setAttribute(names.positionBuffer, litProgram.vertex, 4);
    fillBuffer(GL_ARRAY_BUFFER, names.normalBuffer, vertices * 3 * sizeof(float), streams.normals);
    setAttribute(names.normalBuffer, litProgram.normal, 3);
    fillBuffer(GL_ARRAY_BUFFER, names.tangentBuffer, vertices * 3 * sizeof(float),
               streams.tangents);
    setAttribute(names.tangentBuffer, litProgram.tangent, 3);
    fillBuffer(GL_ARRAY_BUFFER, names.texCoordBuffer, vertices * 2 * sizeof(float),
               streams.texCoords);
    setAttribute(names.texCoordBuffer, litProgram.texCoord, 2);
    fillBuffer(GL_ELEMENT_ARRAY_BUFFER, names.indexBuffer, streams.indexCount * sizeof(uint32_t),
               streams.indices);
}

void deleteBuffers(const BufferNames& names) {
    deleteVertexArray(names.litVertexArray);
    deleteVertexArray(names.depthVertexArray);
    deleteBuffer(names.positionBuffer);
    deleteBuffer(names.normalBuffer);
    deleteBuffer(names.tangentBuffer);
    deleteBuffer(names.texCoordBuffer);
    deleteBuffer(names.indexBuffer);
}

void drawDepth(GLuint depthVertexArray, uint32_t indexCount, const ShaderProgram& program,
               const Matrix& modelMatrix, const Matrix& lightModelViewMatrix) {
    if (program.program == 0)
        return;
    glBindVertexArray(depthVertexArray);
    setMatrix(program.modelMatrix, modelMatrix);
    setMatrix(program.modelViewMatrix, lightModelViewMatrix);
    drawTriangles(indexCount);
}

void drawLit(GLuint litVertexArray, uint32_t indexCount, const ShaderProgram& program,
             const Matrix& shadowMatrix, const Matrix& modelViewMatrix, const Surface& surface) {
    if (program.program == 0)
        return;
    glBindVertexArray(litVertexArray);
    setMatrix(program.shadowMatrix, shadowMatrix);
    setMatrix(program.modelViewMatrix, modelViewMatrix);
    setFlag(program.useTexture, surface.textured);
    setFlag(program.useNormalMapping, surface.normalMapped);
    if (surface.textured) {
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, surface.texture);
        if (surface.normalMapped) {
            glActiveTexture(GL_TEXTURE2);
            glBindTexture(GL_TEXTURE_2D, surface.normalMap);
        }
    }
    if (program.diffuse >= 0 && surface.diffuse != nullptr)
        glUniform4fv(program.diffuse, 1, surface.diffuse);
    drawTriangles(indexCount);
}
