// Window depths to distances from the light, stretched to the grey range.
#include "capture/depth_picture.h"

#include <algorithm>
#include <cmath>

float distanceFromDepth(float depth, float zNear, float zFar) {
    const float ndc = 2.0f * depth - 1.0f;
    return 2.0f * zNear * zFar / (zFar + zNear - ndc * (zFar - zNear));
}

std::vector<uint8_t> depthPicture(const std::vector<float>& depths, float zNear, float zFar) {
    std::vector<uint8_t> grey(depths.size(), 255);
    std::vector<float> distances(depths.size(), 0.0f);
    float nearest = zFar;
    float farthest = zNear;
    for (size_t i = 0; i < depths.size(); ++i) {
        if (!(depths[i] < 1.0f))
            continue; // cleared: nothing drawn here
        distances[i] = distanceFromDepth(depths[i], zNear, zFar);
        nearest = std::min(nearest, distances[i]);
        farthest = std::max(farthest, distances[i]);
    }
    const float span = farthest - nearest;
    for (size_t i = 0; i < depths.size(); ++i) {
        if (!(depths[i] < 1.0f))
            continue;
        const float share = span > 0.0f ? (distances[i] - nearest) / span : 0.0f;
        grey[i] = static_cast<uint8_t>(std::lround(std::clamp(share, 0.0f, 1.0f) * 255.0f));
    }
    return grey;
}
