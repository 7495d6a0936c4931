// The OpenGL entry points the scene's libraries call: GLEW's on the desktop,
// where they are loaded once a context exists; in the browser, OpenGL ES 3.0's
// (WebGL 2), linked directly.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>

// Two desktop calls OpenGL ES lacks, each the same operation as an ES call:
// the depth clear value's setter takes a float, and only the plural form of
// the draw-buffer selection exists.
inline void glClearDepth(double depth) {
    glClearDepthf(static_cast<GLfloat>(depth));
}
inline void glDrawBuffer(GLenum buffer) {
    glDrawBuffers(1, &buffer);
}
#else
#include <GL/glew.h>
#endif
