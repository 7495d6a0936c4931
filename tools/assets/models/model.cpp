// Model bookkeeping: groups by material, whole-model moves and bounds.
#include "tools/assets/models/model.h"

#include <stdexcept>

namespace assets {

Material texturedMaterial(const std::string& name, const std::string& texture, float specular) {
    Material material;
    material.name = name;
    material.diffuse = {1.0f, 1.0f, 1.0f};
    material.specular = {specular, specular, specular};
    material.texture = texture;
    return material;
}

void Model::add(const std::string& material, const MeshPart& part) {
    for (Group& g : groups) {
        if (g.material == material) {
            append(g.mesh, part);
            return;
        }
    }
    bool known = false;
    for (const Material& m : materials) {
        known = known || m.name == material;
    }
    if (!known) {
        throw std::logic_error("model " + objFile + " has no material " + material);
    }
    groups.push_back({material, part});
    // Keep groups in material order so the file lists them as the library does.
    std::vector<Group> ordered;
    for (const Material& m : materials) {
        for (Group& g : groups) {
            if (g.material == m.name) {
                ordered.push_back(std::move(g));
            }
        }
    }
    groups = std::move(ordered);
}

const Group* Model::group(const std::string& material) const {
    for (const Group& g : groups) {
        if (g.material == material) {
            return &g;
        }
    }
    return nullptr;
}

void translateModel(Model& model, Vector3 offset) {
    for (Group& g : model.groups) {
        transform(g.mesh, translation(offset));
    }
}

void transformModel(Model& model, const Matrix& map) {
    for (Group& g : model.groups) {
        transform(g.mesh, map);
    }
}

Bounds modelBounds(const Model& model) {
    Bounds b;
    for (const Group& g : model.groups) {
        extend(b, bounds(g.mesh));
    }
    return b;
}

std::string normalMapName(const std::string& textureFile) {
    if (textureFile.size() < 4) {
        return {};
    }
    return textureFile.substr(0, textureFile.size() - 4) + "_NRM.tga";
}

} // namespace assets
