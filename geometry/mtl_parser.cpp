// Reading MTL material libraries: names, colours, illumination model and the
// diffuse map with its derived normal map. The statements before the first
// "newmtl" belong to the first material, which that "newmtl" names; every
// later "newmtl" closes the material before it. Ids count from 0 in every
// library.
#include <string>
#include <string_view>
#include <utility>

#include "geometry/obj_parser.h"
#include "geometry/text_scanner.h"

namespace {

// The sky dome's texture has no normal map of its own.
constexpr std::string_view unmappedTexture = "bikini.tga";
constexpr std::string_view normalMapSuffix = "_NRM.tga";
// The last four characters of the diffuse map's name (normally ".tga") make
// way for the suffix.
constexpr size_t replacedSuffixLength = 4;

// Up to three numbers; a component not read keeps its value.
void readColour(TextScanner& text, Vector3& colour) {
    Vector3 read = colour;
    (void)(readFloat(text, read.x) && readFloat(text, read.y) && readFloat(text, read.z));
    colour = read;
}

// "map_Kd F": the diffuse texture from F and, unless F is exactly the sky
// dome's texture or too short to derive a name from, a normal map from F
// with its last four characters replaced by "_NRM.tga". Names are used as
// written, relative to the working directory.
void applyDiffuseMap(std::string_view fileName, Material& material) {
    material.hasTexture = true;
    material.texture = fileName;
    if (fileName == unmappedTexture || fileName.size() < replacedSuffixLength) {
        return;
    }
    material.hasNormalMap = true;
    material.normalMap = fileName.substr(0, fileName.size() - replacedSuffixLength);
    material.normalMap += normalMapSuffix;
}

} // namespace

void loadMtl(std::string_view text, std::vector<Material>& materials) {
    TextScanner scanner = scanText(text);
    Material current;
    int32_t nextId = 0;
    for (;;) {
        const std::string_view word = readWord(scanner);
        if (word.empty()) {
            break;
        }
        if (word == "newmtl") {
            // The name may be missing at the very end: the material still
            // counts, with an empty name.
            const std::string_view name = readWord(scanner);
            if (current.id != nextId) {
                materials.push_back(std::move(current));
                current = Material{};
                current.id = nextId;
            }
            current.name = name;
            ++nextId;
        } else if (word == "map_Kd") {
            const std::string_view fileName = readWord(scanner);
            if (!fileName.empty()) {
                applyDiffuseMap(fileName, current);
            }
        } else if (word == "Ka") {
            readColour(scanner, current.ambient);
        } else if (word == "Kd") {
            readColour(scanner, current.diffuse);
        } else if (word == "Ks") {
            readColour(scanner, current.specular);
        } else if (word == "illum") {
            int32_t illum = 0;
            if (readInt(scanner, illum)) {
                current.illum = illum;
            }
        } else {
            // "#" and every statement not read: the whole rest of the line.
            skipLine(scanner);
        }
    }
    materials.push_back(std::move(current));
}
