// The GL tests' context: one hidden GLFW window with the 3.2 forward-
// compatible core context the program asks for, made by the first GL test.
#pragma once

#include <string>

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace gltest {

// Returns why there is no context, or "" with it current.
inline std::string makeContextCurrent() {
    static GLFWwindow* window = nullptr;
    static const std::string why = []() -> std::string {
        if (glfwInit() != GLFW_TRUE) {
            // GLFW's own reason, so that a failure under a running Xvfb says why.
            const char* reason = nullptr;
            glfwGetError(&reason);
            return std::string("no X display: run the GL tests under Xvfb (") +
                   (reason ? reason : "no reason given") + ")";
        }
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 2);
        glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
        glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
        window = glfwCreateWindow(64, 64, "Tidemoor GL tests", nullptr, nullptr);
        if (window == nullptr)
            return "no OpenGL 3.2 core context";
        glfwMakeContextCurrent(window);
        glewExperimental = GL_TRUE;
        const bool ready = glewInit() == GLEW_OK;
        // GLEW may ask for strings a core context lacks; that error is not ours.
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        }
        return ready ? "" : "glewInit failed";
    }();
    glfwMakeContextCurrent(window);
    return why;
}

// Fails with the first pending GL error, and clears the rest.
inline ::testing::AssertionResult noGlError() {
    const GLenum error = glGetError();
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    if (error == GL_NO_ERROR)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "GL error 0x" << std::hex << error;
}

// A fixture with the context current; a test fails when it leaves a GL error.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(makeContextCurrent(), "");
        ASSERT_TRUE(noGlError()) << "left over from an earlier test";
    }
    void TearDown() override { EXPECT_TRUE(noGlError()); }
};

} // namespace gltest
