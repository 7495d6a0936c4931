// The GL tests' context: the 3.2 forward-compatible core context the program
// asks for, on a small pbuffer of the headless backend (no X server), made by
// the first GL test.
#pragma once

#include <string>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "framework/app_callbacks.h"
#include "framework/platform.h"

namespace gltest {

// Returns why there is no context, or "" with it current.
inline std::string makeContextCurrent() {
    static const std::string why = []() -> std::string {
        contextRequest = ContextRequest{3, 2, contextForwardCompatible};
        WindowDesc desc;
        desc.width = 64;
        desc.height = 64;
        if (!createWindow(desc))
            return "no OpenGL 3.2 core context through EGL (standard error says why)";
        discardMessages(); // the activation is for a main loop, which no test runs here
        // GLEW built for GLX finds no GLX display under EGL, yet loads every
        // entry point: the version decides, as in the program's entry.
        glewExperimental = GL_TRUE;
        const GLenum result = glewInit();
        const bool ready = (result == GLEW_OK || result == GLEW_ERROR_NO_GLX_DISPLAY) &&
                           glewIsSupported("GL_VERSION_3_2");
        // GLEW may ask for strings a core context lacks; that error is not ours.
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        }
        return ready ? "" : "glewInit failed or no OpenGL 3.2";
    }();
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
