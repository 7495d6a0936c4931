// Shader programs: compiles "../Shader/<name>.vs" and ".fs", links them, and
// looks up the locations the scene and the models use. Compile and link
// failures print the driver's log to standard output and are not fatal; the
// record is left with the failing object's name 0.
#include "resources/gl/shader_program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/glsl_es_source.h"
#include "resources/text_file.h"

namespace {

// Prints heading, then the log with a line break. length is GL's
// GL_INFO_LOG_LENGTH, which counts the terminating zero; a buffer of at least
// one zeroed byte keeps an empty or unterminated log printable.
template <typename GetLog>
void printInfoLog(const char* heading, GLint length, GetLog getLog) {
    GLsizei size = length > 0 ? length : 1;
    auto* log = static_cast<char*>(calloc(static_cast<size_t>(size), 1));
    if (log != nullptr) {
        getLog(size, log);
        log[size - 1] = '\0';
    }
    printf("%s", heading);
    printf("%s\n", log != nullptr ? log : "");
    free(log);
}

// Creates and compiles one shader from a zero-terminated source. On failure
// prints heading and the log, deletes the shader and returns 0.
GLuint compileShader(GLenum type, const char* source, const char* heading) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        return shader;
    }
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    printInfoLog(heading, length, [shader](GLsizei size, char* log) {
        glGetShaderInfoLog(shader, size, nullptr, log);
    });
    glDeleteShader(shader);
    return 0;
}

// A program name of 0 means it failed to build or link: -1 without a GL call,
// which would only raise GL_INVALID_VALUE.
void locateUniform(ShaderProgram& program, int32_t ShaderProgram::*slot, const char* name) {
    program.*slot =
        program.program != 0 && name != nullptr ? glGetUniformLocation(program.program, name) : -1;
}

void locateAttribute(ShaderProgram& program, int32_t ShaderProgram::*slot, const char* name) {
    program.*slot =
        program.program != 0 && name != nullptr ? glGetAttribLocation(program.program, name) : -1;
}

#ifdef __EMSCRIPTEN__
// WebGL 2 compiles GLSL ES 3.00 only: the desktop source is rewritten as it
// is loaded, so Shader/ stays the one source of both.
void rewriteForBrowser(TextFile& file) {
    if (file.text == nullptr)
        return;
    const std::string es = glslEsSource(std::string_view(file.text, std::strlen(file.text)));
    auto* text = static_cast<char*>(malloc(es.size() + 1));
    if (text == nullptr)
        return;
    std::memcpy(text, es.c_str(), es.size() + 1);
    free(file.text);
    file.text = text;
    file.length = static_cast<int32_t>(es.size());
}
#endif

} // namespace

// Paths are relative to the working directory: the shaders sit in a sibling
// folder "Shader" of the one the program runs in.
ShaderProgram& loadShaderProgram(ShaderProgram& program, std::string name) {
    TextFile vertexSource;
    TextFile fragmentSource;
    readFile(("../Shader/" + name + ".vs").c_str(), &vertexSource);
    readFile(("../Shader/" + name + ".fs").c_str(), &fragmentSource);
#ifdef __EMSCRIPTEN__
    rewriteForBrowser(vertexSource);
    rewriteForBrowser(fragmentSource);
#endif
    if (buildProgram(&vertexSource, &program, &fragmentSource)) {
        linkProgram(&program);
    }
    releaseTextFile(vertexSource);
    releaseTextFile(fragmentSource);
    return program;
}

// A missing source leaves the record untouched. A fragment shader that fails
// leaves vertexShader set for destroyProgram to delete.
bool buildProgram(const TextFile* vertexSource, ShaderProgram* program,
                  const TextFile* fragmentSource) {
    if (program == nullptr || vertexSource == nullptr || fragmentSource == nullptr ||
        vertexSource->text == nullptr || fragmentSource->text == nullptr) {
        return false;
    }
    program->program = 0;
    program->vertexShader = 0;
    program->fragmentShader = 0;

    program->vertexShader =
        compileShader(GL_VERTEX_SHADER, vertexSource->text, "Vertex shader compile error:\n");
    if (program->vertexShader == 0) {
        return false;
    }
    program->fragmentShader =
        compileShader(GL_FRAGMENT_SHADER, fragmentSource->text, "Fragment shader compile error:\n");
    if (program->fragmentShader == 0) {
        return false;
    }
    program->program = glCreateProgram();
    glAttachShader(program->program, program->vertexShader);
    glAttachShader(program->program, program->fragmentShader);
    return true;
}

// No attribute locations or fragment outputs are bound first: the scene asks
// for the ones the linker chose. A failed program object is deleted and its
// name cleared; the shaders stay for destroyProgram.
bool linkProgram(ShaderProgram* program) {
    if (program == nullptr || program->program == 0) {
        return false;
    }
    glLinkProgram(program->program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program->program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE) {
        return true;
    }
    GLint length = 0;
    glGetProgramiv(program->program, GL_INFO_LOG_LENGTH, &length);
    GLuint name = program->program;
    printInfoLog("Shader program link error:\n", length, [name](GLsizei size, char* log) {
        glGetProgramInfoLog(name, size, nullptr, log);
    });
    glDeleteProgram(name);
    program->program = 0;
    return false;
}

// Program first, then fragment, then vertex shader; each name is cleared, so
// a second call deletes nothing.
void destroyProgram(ShaderProgram* program) {
    if (program == nullptr) {
        return;
    }
    if (program->program != 0) {
        glDeleteProgram(program->program);
        program->program = 0;
    }
    if (program->fragmentShader != 0) {
        glDeleteShader(program->fragmentShader);
        program->fragmentShader = 0;
    }
    if (program->vertexShader != 0) {
        glDeleteShader(program->vertexShader);
        program->vertexShader = 0;
    }
}

// clang-format off
void locateModelMatrix(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::modelMatrix, n); }
void locateProjectionMatrix(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::projectionMatrix, n); }
void locateModelViewMatrix(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::modelViewMatrix, n); }
void locateShadowMatrix(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::shadowMatrix, n); }
void locateShadowTexture(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::shadowTexture, n); }
void locateFirstTexture(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::firstTexture, n); }
void locateNormalMap(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::normalMap, n); }
void locateAmbient(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::ambient, n); }
void locateDiffuse(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::diffuse, n); }
void locateSpecular(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::specular, n); }
void locateLightPosition(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::lightPosition, n); }
void locateUseNormalMapping(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::useNormalMapping, n); }
void locateUseTexture(ShaderProgram& p, const char* n) { locateUniform(p, &ShaderProgram::useTexture, n); }
void locateVertex(ShaderProgram& p, const char* n) { locateAttribute(p, &ShaderProgram::vertex, n); }
void locateNormal(ShaderProgram& p, const char* n) { locateAttribute(p, &ShaderProgram::normal, n); }
void locateTangent(ShaderProgram& p, const char* n) { locateAttribute(p, &ShaderProgram::tangent, n); }
void locateTexCoord(ShaderProgram& p, const char* n) { locateAttribute(p, &ShaderProgram::texCoord, n); }
// clang-format on
