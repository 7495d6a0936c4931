// The shared test context: created lazily by the first GL test, destroyed by
// a GoogleTest environment after the last one.
#include "gl/gl_context.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <GLFW/glfw3.h>

namespace gltest {
namespace {

struct SharedContext {
    bool tried = false;
    GLFWwindow* window = nullptr;
    std::string why;
    std::string lastGlfwError;
};

SharedContext& shared() {
    static SharedContext context;
    return context;
}

// GLFW's messages go to standard error (tests read standard output) and are
// kept for the failure message.
void onGlfwError(int code, const char* description) {
    shared().lastGlfwError = description != nullptr ? description : "";
    fprintf(stderr, "GLFW error 0x%x: %s\n", code, shared().lastGlfwError.c_str());
}

std::string createContext(SharedContext& context) {
    const char* display = getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        return "no X display: DISPLAY is not set; run the GL tests under xvfb-run";
    }
    glfwSetErrorCallback(onGlfwError);
    if (glfwInit() != GLFW_TRUE) {
        return "glfwInit failed on DISPLAY=" + std::string(display) + ": " + context.lastGlfwError;
    }
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 2);
    glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    context.window = glfwCreateWindow(64, 64, "Tidemoor GL tests", nullptr, nullptr);
    if (context.window == nullptr) {
        std::string error = context.lastGlfwError;
        glfwTerminate();
        return "no OpenGL 3.2 core context: " + error;
    }
    glfwMakeContextCurrent(context.window);
    glewExperimental = GL_TRUE;
    GLenum glew = glewInit();
    if (glew != GLEW_OK) {
        return "glewInit failed: " +
               std::string(reinterpret_cast<const char*>(glewGetErrorString(glew)));
    }
    // Some GLEW builds query core-removed strings and leave an error behind;
    // it is not the tests' to report.
    while (glGetError() != GL_NO_ERROR) {
    }
    return "";
}

class ContextEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        SharedContext& context = shared();
        if (context.window != nullptr) {
            glfwDestroyWindow(context.window);
            context.window = nullptr;
        }
        if (context.tried) {
            glfwTerminate();
        }
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ContextEnvironment);

const char* errorName(GLenum error) {
    switch (error) {
    case GL_INVALID_ENUM:
        return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE:
        return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION:
        return "GL_INVALID_OPERATION";
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case GL_OUT_OF_MEMORY:
        return "GL_OUT_OF_MEMORY";
    default:
        return "unknown GL error";
    }
}

} // namespace

bool ensureGlContext(std::string* why) {
    SharedContext& context = shared();
    if (!context.tried) {
        context.tried = true;
        context.why = createContext(context);
    }
    if (context.window == nullptr || !context.why.empty()) {
        if (why != nullptr) {
            *why = context.why;
        }
        return false;
    }
    glfwMakeContextCurrent(context.window);
    return true;
}

::testing::AssertionResult noGlError() {
    std::ostringstream pending;
    // Bounded: a lost context can report errors forever.
    for (int i = 0; i < 16; ++i) {
        GLenum error = glGetError();
        if (error == GL_NO_ERROR) {
            break;
        }
        pending << (pending.tellp() > 0 ? ", " : "") << errorName(error) << " (0x" << std::hex
                << error << std::dec << ")";
    }
    if (pending.tellp() == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "GL error pending: " << pending.str();
}

void GlTest::SetUp() {
    std::string why;
    ASSERT_TRUE(ensureGlContext(&why)) << why;
    ASSERT_NO_GL_ERROR() << "left over from an earlier test";
}

void GlTest::TearDown() {
    std::string why;
    if (ensureGlContext(&why)) {
        EXPECT_NO_GL_ERROR();
    }
}

} // namespace gltest
