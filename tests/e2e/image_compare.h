// Pictures for the end-to-end tests: PNG files the capture tool writes, and
// the window's content read from the X server; and how two pictures differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top row first, 3 bytes per pixel
};

// Loads a PNG; an empty picture when it cannot be read.
Picture loadPicture(const std::string& path);

// The content of an X window, read with XGetImage; empty on failure.
Picture grabWindow(unsigned long window);

struct Difference {
    double meanAbsolute = 0.0;  // mean over all channels, 0 to 255
    double changedShare = 0.0;  // share of pixels with a channel off by more than 16
    uint64_t changedPixels = 0; // count of those pixels
    bool sameSize = false;
};

// How b differs from a, inside the rectangle x0..x1, y0..y1 (exclusive ends;
// the whole picture when x1 or y1 is 0).
Difference compare(const Picture& a, const Picture& b, int x0 = 0, int y0 = 0, int x1 = 0,
                   int y1 = 0);

// Mean brightness (0 to 255) over the rectangle, as compare takes it.
double brightness(const Picture& picture, int x0 = 0, int y0 = 0, int x1 = 0, int y1 = 0);
