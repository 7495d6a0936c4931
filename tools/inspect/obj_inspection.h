// What the system makes of an OBJ model: the parse (with its materials, the
// textures described by name only) and the groups the mesh builder cuts from
// it, each step timed, all without a GL context.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "geometry/mesh.h"

struct ObjInspection {
    std::string path;
    bool ok = false; // what loadObj returned
    Mesh mesh;       // objData and materials as read, groups as built
    uint64_t positions = 0;
    uint64_t normals = 0;
    uint64_t texCoords = 0;
    uint64_t faces = 0;        // faces kept by the parser
    uint64_t droppedFaces = 0; // face statements the parser dropped
    double parseSeconds = 0.0; // loadObj, material libraries included
    double buildSeconds = 0.0; // buildMeshGroups
};

// Loads and builds the model at path (relative to the working directory).
// Anything the loader writes to standard output goes to standard error
// meanwhile, so that a report on standard output stays intact.
ObjInspection inspectObj(const std::string& path);

// One JSON object; withVertices adds each group's vertices and indices.
void writeObjJson(const ObjInspection& inspection, bool withVertices, std::FILE* out);

// The same as a short text for people.
void writeObjSummary(const ObjInspection& inspection, bool withVertices, std::FILE* out);
