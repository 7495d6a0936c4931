// Writing models as Wavefront OBJ files with MTL material libraries.
//
// The OBJ names its library with "mtllib", lists "v", "vt" and "vn" lines
// (each distinct value once) and then, per material group, "usemtl" and
// triangles "f v/vt/vn v/vt/vn v/vt/vn", counter-clockwise from the front.
// Every face carries all three indices, since the loader expects v/vt/vn on
// every face once a "vn" has been read. Texture coordinates are written as
// vt = (-s, -t): the system negates them on upload, so the GPU samples (s, t).
#pragma once

#include <string>

#include "tools/assets/models/model.h"

namespace assets {

std::string objText(const Model& model);
std::string mtlText(const Model& model);

} // namespace assets
