// Small GL helpers shared by the models' upload and draw code: attribute
// pointers, uniforms and indexed draws. A location of -1 (a variable the
// program does not have, or a program that failed to build) is skipped, so
// no call raises a GL error for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include <GL/glew.h>

#include "math/matrix.h"

// Points the attribute at the buffer bound to GL_ARRAY_BUFFER: tightly packed
// floats from offset 0.
inline void setAttribute(int32_t location, GLint components) {
    if (location < 0)
        return;
    const auto index = static_cast<GLuint>(location);
    glVertexAttribPointer(index, components, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(index);
}

inline void setMatrix(int32_t location, const Matrix& m) {
    if (location >= 0)
        glUniformMatrix4fv(location, 1, GL_FALSE, m.m);
}

inline void setFlag(int32_t location, bool value) {
    if (location >= 0)
        glUniform1i(location, value ? 1 : 0);
}

inline void setColour(int32_t location, const GLfloat* rgba) {
    if (location >= 0)
        glUniform4fv(location, 1, rgba);
}

// Binds buffer to target and fills it once with bytes from data.
inline void fillBuffer(GLenum target, GLuint buffer, size_t bytes, const void* data) {
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
}

// Triangles from the bound element buffer, 32-bit indices from offset 0.
inline void drawElements(uint32_t indexCount) {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), GL_UNSIGNED_INT, nullptr);
}
