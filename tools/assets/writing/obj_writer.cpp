// OBJ and MTL text for the scene's models.
#include "tools/assets/writing/obj_writer.h"

#include <cstdio>
#include <unordered_map>

namespace assets {

namespace {

// Index (1-based) of each distinct formatted line, in first-seen order.
class LineTable {
public:
    explicit LineTable(std::string& out) : out_(out) {}
    size_t indexOf(const std::string& line) {
        auto [it, inserted] = indices_.try_emplace(line, indices_.size() + 1);
        if (inserted) {
            out_ += line;
        }
        return it->second;
    }

private:
    std::string& out_;
    std::unordered_map<std::string, size_t> indices_;
};

std::string format(const char* pattern, float a, float b, float c) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, static_cast<double>(a), static_cast<double>(b),
                  static_cast<double>(c));
    return buffer;
}

std::string format(const char* pattern, float a, float b) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, static_cast<double>(a), static_cast<double>(b));
    return buffer;
}

// "-0.0000" and "0.0000" are one value; keep one spelling.
float tidy(float value, float unit) {
    return std::abs(value) < 0.5f * unit ? 0.0f : value;
}

} // namespace

std::string objText(const Model& model) {
    std::string header = "# " + model.description + "\n# Written by tidemoor-assets.\n";
    header += "mtllib " + model.mtlFile + "\n";

    std::string vertices;
    std::string coordinates;
    std::string normals;
    LineTable vertexTable(vertices);
    LineTable coordinateTable(coordinates);
    LineTable normalTable(normals);
    std::string faces;
    for (const Group& group : model.groups) {
        const MeshPart& mesh = group.mesh;
        std::vector<std::string> corners(mesh.positions.size());
        for (size_t i = 0; i < mesh.positions.size(); ++i) {
            Vector3 p = mesh.positions[i];
            Vector3 n = mesh.normals[i];
            Vec2 st = mesh.texCoords[i];
            size_t v = vertexTable.indexOf(
                format("v %.4f %.4f %.4f\n", tidy(p.x, 1e-4f), tidy(p.y, 1e-4f), tidy(p.z, 1e-4f)));
            size_t vt = coordinateTable.indexOf(
                format("vt %.5f %.5f\n", tidy(-st.x, 1e-5f), tidy(-st.y, 1e-5f)));
            size_t vn = normalTable.indexOf(format("vn %.4f %.4f %.4f\n", tidy(n.x, 1e-4f),
                                                   tidy(n.y, 1e-4f), tidy(n.z, 1e-4f)));
            corners[i] = std::to_string(v) + "/" + std::to_string(vt) + "/" + std::to_string(vn);
        }
        faces += "usemtl " + group.material + "\n";
        for (const Triangle& t : mesh.triangles) {
            faces += "f " + corners[t.a] + " " + corners[t.b] + " " + corners[t.c] + "\n";
        }
    }
    return header + vertices + coordinates + normals + faces;
}

std::string mtlText(const Model& model) {
    std::string text = "# " + model.description + "\n# Written by tidemoor-assets.\n";
    for (const Material& m : model.materials) {
        text += "\nnewmtl " + m.name + "\n";
        text += format("Ka %.3f %.3f %.3f\n", m.ambient.x, m.ambient.y, m.ambient.z);
        text += format("Kd %.3f %.3f %.3f\n", m.diffuse.x, m.diffuse.y, m.diffuse.z);
        text += format("Ks %.3f %.3f %.3f\n", m.specular.x, m.specular.y, m.specular.z);
        text += "illum " + std::to_string(m.illum) + "\n";
        if (!m.texture.empty()) {
            text += "map_Kd " + m.texture + "\n";
        }
    }
    return text;
}

} // namespace assets
