// GLSL programs built from "../Shader/<name>.vs" and "../Shader/<name>.fs",
// with the uniform and attribute locations the scene and the models use.
//
// A program that failed to build or link keeps program 0 and every location
// -1, so callers can skip it without asking GL and without raising a GL
// error.
#pragma once

#include <cstdint>
#include <string>

#include "resources/gl/gl_api.h"

struct TextFile;

struct ShaderProgram {
    GLuint program = 0;
    GLuint vertexShader = 0;
    GLuint fragmentShader = 0;

    // Location slots, named after the GLSL variables they locate; -1 when the
    // program has no active variable of that name or was not looked up.
    int32_t modelMatrix = -1;
    int32_t projectionMatrix = -1;
    int32_t modelViewMatrix = -1;
    int32_t shadowMatrix = -1;
    int32_t shadowTexture = -1;
    int32_t firstTexture = -1;
    int32_t normalMap = -1;
    int32_t ambient = -1;
    int32_t diffuse = -1;
    int32_t specular = -1;
    int32_t lightPosition = -1;
    int32_t useNormalMapping = -1;
    int32_t useTexture = -1;
    int32_t vertex = -1;
    int32_t normal = -1;
    int32_t tangent = -1;
    int32_t texCoord = -1;
};

// Reads, compiles and links the program called name into program; prints
// compile and link logs. Returns the record. Needs a current GL context.
ShaderProgram& loadShaderProgram(ShaderProgram& program, std::string name);

// Compiles both sources and attaches them to a new program. Returns false,
// with the failing shader's name cleared, when a source is missing or a shader
// does not compile; a compile failure prints its heading and the log. A
// missing source leaves the record untouched.
bool buildProgram(const TextFile* vertexSource, ShaderProgram* program,
                  const TextFile* fragmentSource);

// Links the program. On failure prints the log and clears the program name.
bool linkProgram(ShaderProgram* program);

// Deletes whatever GL objects the record names and clears them; safe to call
// again.
void destroyProgram(ShaderProgram* program);

// Location look-ups, one per slot: each asks GL for the named variable
// (uniform or attribute as the slot is) and stores the result in its slot. A
// program whose name is 0 (it failed to build or link) gets -1 without a GL
// call, so a broken shader file raises no GL error. The program must be
// linked when its name is not 0, as loadShaderProgram leaves it.
void locateModelMatrix(ShaderProgram& program, const char* name);
void locateProjectionMatrix(ShaderProgram& program, const char* name);
void locateModelViewMatrix(ShaderProgram& program, const char* name);
void locateShadowMatrix(ShaderProgram& program, const char* name);
void locateShadowTexture(ShaderProgram& program, const char* name);
void locateFirstTexture(ShaderProgram& program, const char* name);
void locateNormalMap(ShaderProgram& program, const char* name);
void locateAmbient(ShaderProgram& program, const char* name);
void locateDiffuse(ShaderProgram& program, const char* name);
void locateSpecular(ShaderProgram& program, const char* name);
void locateLightPosition(ShaderProgram& program, const char* name);
void locateUseNormalMapping(ShaderProgram& program, const char* name);
void locateUseTexture(ShaderProgram& program, const char* name);
void locateVertex(ShaderProgram& program, const char* name);
void locateNormal(ShaderProgram& program, const char* name);
void locateTangent(ShaderProgram& program, const char* name);
void locateTexCoord(ShaderProgram& program, const char* name);
