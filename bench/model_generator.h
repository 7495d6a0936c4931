// Benchmark models: a displaced grid written as a triangulated Wavefront OBJ
// file with v/vt/vn faces, like a scanned terrain or sculpt an artist would
// export. Every inner grid point is a corner of six triangles, the numbers
// are written with six decimals ("v -3.141593 0.271828 9.876543"), and the
// faces come in many "usemtl" runs over several materials of one library.
//
// Besides, models made to slow vertex de-duplication down: 66,667 triangles
// over one triangle's three positions whose 200,001 corners each have a
// texture coordinate (or a normal) of their own, packed 1.5 tolerances
// apart; and a displaced grid whose positions and texture coordinates all lie
// on multiples of 2^-6, the borders of any power-of-two grid finer than
// that, every other face taking its positions 0.00005 off them.
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

// The models made to slow vertex de-duplication down.
constexpr const char* adversarialModels[] = {"shared-positions-distinct-uv",
                                             "shared-positions-distinct-normals", "cell-borders"};

// Writes folder/name.obj for one of adversarialModels; false for another name
// or when the file cannot be written.
bool generateAdversarialModel(const std::string& folder, const std::string& name,
                              GeneratedModel& model);
