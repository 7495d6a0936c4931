// The shadow map's GL objects and the state of the shadow pass.
#include "scene/shadow_map.h"

#include <cstdio>

void createDepthTexture(ShadowMap& shadowMap) {
    glGenTextures(1, &shadowMap.depthTexture);
    glBindTexture(GL_TEXTURE_2D, shadowMap.depthTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    // Clamped to the edge: core profiles refuse GL_CLAMP, and repeating would
    // cast shadows from the far side of the map. The lit shader treats points
    // outside the map as lit.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const auto size = static_cast<GLsizei>(shadowMap.size);
#ifdef __EMSCRIPTEN__
    // OpenGL ES takes depth texels only as 16- or 32-bit integers (or
    // floats); 24 bits, as desktop drivers choose for an unsized depth
    // format, keep the shadow comparisons alike.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size, size, 0, GL_DEPTH_COMPONENT,
                 GL_UNSIGNED_INT, nullptr);
#else
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, size, size, 0, GL_DEPTH_COMPONENT,
                 GL_UNSIGNED_BYTE, nullptr);
#endif
    glBindTexture(GL_TEXTURE_2D, 0);
}

void initShadowMap(ShadowMap& shadowMap) {
    createDepthTexture(shadowMap);
    glGenFramebuffers(1, &shadowMap.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowMap.framebuffer);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                           shadowMap.depthTexture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::printf("GL_FRAMEBUFFER_COMPLETE error 0x%x", glCheckFramebufferStatus(GL_FRAMEBUFFER));
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void enterShadowPass(const ShadowMap& shadowMap) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glCullFace(GL_FRONT);
    glBindFramebuffer(GL_FRAMEBUFFER, shadowMap.framebuffer);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    const auto size = static_cast<GLsizei>(shadowMap.size);
    glViewport(0, 0, size, size);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPolygonOffset(1.1f, 4.0f);
}

void leaveShadowPass(uint32_t viewportWidth, uint32_t viewportHeight) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(0, 0, static_cast<GLsizei>(viewportWidth), static_cast<GLsizei>(viewportHeight));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCullFace(GL_BACK);
}
