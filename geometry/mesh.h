// A model built from an OBJ file: one group per run of faces that share a
// material, each with de-duplicated vertices and 32-bit indices local to the
// group, and the names of its GL buffers once uploaded. Building needs no GL;
// uploading and drawing are in mesh_buffers.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geometry/obj_data.h"
#include "geometry/obj_parser.h"
#include "math/matrix.h"
#include "math/vector3.h"

struct Camera;
struct Light;
struct ShaderProgram;

// Two corners share a vertex only when every component of position, tangent,
// normal and texture coordinate differs by less than this.
constexpr float vertexMatchTolerance = 0.0001f;

struct MeshGroup {
    std::string name = "default";
    uint32_t materialIndex = 0;
    // Vertex i is entry i of positions, normals, tangents and texCoords;
    // indices refer to them. Emptied once uploaded.
    ObjData geometry;

    // Upload staging, released right after the upload.
    std::vector<float> positionData;
    std::vector<float> normalData;
    std::vector<float> tangentData;
    std::vector<float> texCoordData;
    std::vector<uint32_t> indexData;

    // GL names; 0 for none.
    uint32_t litVertexArray = 0;
    uint32_t depthVertexArray = 0;
    uint32_t positionBuffer = 0;
    uint32_t normalBuffer = 0;
    uint32_t tangentBuffer = 0;
    uint32_t texCoordBuffer = 0;
    uint32_t indexBuffer = 0;

    uint32_t vertexCount = 0;
    uint32_t indexCount = 0;
};

// GL names of one material's textures; 0 for none.
struct MaterialTextures {
    uint32_t texture = 0;
    uint32_t normalMap = 0;
};

struct Mesh {
    bool normalMappingEnabled = false;
    std::string path;
    ObjData objData;
    std::vector<Material> materials;
    // Entry i holds the textures of materials[i], once made; they live until
    // the process ends.
    std::vector<MaterialTextures> textures;
    std::vector<MeshGroup> groups;
    Vector3 position;
    Vector3 rotation; // degrees about x, y and z
    Matrix shadowMatrix;
    Matrix modelMatrix;
    Matrix modelViewMatrix;
    Matrix lightModelViewMatrix;
    // Set by the scene every frame before the matrices are updated.
    const Light* light = nullptr;
    const Camera* camera = nullptr;
    // Stored by the upload.
    const ShaderProgram* textureProgram = nullptr;
    const ShaderProgram* depthProgram = nullptr;
};

// A new mesh; with a non-empty path it is built from that file at once.
// Its materials name their textures; the GL textures are made apart
// (createMaterialTextures).
Mesh createMesh(const std::string& path);

// Reads mesh.path and builds its groups, printing
// "...done\n...creating Mesh: <path>\n\n" once the file has been read.
void buildMesh(Mesh& mesh);

// Cuts mesh.objData into groups (no output): the part of buildMesh after the
// file has been read.
void buildMeshGroups(Mesh& mesh);
