// Ordering a model's faces by material after reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geometry/obj_data.h"

// A stretch of faces read one after another under one material.
struct MaterialRun {
    uint32_t materialId = 0;
    size_t firstFace = 0;
};

// Sorts faces by ascending materialId (unsigned), keeping the read order of
// faces that share a material. runs must describe faces: ascending
// firstFace, the first at 0, each face's materialId that of its run.
void sortFacesByMaterial(std::vector<ObjFace>& faces, const std::vector<MaterialRun>& runs);
