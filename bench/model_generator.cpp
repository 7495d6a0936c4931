// The benchmark models; see model_generator.h.
#include "bench/model_generator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <memory>

namespace {

constexpr int materialCount = 8;
// Faces per "usemtl" run; runs cycle through the materials out of order, so
// the loader's sort by material has work to do.
constexpr uint64_t trianglesPerRun = 1024;
constexpr size_t flushBytes = 1 << 20;

// Buffered text output to a C stream.
class TextOut {
public:
    explicit TextOut(std::FILE* file) : file_(file) { buffer_.reserve(2 * flushBytes); }
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;
    ~TextOut() { flush(); }

    TextOut& operator<<(const char* text) {
        buffer_ += text;
        return *this;
    }
    TextOut& operator<<(uint64_t value) {
        char text[24];
        buffer_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
        return *this;
    }
    // Fixed notation with six decimals, as exporters write.
    TextOut& operator<<(double value) {
        char text[64];
        buffer_.append(
            text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6).ptr);
        return *this;
    }
    void endLine() {
        buffer_ += '\n';
        if (buffer_.size() >= flushBytes)
            flush();
    }
    void flush() {
        if (!buffer_.empty())
            ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size() && ok_;
        buffer_.clear();
    }
    bool ok() const { return ok_; }

private:
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File openForWriting(const std::string& path) {
    return File(std::fopen(path.c_str(), "wb"), std::fclose);
}

// Height of the surface over (x, z), and its slopes.
double height(double x, double z) {
    return 1.5 * std::sin(0.7 * x) * std::cos(0.5 * z) + 0.3 * std::sin(2.3 * x + 1.1 * z);
}
double slopeX(double x, double z) {
    return 1.05 * std::cos(0.7 * x) * std::cos(0.5 * z) + 0.69 * std::cos(2.3 * x + 1.1 * z);
}
double slopeZ(double x, double z) {
    return -0.75 * std::sin(0.7 * x) * std::sin(0.5 * z) + 0.33 * std::cos(2.3 * x + 1.1 * z);
}

bool writeLibrary(const std::string& path) {
    const File file = openForWriting(path);
    if (!file)
        return false;
    TextOut out(file.get());
    for (uint64_t m = 0; m < materialCount; ++m) {
        const double shade = 0.3 + 0.08 * static_cast<double>(m);
        out << "newmtl material" << m;
        out.endLine();
        out << "Ka 0.100000 0.100000 0.100000";
        out.endLine();
        out << "Kd " << shade << " " << 0.9 - shade / 2 << " " << 0.5;
        out.endLine();
        out << "Ks 0.200000 0.200000 0.200000";
        out.endLine();
        out << "illum 2";
        out.endLine();
        out << "map_Kd material" << m << ".tga";
        out.endLine();
    }
    out.flush();
    return out.ok();
}

} // namespace

bool generateGridModel(const std::string& folder, const std::string& name, uint64_t triangles,
                       GeneratedModel& model) {
    // triangles = 2 x columns x rows with columns = 2 x rows.
    const uint64_t rows =
        std::max<uint64_t>(1, std::llround(std::sqrt(static_cast<double>(triangles) / 4.0)));
    const uint64_t columns = std::max<uint64_t>(
        1, std::llround(static_cast<double>(triangles) / static_cast<double>(2 * rows)));
    const uint64_t pointsPerRow = columns + 1;

    if (!writeLibrary(folder + "/" + name + ".mtl"))
        return false;
    model.objPath = folder + "/" + name + ".obj";
    const File file = openForWriting(model.objPath);
    if (!file)
        return false;
    TextOut out(file.get());
    out << "# displaced grid, " << columns << " x " << rows << " quads";
    out.endLine();
    out << "mtllib " << name.c_str() << ".mtl";
    out.endLine();

    const double size = 40.0;
    const auto xAt = [&](uint64_t i) { return size * (static_cast<double>(i) / columns - 0.5); };
    const auto zAt = [&](uint64_t j) { return size * (static_cast<double>(j) / rows - 0.5); };
    for (uint64_t j = 0; j <= rows; ++j)
        for (uint64_t i = 0; i <= columns; ++i) {
            out << "v " << xAt(i) << " " << height(xAt(i), zAt(j)) << " " << zAt(j);
            out.endLine();
        }
    for (uint64_t j = 0; j <= rows; ++j)
        for (uint64_t i = 0; i <= columns; ++i) {
            out << "vt " << 8.0 * static_cast<double>(i) / columns << " "
                << 4.0 * static_cast<double>(j) / rows;
            out.endLine();
        }
    for (uint64_t j = 0; j <= rows; ++j)
        for (uint64_t i = 0; i <= columns; ++i) {
            const double nx = -slopeX(xAt(i), zAt(j));
            const double nz = -slopeZ(xAt(i), zAt(j));
            const double length = std::sqrt(nx * nx + 1.0 + nz * nz);
            out << "vn " << nx / length << " " << 1.0 / length << " " << nz / length;
            out.endLine();
        }

    // Quad (i, j) is split along the same diagonal everywhere, so each inner
    // grid point is a corner of six triangles.
    uint64_t written = 0;
    uint64_t run = 0;
    const auto corner = [&](uint64_t i, uint64_t j) {
        const uint64_t index = j * pointsPerRow + i + 1;
        out << " " << index << "/" << index << "/" << index;
    };
    const auto triangle = [&](uint64_t i0, uint64_t j0, uint64_t i1, uint64_t j1, uint64_t i2,
                              uint64_t j2) {
        if (written % trianglesPerRun == 0) {
            out << "usemtl material" << (run * 3) % materialCount;
            out.endLine();
            ++run;
        }
        out << "f";
        corner(i0, j0);
        corner(i1, j1);
        corner(i2, j2);
        out.endLine();
        ++written;
    };
    for (uint64_t j = 0; j < rows; ++j)
        for (uint64_t i = 0; i < columns; ++i) {
            triangle(i, j, i, j + 1, i + 1, j + 1);
            triangle(i, j, i + 1, j + 1, i + 1, j);
        }
    out.flush();
    if (!out.ok())
        return false;
    model.triangles = written;
    model.vertices = pointsPerRow * (rows + 1);
    std::fseek(file.get(), 0, SEEK_END);
    model.bytes = static_cast<uint64_t>(std::ftell(file.get()));
    return true;
}

bool generateAdversarialModel(const std::string& folder, const std::string& name,
                              GeneratedModel& model) {
    const bool borders = name == adversarialModels[2];
    const bool texCoords = name == adversarialModels[0];
    if (!borders && !texCoords && name != adversarialModels[1])
        return false;
    model.objPath = folder + "/" + name + ".obj";
    const File file = openForWriting(model.objPath);
    if (!file)
        return false;
    TextOut out(file.get());
    const auto line = [&](const char* key, std::initializer_list<double> values) {
        out << key;
        for (const double value : values)
            out << " " << value;
        out.endLine();
    };
    const auto corner = [&](uint64_t v, uint64_t vt, uint64_t vn) {
        out << " " << v << "/" << vt << "/" << vn;
    };
    if (borders) {
        // A 2^-6 grid of side 8, heights rounded to 2^-6; each point is
        // written twice, the second time 0.00005 off in x and z.
        const uint64_t side = 512;
        const auto onBorder = [](double x) { return std::round(x * 64.0) / 64.0; };
        for (uint64_t j = 0; j <= side; ++j)
            for (uint64_t i = 0; i <= side; ++i) {
                const double x = i / 64.0 - 4.0, z = j / 64.0 - 4.0, y = onBorder(height(x, z));
                line("v", {x, y, z});
                line("v", {x + 0.00005, y, z + 0.00005});
                line("vt", {onBorder(i / 160.0), onBorder(j / 160.0)});
                line("vn", {onBorder(-slopeX(x, z)), 1.0, onBorder(-slopeZ(x, z))});
            }
        const auto point = [&](uint64_t i, uint64_t j, uint64_t copy) {
            const uint64_t p = j * (side + 1) + i;
            corner(2 * p + copy + 1, p + 1, p + 1);
        };
        for (uint64_t j = 0; j < side; ++j)
            for (uint64_t i = 0; i < side; ++i) {
                const uint64_t copy = (i + j) % 2;
                out << "f";
                point(i, j, copy);
                point(i, j + 1, copy);
                point(i + 1, j + 1, copy);
                out.endLine();
                out << "f";
                point(i, j, 1 - copy);
                point(i + 1, j + 1, 1 - copy);
                point(i + 1, j, 1 - copy);
                out.endLine();
            }
        model.triangles = 2 * side * side;
        model.vertices = (side + 1) * (side + 1);
    } else {
        // Three positions; 200,001 texture coordinates or normals on a
        // 448-wide square lattice 1.5 tolerances apart.
        const uint64_t corners = 200'001;
        line("v", {0.0, 0.0, 0.0});
        line("v", {1.0, 0.0, 0.0});
        line("v", {0.0, 1.0, 0.0});
        if (texCoords)
            line("vn", {0.0, 0.0, 1.0});
        else
            line("vt", {0.0, 0.0});
        for (uint64_t i = 0; i < corners; ++i) {
            const double a = static_cast<double>(i % 448) * 0.00015;
            const double b = static_cast<double>(i / 448) * 0.00015;
            if (texCoords)
                line("vt", {a, b});
            else
                line("vn", {a - 0.03, b - 0.03, 1.0});
        }
        for (uint64_t c = 1; c <= corners; c += 3) {
            out << "f";
            for (uint64_t k = 0; k < 3; ++k)
                corner(k + 1, texCoords ? c + k : 1, texCoords ? 1 : c + k);
            out.endLine();
        }
        model.triangles = corners / 3;
        model.vertices = corners;
    }
    out.flush();
    if (!out.ok())
        return false;
    std::fseek(file.get(), 0, SEEK_END);
    model.bytes = static_cast<uint64_t>(std::ftell(file.get()));
    return true;
}
