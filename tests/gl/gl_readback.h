// What reached GL, read back: state, textures, buffers, uniforms, vertex
// arrays and the primitives a draw generates.
#pragma once

#include <array>
#include <map>
#include <utility>
#include <vector>

#include <GL/glew.h>

namespace gltest {

inline GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// A parameter of the texture bound to GL_TEXTURE_2D, or of one of its levels.
inline GLint textureParameter(GLenum name, GLint level = -1) {
    GLint value = -1;
    if (level < 0)
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    else
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// The 2D texture on unit; the active unit is restored.
inline GLuint textureOnUnit(GLenum unit) {
    const GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    const auto bound = static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D));
    glActiveTexture(static_cast<GLenum>(active));
    return bound;
}

// Read through the copy-read target, so no vertex array's binding changes.
template <typename T>
std::vector<T> readBuffer(GLuint buffer) {
    GLint bytes = 0;
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &bytes);
    std::vector<T> content(static_cast<size_t>(bytes) / sizeof(T));
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, bytes, content.data());
    return content;
}

template <size_t N>
std::array<float, N> uniformFloats(GLuint program, GLint location) {
    std::array<float, N> v{};
    glGetUniformfv(program, location, v.data());
    return v;
}

inline GLint uniformInt(GLuint program, GLint location) {
    GLint value = -1;
    glGetUniformiv(program, location, &value);
    return value;
}

template <typename Draw>
GLuint countPrimitives(Draw draw) {
    GLuint query = 0, primitives = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &primitives);
    glDeleteQueries(1, &query);
    return primitives;
}

// By location, the buffer and floats per vertex of each enabled attribute.
inline std::map<GLint, std::pair<GLuint, GLint>> attributes(GLuint vertexArray) {
    glBindVertexArray(vertexArray); // left bound
    std::map<GLint, std::pair<GLuint, GLint>> enabled;
    for (GLint i = 0; i < integer(GL_MAX_VERTEX_ATTRIBS); ++i) {
        GLint on = 0, buffer = 0, floats = 0;
        glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &on);
        glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
        glGetVertexAttribiv(GLuint(i), GL_VERTEX_ATTRIB_ARRAY_SIZE, &floats);
        if (on != 0)
            enabled[i] = {GLuint(buffer), floats};
    }
    return enabled;
}

} // namespace gltest
