// A mesh on the GPU: its material textures, buffer upload, per-frame
// matrices, the draws of the depth and the lit pass, and release.
#pragma once

#include "geometry/mesh.h"

// Pass numbers of drawMesh.
constexpr int depthPass = 0;
constexpr int litPass = 1;

// Creates the GL textures the materials name, in the order the libraries
// name them; needs a current GL context. Each is left bound to the active
// unit as it is made.
void createMaterialTextures(Mesh& mesh);

// Stores the programs and uploads every group into its buffers and vertex
// arrays; the group's CPU lists and staging arrays are released afterwards.
// Each vertex buffer holds the group's vertexCount entries, each index buffer
// its indexCount indices. Attributes whose location is -1 are not set up.
void uploadMesh(Mesh& mesh, const ShaderProgram& depthProgram, const ShaderProgram& textureProgram);

// Deletes every group's buffers and vertex arrays; safe to call again. The
// materials' textures stay: they live until the process ends.
void releaseMesh(Mesh& mesh);

// modelMatrix = R(rotation) x T(position); the model-view matrices from the
// mesh's camera and light (each left as it was while its reference is unset).
void updateMeshMatrices(Mesh& mesh);

// shadowMatrix = bias x camera projection x light view x inverse(camera view).
void updateMeshShadowMatrix(Mesh& mesh);

// Draws every group for pass depthPass or litPass with the matching program
// in use; any other pass, or a program that failed to build (name 0), sets
// and draws nothing.
void drawMesh(const Mesh& mesh, int pass);
