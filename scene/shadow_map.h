// The shadow map: a square depth texture behind a framebuffer without colour,
// drawn from the light each frame and sampled by the lit pass on unit 0.
#pragma once

#include <cstdint>

#include "resources/gl/gl_api.h"
#include "view/camera.h"

struct ShadowMap {
    GLuint depthTexture = 0;
    GLuint framebuffer = 0;
    uint32_t viewportWidth = defaultViewWidth;
    uint32_t viewportHeight = defaultViewHeight;
    uint32_t size = 1024; // texels per side, and the shadow pass's viewport
};

// Makes the depth texture: nearest filtering, clamped to its edge, depth
// values chosen by GL, no compare mode.
void createDepthTexture(ShadowMap& shadowMap);

// Makes the depth texture and the framebuffer, reporting an incomplete one
// with "GL_FRAMEBUFFER_COMPLETE error 0x<status>". Leaves the window's
// framebuffer bound.
void initShadowMap(ShadowMap& shadowMap);

// GL state for drawing into the shadow map: front faces culled, colour
// masked, size x size viewport, depth cleared, polygon offset 1.1 / 4.
void enterShadowPass(const ShadowMap& shadowMap);

// Back to the window: colour on, viewport width x height (the window's
// client size), colour and depth cleared, back faces culled. Polygon offset
// stays on.
void leaveShadowPass(uint32_t viewportWidth, uint32_t viewportHeight);
