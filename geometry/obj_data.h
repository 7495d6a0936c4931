// The parsed form of a Wavefront OBJ model and its MTL materials.
//
// ObjData also serves as a mesh group's vertex lists (see mesh.h), which is
// why it carries tangents and indices that the parser leaves empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/vector3.h"

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

// Zero-based indices into the model's lists; 0 where the statement carried
// none. Stored as position, normal, texture coordinate, unlike the written
// order v/vt/vn.
struct FaceVertex {
    int32_t positionIndex = 0;
    int32_t normalIndex = 0;
    int32_t texCoordIndex = 0;
};

// A face keeps its first three corners inline, so triangles need no heap
// block of their own; corners beyond the third live in the model's
// extraFaceVertices (see faceVertex). Its normal and tangent are not stored:
// they follow from the corners (see faceFrame in obj_parser.h), which keeps
// a face at 48 bytes.
struct ObjFace {
    static constexpr uint32_t inlineVertices = 3;

    uint32_t materialId = 0;
    FaceVertex vertices[inlineVertices];
    uint32_t vertexCount = 0;
    uint32_t extraOffset = 0; // first of corners 3.. in extraFaceVertices
};

struct ObjData {
    std::vector<Vector3> positions;
    std::vector<Vector3> normals;
    std::vector<Vector3> tangents;
    std::vector<TexCoord> texCoords;
    std::vector<ObjFace> faces;
    std::vector<uint32_t> indices;
    // Corners 3.. of faces with more than three, in the order the faces were
    // read (the sort by material moves only the faces).
    std::vector<FaceVertex> extraFaceVertices;
    // Face statements the parser read but did not keep: fewer than three
    // corners, or an index outside the lists read so far.
    uint64_t droppedFaces = 0;
};

// Corner i (0 <= i < face.vertexCount) of face.
inline const FaceVertex& faceVertex(const ObjData& data, const ObjFace& face, uint32_t i) {
    return i < ObjFace::inlineVertices
               ? face.vertices[i]
               : data.extraFaceVertices[face.extraOffset + (i - ObjFace::inlineVertices)];
}

struct Material {
    std::string name;
    int32_t id = 0;
    int32_t illum = 0;
    Vector3 ambient;
    Vector3 diffuse;
    Vector3 specular;
    bool hasTexture = false;
    bool hasNormalMap = false;
    // The files of the colour texture and the normal map, named as written,
    // relative to the working directory; empty for none. The GL textures are
    // made from them apart (createMaterialTextures).
    std::string texture;
    std::string normalMap;
};

// Empties all lists of data and gives their memory back.
inline void clearObjData(ObjData& data) {
    data = ObjData{};
}
