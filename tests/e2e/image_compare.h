// Pictures for the end-to-end tests: PNG files the capture tool writes and
// window contents read from the X server, and how two pictures differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top row first, 3 bytes per pixel
};

// Empty when the file cannot be read.
Picture loadPicture(const std::string& path);

// The window's content, read with XGetImage; empty on failure.
Picture grabWindow(unsigned long window);

struct Difference {
    bool sameSize = false;
    double meanAbsolute = 0.0;  // over all channels, 0 to 255
    uint64_t changedPixels = 0; // pixels with a channel off by more than 16
    double changedShare = 0.0;  // of all pixels
};

Difference compare(const Picture& a, const Picture& b);

// Mean brightness (0 to 255) in x0..x1, y0..y1 (exclusive ends); the whole
// picture by default.
double brightness(const Picture& picture, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1);
