// The GPU path the donut and every mesh group share: one buffer per
// attribute (positions 4 floats, normals 3, tangents 3, texture coordinates
// 2), a 32-bit index buffer, a depth-pass vertex array with the positions
// only and a lit-pass vertex array with all four attributes, both with the
// index buffer; one indexed triangle draw per pass.
//
// A program that failed to build has name 0 and every location -1:
// attributes and uniforms at -1 are skipped, and nothing is set or drawn with
// program 0, so a broken shader file raises no GL error and the rest of the
// scene still draws.
#pragma once

#include <cstddef>
#include <cstdint>

#include "math/matrix.h"
#include "resources/gl/gl_api.h"

struct ShaderProgram;

// The seven GL names of one model part, held by its own record.
struct BufferNames {
    GLuint& litVertexArray;
    GLuint& depthVertexArray;
    GLuint& positionBuffer;
    GLuint& normalBuffer;
    GLuint& tangentBuffer;
    GLuint& texCoordBuffer;
    GLuint& indexBuffer;
};

// The names of a record that has the seven fields (a mesh group, the donut).
template <typename Part>
BufferNames bufferNames(Part& part) {
    return {part.litVertexArray, part.depthVertexArray, part.positionBuffer, part.normalBuffer,
            part.tangentBuffer,  part.texCoordBuffer,   part.indexBuffer};
}

// Tightly packed arrays for the buffers, vertexCount entries each.
struct VertexStreams {
    const float* positions = nullptr; // x, y, z, w
    const float* normals = nullptr;
    const float* tangents = nullptr;
    const float* texCoords = nullptr;
    size_t vertexCount = 0;
    const uint32_t* indices = nullptr;
    size_t indexCount = 0;
};

// What the lit pass draws a part with: the colour texture on unit 1 and the
// normal map on unit 2 (bound only while in use) and the diffuse colour.
struct Surface {
    bool textured = false;
    bool normalMapped = false;
    GLuint texture = 0;
    GLuint normalMap = 0;
    const GLfloat* diffuse = nullptr; // r, g, b, a
};

// The diffuse colours parts are lit with (r, g, b, a): a textured group's,
// whose texture supplies the rest; a group's whose model has no materials at
// all; and the donut's, whether or not its texture loaded.
constexpr GLfloat texturedDiffuse[4] = {0.3f, 0.3f, 1.0f, 1.0f};
constexpr GLfloat neutralDiffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};
constexpr GLfloat donutDiffuse[4] = {0.33f, 0.22f, 0.5f, 1.0f};

// Generates the two vertex arrays, then the five buffers.
void generateBuffers(const BufferNames& names);

// Fills the buffers (GL_STATIC_DRAW) and records both vertex arrays'
// attributes with the two programs' locations.
void uploadBuffers(const BufferNames& names, const VertexStreams& streams,
                   const ShaderProgram& depthProgram, const ShaderProgram& litProgram);

// Deletes whatever the names hold and clears them; safe to call again.
void deleteBuffers(const BufferNames& names);

// The depth pass: "modelMatrix" and, as "modelViewMatrix", the light's
// model-view matrix, then the triangles.
void drawDepth(GLuint depthVertexArray, uint32_t indexCount, const ShaderProgram& program,
               const Matrix& modelMatrix, const Matrix& lightModelViewMatrix);

// The lit pass: "shadowMatrix", "modelViewMatrix", the surface, then the
// triangles.
void drawLit(GLuint litVertexArray, uint32_t indexCount, const ShaderProgram& program,
             const Matrix& shadowMatrix, const Matrix& modelViewMatrix, const Surface& surface);
