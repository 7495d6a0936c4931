// A mesh on the GPU: buffer upload, per-frame matrices and the draws of the
// depth and the lit pass.
#pragma once

#include "geometry/mesh.h"

// Pass numbers of drawMesh.
constexpr int depthPass = 0;
constexpr int litPass = 1;

// Colour of groups whose model has no materials at all.
constexpr float neutralDiffuse[4] = {0.7f, 0.7f, 0.7f, 1.0f};

// Stores the programs and uploads every group into its buffers and vertex
// arrays; the group's CPU lists and staging arrays are released afterwards.
// Each vertex buffer holds the group's vertexCount entries, each index buffer
// its indexCount indices. Attributes whose location is -1 are not set up.
void uploadMesh(Mesh& mesh, const ShaderProgram& depthProgram, const ShaderProgram& textureProgram);

// modelMatrix = R(rotation) x T(position); the model-view matrices from the
// mesh's camera and light (each left as it was while its reference is unset).
void updateMeshMatrices(Mesh& mesh);

// shadowMatrix = bias x camera projection x light view x inverse(camera view).
void updateMeshShadowMatrix(Mesh& mesh);

// Draws every group for pass depthPass or litPass with the matching program
// in use; any other pass, or a program that failed to build (name 0), sets
// and draws nothing.
void drawMesh(const Mesh& mesh, int pass);
