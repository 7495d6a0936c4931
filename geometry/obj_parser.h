// Reading Wavefront OBJ models and MTL material libraries.
//
// Files are scanned in memory. A material library is read whole; a model is
// read through a window of whole lines (see FileWindow), once to count its
// statements and once to read them, so that its text is never held whole.
// Words are separated by any white space; numbers are read as the C
// library's formatted input reads them ("%f" and "%i", with the same values
// as strtof and strtol).
// Malformed input never reads or writes out of bounds: faces with indices
// outside the lists read so far are dropped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/obj_data.h"
#include "math/vector3.h"

// Reads the OBJ file fileName (relative to the working directory) into data,
// which is emptied first, and appends the materials of the libraries it names
// to materials, each texture named but not loaded: creating the GL textures
// is a step of its own. Faces come out sorted by material; their frames
// follow from their corners (faceFrame). Returns false only when the file
// cannot be read. The model comes out the same whatever windowBytes, the
// size of the window the file is read through; tests try small ones.
constexpr size_t objWindowBytes = size_t{1} << 20;
bool loadObj(std::vector<Material>& materials, const std::string& fileName, ObjData& data,
             size_t windowBytes = objWindowBytes);

// The same from text already in memory; libraries named by "mtllib" are still
// read from files.
void parseObj(std::string_view text, std::vector<Material>& materials, ObjData& data);

// Appends the materials of one MTL library held in memory; ids start at 0.
void loadMtl(std::string_view text, std::vector<Material>& materials);

// Unit normal of the triangle p0, p1, p2 (counter-clockwise seen from the
// front points to the front). A degenerate triangle gives zero.
Vector3 computeFaceNormal(const Vector3& p0, const Vector3& p1, const Vector3& p2);

// A face's unit normal (computeFaceNormal of its first three corners'
// positions) and, when the model has texture coordinates, its unit tangent
// along which u grows and the bitangent normal x tangent; zero where they
// cannot be formed (under three corners, or corners naming no entry).
struct FaceFrame {
    Vector3 normal;
    Vector3 tangent;
    Vector3 bitangent;
};
FaceFrame faceFrame(const ObjData& data, const ObjFace& face);

// Whether the face has three corners whose first three name entries of the
// position list and, when asked, of the normal and texture coordinate lists.
bool cornersNameEntries(const ObjData& data, const ObjFace& face, bool normals, bool texCoords);

// faceFrame's normal and tangent alone.
Vector3 faceNormal(const ObjData& data, const ObjFace& face);
Vector3 faceTangent(const ObjData& data, const ObjFace& face);

// The same for a face already known to name entries (cornersNameEntries, with
// texture coordinates for the tangent), so the mesh builder checks it once.
Vector3 namedFaceNormal(const ObjData& data, const ObjFace& face);
Vector3 namedFaceTangent(const ObjData& data, const ObjFace& face);
