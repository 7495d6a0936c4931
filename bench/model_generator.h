// Benchmark models: a displaced grid written as a triangulated Wavefront OBJ
// file with v/vt/vn faces, like a scanned terrain or sculpt an artist would
// export. Every inner grid point is a corner of six triangles, the numbers
// are written with six decimals ("v -3.141593 0.271828 9.876543"), and the
// faces come in many "usemtl" runs over several materials of one library.
#pragma once

#include <cstdint>
#include <string>

struct GeneratedModel {
    std::string objPath;
    uint64_t triangles = 0;
    uint64_t vertices = 0;
    uint64_t bytes = 0; // size of the OBJ file
};

// Writes name.obj and name.mtl into folder with about triangles triangles
// (a grid twice as wide as deep). Returns false when a file cannot be
// written.
bool generateGridModel(const std::string& folder, const std::string& name, uint64_t triangles,
                       GeneratedModel& model);
