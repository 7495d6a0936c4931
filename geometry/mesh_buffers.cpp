// A built mesh on the GPU: each group's vertex lists go into five buffers
// behind two vertex arrays (depth pass: positions only; lit pass: positions,
// normals, tangents, texture coordinates), its matrices follow its placement
// every frame, and its draws set the per-group material state.
//
// Only uploadMesh and drawMesh touch GL. A program that failed to build has
// name 0 and every location -1: attributes and uniforms at -1 are skipped,
// and nothing is set or drawn with program 0, so a broken shader file raises
// no GL error and the rest of the scene still draws.
#include "geometry/mesh_buffers.h"

#include <algorithm>

#include "geometry/donut.h"
#include "geometry/gl_drawing.h"
#include "resources/shader_program.h"
#include "resources/texture.h"
#include "view/camera.h"
#include "view/light.h"

namespace {

// The colour sent for textured groups; the texture supplies the rest.
constexpr GLfloat texturedDiffuse[4] = {0.3f, 0.3f, 1.0f, 1.0f};

template <typename T>
void fillBuffer(GLenum target, GLuint buffer, const std::vector<T>& data) {
    ::fillBuffer(target, buffer, data.size() * sizeof(T), data.data());
}

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

    glGenVertexArrays(1, &group.litVertexArray);
    glGenVertexArrays(1, &group.depthVertexArray);
    glGenBuffers(1, &group.positionBuffer);
    glGenBuffers(1, &group.normalBuffer);
    glGenBuffers(1, &group.tangentBuffer);
    glGenBuffers(1, &group.texCoordBuffer);
    glGenBuffers(1, &group.indexBuffer);

    // The depth vertex array only records bindings; the data follows.
    glBindVertexArray(group.depthVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, group.positionBuffer);
    setAttribute(depthProgram.vertex, 4);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, group.indexBuffer);

    glBindVertexArray(group.litVertexArray);
    fillBuffer(GL_ARRAY_BUFFER, group.positionBuffer, group.positionData);
    setAttribute(textureProgram.vertex, 4);
    fillBuffer(GL_ARRAY_BUFFER, group.normalBuffer, group.normalData);
    setAttribute(textureProgram.normal, 3);
    fillBuffer(GL_ARRAY_BUFFER, group.tangentBuffer, group.tangentData);
    setAttribute(textureProgram.tangent, 3);
    fillBuffer(GL_ARRAY_BUFFER, group.texCoordBuffer, group.texCoordData);
    setAttribute(textureProgram.texCoord, 2);
    fillBuffer(GL_ELEMENT_ARRAY_BUFFER, group.indexBuffer, group.indexData);

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

void drawDepth(const Mesh& mesh) {
    const ShaderProgram& program = *mesh.depthProgram;
    for (const MeshGroup& group : mesh.groups) {
        glBindVertexArray(group.depthVertexArray);
        setMatrix(program.modelMatrix, mesh.modelMatrix);
        setMatrix(program.modelViewMatrix, mesh.lightModelViewMatrix);
        drawElements(group.indexCount);
    }
}

// Material state of one group in the lit pass.
void setMaterial(const Mesh& mesh, const MeshGroup& group, const ShaderProgram& program) {
    // A model without materials (or a group pointing past them) draws
    // untextured in a fixed neutral colour.
    if (group.materialIndex >= mesh.materials.size()) {
        setFlag(program.useTexture, false);
        setFlag(program.useNormalMapping, false);
        setColour(program.diffuse, neutralDiffuse);
        return;
    }
    const Material& material = mesh.materials[group.materialIndex];
    const bool textured = material.hasTexture;
    const bool normalMapped = material.hasNormalMap && mesh.normalMappingEnabled;
    setFlag(program.useTexture, textured);
    setFlag(program.useNormalMapping, normalMapped);
    if (textured) {
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, material.texture ? material.texture->textureId : 0);
        if (normalMapped) {
            glActiveTexture(GL_TEXTURE2);
            glBindTexture(GL_TEXTURE_2D, material.normalMap ? material.normalMap->textureId : 0);
        }
        setColour(program.diffuse, texturedDiffuse);
    } else {
        // The fourth component is the specular red, as the lit shader reads it.
        const GLfloat colour[4] = {material.diffuse.x, material.diffuse.y, material.diffuse.z,
                                   material.specular.x};
        setColour(program.diffuse, colour);
    }
}

void drawLit(const Mesh& mesh) {
    const ShaderProgram& program = *mesh.textureProgram;
    for (const MeshGroup& group : mesh.groups) {
        glBindVertexArray(group.litVertexArray);
        setMatrix(program.shadowMatrix, mesh.shadowMatrix);
        setMatrix(program.modelViewMatrix, mesh.modelViewMatrix);
        setMaterial(mesh, group, program);
        drawElements(group.indexCount);
    }
}

} // namespace

void uploadMesh(Mesh& mesh, const ShaderProgram& depthProgram,
                const ShaderProgram& textureProgram) {
    mesh.depthProgram = &depthProgram;
    mesh.textureProgram = &textureProgram;
    for (MeshGroup& group : mesh.groups) {
        uploadGroup(group, depthProgram, textureProgram);
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
        drawDepth(mesh);
    } else if (pass == litPass && usable(mesh.textureProgram)) {
        drawLit(mesh);
    }
}
