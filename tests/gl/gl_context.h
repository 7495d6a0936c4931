// A shared OpenGL context for the GL tests: one hidden GLFW window with a
// 3.2 forward-compatible core context (what the program itself asks for),
// made current and with GLEW initialised, created on first use and kept for
// the whole test program.
//
// Derive a fixture from GlTest: it fails the test with the reason when no
// context can be made (no X display: run under xvfb-run), and checks after
// every test that no GL error is pending.
#pragma once

#include <string>

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace gltest {

// Makes the shared context current, creating it on the first call. Returns
// false, with why set, when there is no display or no suitable context.
bool ensureGlContext(std::string* why);

// Success when glGetError reports nothing; otherwise a failure naming every
// pending error (they are drained, so the next check starts clean).
::testing::AssertionResult noGlError();

// Test fixture with a current context; fails in SetUp without one and checks
// for GL errors in TearDown.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace gltest

#define EXPECT_NO_GL_ERROR() EXPECT_TRUE(::gltest::noGlError())
#define ASSERT_NO_GL_ERROR() ASSERT_TRUE(::gltest::noGlError())
