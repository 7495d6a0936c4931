// Command line of tidemoor-capture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/window_desc.h"

struct CaptureKey {
    int32_t frame = 0;
    int32_t keyCode = 0; // Win32 virtual-key code
};

struct CaptureShot {
    int32_t frame = 0;
    std::string file;
};

struct CaptureOptions {
    int32_t frames = 60;
    float dt = 1.0f / 60.0f;
    int32_t width = WindowDesc{}.width;
    int32_t height = WindowDesc{}.height;
    std::vector<CaptureKey> keys;
    std::vector<CaptureShot> shots;
    std::vector<CaptureShot> shadowShots; // the shadow map, as a grey picture
    bool stats = false;
    bool help = false;
};

// Parses the arguments after the program name. On a malformed argument
// returns false with a one-line reason in error.
bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options,
                         std::string& error);

// A key name (SPACE, PRIOR, NEXT, LEFT, UP, RIGHT, DOWN, ADD, SUBTRACT, a
// letter or digit, ESCAPE) or a number such as 0x57; -1 when unknown.
int32_t parseKeyCode(const std::string& text);
