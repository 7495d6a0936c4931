// Helpers for the GL tests of the models: a small depth program and a small
// lit program that use every variable the models set (so none is dropped),
// located as the scene locates its own, and read-backs of what reached GL.
#pragma once

#include <array>
#include <cstring>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "resources/shader_program.h"
#include "resources/text_file.h"

namespace gltest {

// Draws red; modelMatrix and lightPosition only decide between two colours.
inline const char* const depthVertexSource = R"(#version 150
uniform mat4 modelMatrix, projectionMatrix, modelViewMatrix;
uniform vec3 lightPosition;
in vec4 vertex;
out float lightDistance;
void main() {
    lightDistance = length(lightPosition - (modelMatrix * vertex).xyz);
    gl_Position = projectionMatrix * modelViewMatrix * vertex;
})";
inline const char* const depthFragmentSource = R"(#version 150
in float lightDistance;
out vec4 colour;
void main() { colour = lightDistance >= 0.0 ? vec4(1.0, 0.0, 0.0, 1.0) : vec4(0.0); })";

// With both switches off and ambient and specular at their initial zero, a
// pixel is the "diffuse" colour sent.
inline const char* const litVertexSource = R"(#version 150
uniform mat4 projectionMatrix, modelViewMatrix, shadowMatrix;
uniform vec3 lightPosition;
in vec4 vertex; in vec3 normal; in vec3 tangent; in vec2 texCoord;
out vec3 vNormal; out vec3 vTangent; out vec2 vTexCoord; out vec4 vShadow; out vec3 vLight;
void main() {
    vec4 eye = modelViewMatrix * vertex;
    vNormal = normal; vTangent = tangent; vTexCoord = texCoord;
    vShadow = shadowMatrix * eye;
    vLight = lightPosition - eye.xyz;
    gl_Position = projectionMatrix * eye;
})";
inline const char* const litFragmentSource = R"(#version 150
uniform sampler2D shadowTexture, firstTexture, normalMap;
uniform vec4 ambient, diffuse, specular;
uniform int useNormalMapping, useTexture;
in vec3 vNormal; in vec3 vTangent; in vec2 vTexCoord; in vec4 vShadow; in vec3 vLight;
out vec4 colour;
void main() {
    vec4 base = useTexture != 0 ? texture(firstTexture, vTexCoord) : diffuse;
    vec3 n = useNormalMapping != 0 ? texture(normalMap, vTexCoord).xyz + vTangent : vNormal;
    float depth = texture(shadowTexture, vShadow.xy / vShadow.w).r;
    colour = base + ambient * depth + specular * max(dot(n, vLight), 0.0);
})";

// Compiles and links the pair; program 0 when that fails.
inline ShaderProgram buildFromText(const char* vertex, const char* fragment) {
    TextFile vertexFile{strdup(vertex), static_cast<int32_t>(strlen(vertex))};
    TextFile fragmentFile{strdup(fragment), static_cast<int32_t>(strlen(fragment))};
    ShaderProgram program;
    if (buildProgram(&vertexFile, &program, &fragmentFile)) {
        linkProgram(&program);
    }
    releaseTextFile(vertexFile);
    releaseTextFile(fragmentFile);
    return program;
}

// The depth program with the five slots the scene looks up in it.
inline ShaderProgram makeDepthProgram() {
    ShaderProgram p = buildFromText(depthVertexSource, depthFragmentSource);
    locateModelMatrix(p, "modelMatrix");
    locateProjectionMatrix(p, "projectionMatrix");
    locateModelViewMatrix(p, "modelViewMatrix");
    locateLightPosition(p, "lightPosition");
    locateVertex(p, "vertex");
    return p;
}

// The lit program with its sixteen slots, samplers on units 0, 1 and 2.
inline ShaderProgram makeLitProgram() {
    ShaderProgram p = buildFromText(litVertexSource, litFragmentSource);
    locateProjectionMatrix(p, "projectionMatrix");
    locateModelViewMatrix(p, "modelViewMatrix");
    locateShadowMatrix(p, "shadowMatrix");
    locateShadowTexture(p, "shadowTexture");
    locateFirstTexture(p, "firstTexture");
    locateNormalMap(p, "normalMap");
    locateAmbient(p, "ambient");
    locateDiffuse(p, "diffuse");
    locateSpecular(p, "specular");
    locateLightPosition(p, "lightPosition");
    locateUseNormalMapping(p, "useNormalMapping");
    locateUseTexture(p, "useTexture");
    locateVertex(p, "vertex");
    locateNormal(p, "normal");
    locateTangent(p, "tangent");
    locateTexCoord(p, "texCoord");
    if (p.program != 0) {
        glUseProgram(p.program);
        glUniform1i(p.shadowTexture, 0);
        glUniform1i(p.firstTexture, 1);
        glUniform1i(p.normalMap, 2);
    }
    return p;
}

// The buffer's whole content, read through the copy-read target so that no
// vertex array's element binding changes.
template <typename T>
std::vector<T> readBuffer(GLuint buffer) {
    GLint bytes = 0;
    glBindBuffer(GL_COPY_READ_BUFFER, buffer);
    glGetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &bytes);
    std::vector<T> content(static_cast<size_t>(bytes) / sizeof(T));
    glGetBufferSubData(GL_COPY_READ_BUFFER, 0, bytes, content.data());
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    return content;
}

// A float uniform of N components (a mat4 is 16).
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

inline GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// The texture bound to GL_TEXTURE_2D of unit; the active unit is restored.
inline GLuint textureOnUnit(GLenum unit) {
    GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(unit);
    auto bound = static_cast<GLuint>(integer(GL_TEXTURE_BINDING_2D));
    glActiveTexture(static_cast<GLenum>(active));
    return bound;
}

// The number of primitives draw generates.
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

// What a vertex array must record for one attribute: tightly packed floats.
struct AttributeBinding {
    GLint location;
    GLuint buffer;
    GLint size;
};

// Checks that vertexArray enables exactly these attributes, each from its
// buffer, and records indexBuffer as its element buffer.
inline void expectVertexArray(GLuint vertexArray, GLuint indexBuffer,
                              const std::vector<AttributeBinding>& attributes) {
    glBindVertexArray(vertexArray);
    EXPECT_EQ(integer(GL_ELEMENT_ARRAY_BUFFER_BINDING), static_cast<GLint>(indexBuffer));
    GLint enabledCount = 0;
    for (GLint location = 0; location < integer(GL_MAX_VERTEX_ATTRIBS); ++location) {
        GLint enabled = 0;
        glGetVertexAttribiv(static_cast<GLuint>(location), GL_VERTEX_ATTRIB_ARRAY_ENABLED,
                            &enabled);
        enabledCount += enabled;
    }
    EXPECT_EQ(enabledCount, static_cast<GLint>(attributes.size()));
    for (const AttributeBinding& a : attributes) {
        const GLenum names[] = {
            GL_VERTEX_ATTRIB_ARRAY_ENABLED,    GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING,
            GL_VERTEX_ATTRIB_ARRAY_SIZE,       GL_VERTEX_ATTRIB_ARRAY_TYPE,
            GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, GL_VERTEX_ATTRIB_ARRAY_STRIDE};
        std::array<GLint, 6> actual{};
        for (size_t i = 0; i < actual.size(); ++i) {
            glGetVertexAttribiv(static_cast<GLuint>(a.location), names[i], &actual[i]);
        }
        EXPECT_EQ(actual, (std::array<GLint, 6>{GL_TRUE, static_cast<GLint>(a.buffer), a.size,
                                                GL_FLOAT, GL_FALSE, 0}))
            << "attribute at location " << a.location;
    }
    glBindVertexArray(0);
}

} // namespace gltest
