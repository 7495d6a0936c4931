// A model of the default scene: material groups of triangles, their MTL
// materials and the textures those name.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/shapes/mesh_part.h"
#include "tools/assets/textures/image.h"
#include "tools/assets/writing/tga_writer.h"

namespace assets {

struct Material {
    std::string name;
    Vector3 ambient{0.2f, 0.2f, 0.2f};
    Vector3 diffuse{0.8f, 0.8f, 0.8f};
    Vector3 specular{0.2f, 0.2f, 0.2f};
    int illum = 2;
    std::string texture; // file named by map_Kd
};

// A material coloured by its texture alone (white diffuse), with a grey
// specular of the given strength.
Material texturedMaterial(const std::string& name, const std::string& texture, float specular);

// A colour map and, unless the loader gives its name none, its normal map.
struct TextureFile {
    std::string fileName;
    Image colour;
    TgaEncoding encoding = TgaEncoding::raw;
    Image normalMap; // width 0: no normal map is written
};

struct Group {
    std::string material;
    MeshPart mesh;
};

struct Model {
    std::string objFile;
    std::string mtlFile;
    std::string description; // first comment line of both files
    std::vector<Material> materials;
    std::vector<Group> groups; // in the order of materials

    // Adds part to the group of material (which must be one of materials).
    void add(const std::string& material, const MeshPart& part);
    const Group* group(const std::string& material) const;
};

// Moves every vertex of the model by offset.
void translateModel(Model& model, Vector3 offset);

// Turns every vertex (position and normal) of the model by map's linear part.
void transformModel(Model& model, const Matrix& map);

Bounds modelBounds(const Model& model);

// The normal-map file the loader derives from a colour map's name: the last
// four characters ("X.tga") replaced, giving "X_NRM.tga".
std::string normalMapName(const std::string& textureFile);

// The one colour map that gets no normal map.
inline const char* const skyTextureName = "bikini.tga";

} // namespace assets
