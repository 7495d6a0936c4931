// A built mesh on the GPU: each group's vertex lists go through the shared
// model buffers, its matrices follow its placement every frame, and its lit
// draws take the surface from the group's material.
#include "geometry/gl/mesh_buffers.h"

#include <algorithm>

#include "geometry/gl/model_buffers.h"
#include "resources/gl/shader_program.h"
#include "resources/gl/texture.h"
#include "view/model_matrices.h"

namespace {

// clear() would keep the capacity; a swap with an empty array gives it back.
template <typename T>
void release(std::vector<T>& staging) {
    std::vector<T>().swap(staging);
}

// Fills the staging arrays: vertexCount entries per vertex buffer (only those
// are referenced; a list shorter than that is padded with zeros rather than
// read past) and indexCount indices. Texture coordinates are negated: the
// models' textures are laid out for the flipped coordinates, and repeat
// wrapping brings them back into range.
void stage(MeshGroup& group) {
    const ObjData& lists = group.geometry;
    const size_t vertices = group.vertexCount;
    group.positionData.assign(vertices * 4, 0.0f);
    group.normalData.assign(vertices * 3, 0.0f);
    group.tangentData.assign(vertices * 3, 0.0f);
    group.texCoordData.assign(vertices * 2, 0.0f);
    group.indexData.assign(group.indexCount, 0u);

    for (size_t k = 0; k < vertices; ++k) {
        group.positionData[4 * k + 3] = 1.0f;
    }
    for (size_t k = 0; k < std::min(vertices, lists.positions.size()); ++k) {
        group.positionData[4 * k] = lists.positions[k].x;
        group.positionData[4 * k + 1] = lists.positions[k].y;
        group.positionData[4 * k + 2] = lists.positions[k].z;
    }
    for (size_t k = 0; k < std::min(vertices, lists.normals.size()); ++k) {
        group.normalData[3 * k] = lists.normals[k].x;
        group.normalData[3 * k + 1] = lists.normals[k].y;
        group.normalData[3 * k + 2] = lists.normals[k].z;
    }
    for (size_t k = 0; k < std::min(vertices, lists.tangents.size()); ++k) {
        group.tangentData[3 * k] = lists.tangents[k].x;
        group.tangentData[3 * k + 1] = lists.tangents[k].y;
        group.tangentData[3 * k + 2] = lists.tangents[k].z;
    }
    for (size_t k = 0; k < std::min(vertices, lists.texCoords.size()); ++k) {
        group.texCoordData[2 * k] = -lists.texCoords[k].u;
        group.texCoordData[2 * k + 1] = -lists.texCoords[k].v;
    }
    std::copy_n(lists.indices.begin(), std::min<size_t>(group.indexCount, lists.indices.size()),
                group.indexData.begin());
}

void uploadGroup(MeshGroup& group, const ShaderProgram& depthProgram,
                 const ShaderProgram& textureProgram) {
    stage(group);
    generateBuffers(bufferNames(group));
    uploadBuffers(bufferNames(group),
                  {.positions = group.positionData.data(),
                   .normals = group.normalData.data(),
                   .tangents = group.tangentData.data(),
                   .texCoords = group.texCoordData.data(),
                   .vertexCount = group.vertexCount,
                   .indices = group.indexData.data(),
                   .indexCount = group.indexCount},
                  depthProgram, textureProgram);

    // From here on vertexCount and indexCount describe the buffers; the CPU
    // copies are not read again.
    clearObjData(group.geometry);
    release(group.positionData);
    release(group.normalData);
    release(group.tangentData);
    release(group.texCoordData);
    release(group.indexData);
}

bool usable(const ShaderProgram* program) {
    return program != nullptr && program->program != 0;
}

// Material state of one group in the lit pass. A model without materials (or
// a group pointing past them) draws untextured in a fixed neutral colour.
Surface surfaceOf(const Mesh& mesh, const MeshGroup& group, GLfloat (&colour)[4]) {
    if (group.materialIndex >= mesh.materials.size()) {
        return {.diffuse = neutralDiffuse};
    }
    const Material& material = mesh.materials[group.materialIndex];
    if (material.hasTexture) {
        const MaterialTextures textures = group.materialIndex < mesh.textures.size()
                                              ? mesh.textures[group.materialIndex]
                                              : MaterialTextures{};
        return {.textured = true,
                .normalMapped = material.hasNormalMap && mesh.normalMappingEnabled,
                .texture = textures.texture,
                .normalMap = textures.normalMap,
                .diffuse = texturedDiffuse};
    }
    // The fourth component is the specular red, as the lit shader reads it.
    colour[0] = material.diffuse.x;
    colour[1] = material.diffuse.y;
    colour[2] = material.diffuse.z;
    colour[3] = material.specular.x;
    return {.diffuse = colour};
}

} // namespace

void createMaterialTextures(Mesh& mesh) {
    mesh.textures.resize(mesh.materials.size());
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        const Material& material = mesh.materials[i];
        MaterialTextures& textures = mesh.textures[i];
        if (material.hasTexture && textures.texture == 0) {
            textures.texture = Texture(material.texture, material.texture).textureId;
        }
        if (material.hasNormalMap && textures.normalMap == 0) {
            textures.normalMap = Texture(material.normalMap, material.normalMap).textureId;
        }
    }
}

void uploadMesh(Mesh& mesh, const ShaderProgram& depthProgram,
                const ShaderProgram& textureProgram) {
    mesh.depthProgram = &depthProgram;
    mesh.textureProgram = &textureProgram;
    for (MeshGroup& group : mesh.groups) {
        uploadGroup(group, depthProgram, textureProgram);
    }
}

void releaseMesh(Mesh& mesh) {
    for (MeshGroup& group : mesh.groups) {
        deleteBuffers(bufferNames(group));
    }
}

void updateMeshMatrices(Mesh& mesh) {
    // Rotated first, then translated in the rotated frame.
    identity(mesh.modelMatrix);
    rotateRzRyRx(mesh.modelMatrix, mesh.rotation.x, mesh.rotation.y, mesh.rotation.z);
    translate(mesh.modelMatrix, mesh.position.x, mesh.position.y, mesh.position.z);
    computeModelViews(mesh.modelViewMatrix, mesh.lightModelViewMatrix, mesh.modelMatrix,
                      mesh.camera, mesh.light);
}

void updateMeshShadowMatrix(Mesh& mesh) {
    if (mesh.camera != nullptr && mesh.light != nullptr) {
        computeShadowMatrix(mesh.shadowMatrix, *mesh.camera, *mesh.light);
    }
}

void drawMesh(const Mesh& mesh, int pass) {
    if (pass == depthPass && usable(mesh.depthProgram)) {
        for (const MeshGroup& group : mesh.groups) {
            drawDepth(group.depthVertexArray, group.indexCount, *mesh.depthProgram,
                      mesh.modelMatrix, mesh.lightModelViewMatrix);
        }
    } else if (pass == litPass && usable(mesh.textureProgram)) {
        GLfloat colour[4];
        for (const MeshGroup& group : mesh.groups) {
            drawLit(group.litVertexArray, group.indexCount, *mesh.textureProgram, mesh.shadowMatrix,
                    mesh.modelViewMatrix, surfaceOf(mesh, group, colour));
        }
    }
}
