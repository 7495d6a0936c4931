// Reading Wavefront OBJ models: a keyword-driven scan over the file's bytes
// in memory, a window of them at a time for a file. Statement lines are
// counted first so that every list is allocated once at its final size;
// faces are checked against the lists read so far and stored as they are
// read, then sorted by material.
#include "geometry/obj_parser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

#include "geometry/face_order.h"
#include "geometry/text_scanner.h"
#include "geometry/unit_vector.h"
#include "resources/file_bytes.h"
#include "resources/file_window.h"
#include "resources/fresh_memory.h"

namespace {

struct StatementCounts {
    size_t positions = 0;
    size_t texCoords = 0;
    size_t normals = 0;
    size_t faces = 0;
};

// Adds the lines that start with "v", "vt", "vn" or "f" and white space:
// exact for files that put one statement on a line, a hint otherwise.
void countStatementLines(std::string_view text, StatementCounts& counts) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (end - p >= 2) {
        const char first = p[0];
        const char second = p[1];
        if (first == 'v') {
            if (isWhiteSpace(second)) {
                ++counts.positions;
            } else if (end - p >= 3 && isWhiteSpace(p[2])) {
                counts.texCoords += second == 't';
                counts.normals += second == 'n';
            }
        }
        const auto* newline =
            static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
        // A face needs three corners: "f 1 2 3" at the least.
        if (first == 'f' && isWhiteSpace(second) && (newline == nullptr ? end : newline) - p >= 7) {
            ++counts.faces;
        }
        if (newline == nullptr) {
            break;
        }
        p = newline + 1;
    }
}

template <typename T>
void reserveFresh(std::vector<T>& list, size_t count) {
    list.reserve(count);
    populateElements(list, 0, count);
}

// Faces whose memory is populated at a time: face lines that turn out to be
// malformed keep no face, so only what is stored should become resident.
constexpr size_t populatedFaceStep = size_t{1} << 16;

struct ObjReading {
    ObjData& data;
    std::vector<Material>& materials;
    bool hasTexCoords = false;
    bool hasNormals = false;
    uint32_t currentMaterial = 0;
    std::vector<MaterialRun> runs{};
    size_t populatedFaces = 0;
    // Material name -> position in materials, the last match winning.
    std::unordered_map<std::string, uint32_t> materialPositions{};
    size_t indexedMaterials = 0;
};

// Zero-based index for a written index: counting from 1, or back from the
// end of the list read so far when negative. False when that names no entry.
bool resolveIndex(int32_t written, size_t listSize, int32_t& index) {
    const auto size = static_cast<int64_t>(listSize);
    const int64_t resolved = written > 0 ? int64_t{written} - 1 : size + written;
    if (written == 0 || resolved < 0 || resolved >= size || resolved > INT32_MAX) {
        index = 0;
        return false;
    }
    index = static_cast<int32_t>(resolved);
    return true;
}

// Up to three numbers; the ones not read stay zero.
Vector3 readVector(TextScanner& text) {
    Vector3 v;
    (void)(readFloat(text, v.x) && readFloat(text, v.y) && readFloat(text, v.z));
    return v;
}

void readTexCoord(TextScanner& text, ObjReading& reading) {
    TexCoord t;
    float w = 0.0f;
    // A missing third number fails on the next statement's keyword without
    // consuming it.
    (void)(readFloat(text, t.u) && readFloat(text, t.v) && readFloat(text, w));
    reading.hasTexCoords = true;
    reading.data.texCoords.push_back(t);
}

// Corners "v", "v/vt", "v//vn" is not one of them: after "vn" statements
// only, the form is "v/vn". The face ends at the first word that does not
// start with an integer.
void readFace(TextScanner& text, ObjReading& reading) {
    ObjData& data = reading.data;
    ObjFace face;
    face.materialId = reading.currentMaterial;
    const size_t extraStart = data.extraFaceVertices.size();
    const size_t positionCount = data.positions.size();
    const size_t texCoordCount = data.texCoords.size();
    const size_t normalCount = data.normals.size();
    bool valid = true;
    uint32_t count = 0;
    int32_t written = 0;
    while (readInt(text, written)) {
        FaceVertex corner;
        bool cornerValid = resolveIndex(written, positionCount, corner.positionIndex);
        if (reading.hasTexCoords) {
            if (!readSlashInt(text, written)) {
                break;
            }
            cornerValid &= resolveIndex(written, texCoordCount, corner.texCoordIndex);
        }
        if (reading.hasNormals) {
            if (!readSlashInt(text, written)) {
                break;
            }
            cornerValid &= resolveIndex(written, normalCount, corner.normalIndex);
        }
        valid &= cornerValid;
        if (count < ObjFace::inlineVertices) {
            face.vertices[count] = corner;
        } else {
            data.extraFaceVertices.push_back(corner);
        }
        ++count;
    }
    // Corners 3.. are found by a 32-bit offset.
    if (count < 3 || !valid || extraStart > UINT32_MAX) {
        data.extraFaceVertices.resize(extraStart);
        ++data.droppedFaces;
        return;
    }
    face.vertexCount = count;
    face.extraOffset = count > ObjFace::inlineVertices ? static_cast<uint32_t>(extraStart) : 0;
    if (reading.runs.empty() || reading.runs.back().materialId != face.materialId) {
        reading.runs.push_back({face.materialId, data.faces.size()});
    }
    if (data.faces.size() == reading.populatedFaces) {
        populateElements(data.faces, reading.populatedFaces,
                         reading.populatedFaces + populatedFaceStep);
        reading.populatedFaces += populatedFaceStep;
    }
    data.faces.push_back(face);
}

void readLibrary(std::string_view name, ObjReading& reading) {
    // A name with a NUL byte cannot name a file.
    if (name.empty() || name.find('\0') != std::string_view::npos) {
        return;
    }
    FileBytes file;
    if (readFileBytes(std::string(name).c_str(), file)) {
        loadMtl(file.text(), reading.materials);
    }
}

// The position of the last material with this name; materials appended
// since the last look-up are indexed first.
void selectMaterial(std::string_view name, ObjReading& reading) {
    if (name.empty()) {
        return;
    }
    for (; reading.indexedMaterials < reading.materials.size(); ++reading.indexedMaterials) {
        reading.materialPositions[reading.materials[reading.indexedMaterials].name] =
            static_cast<uint32_t>(reading.indexedMaterials);
    }
    const auto found = reading.materialPositions.find(std::string(name));
    if (found != reading.materialPositions.end()) {
        reading.currentMaterial = found->second;
    }
}

// How a scan of statements ended.
enum class Scan {
    done,
    // A statement ran up to the end of a window: with more of the file it
    // might have read on, so the text must be read whole.
    needsWholeText,
    readFailed,
};

// Reads the statements of text, or with a file window those of the whole
// file, moving the window on whenever less than statementBytes is left in
// it. Statements are at most that long in any model read through a window
// (at 1 MiB, a face of some thousand corners); a longer one makes the model
// be read whole instead.
Scan readStatements(TextScanner& text, ObjReading& reading, FileWindow* file,
                    size_t statementBytes = 0) {
    ObjData& data = reading.data;
    for (;;) {
        if (file != nullptr && !file->final() &&
            static_cast<size_t>(text.end - text.cursor) < statementBytes) {
            if (!advanceFileWindow(*file, text.cursor)) {
                return Scan::readFailed;
            }
            text = scanText(file->text());
        }
        const std::string_view word = readWord(text);
        if (word.empty()) {
            return file != nullptr && !file->final() ? Scan::needsWholeText : Scan::done;
        }
        if (word.size() == 1 && word[0] == 'v') {
            data.positions.push_back(readVector(text));
        } else if (word.size() == 1 && word[0] == 'f') {
            readFace(text, reading);
        } else if (word == "vt") {
            readTexCoord(text, reading);
        } else if (word == "vn") {
            reading.hasNormals = true;
            data.normals.push_back(unitOrZero(readVector(text)));
        } else if (word == "usemtl") {
            selectMaterial(readWord(text), reading);
        } else if (word == "mtllib") {
            readLibrary(readWord(text), reading);
        } else {
            // "#" and every statement not read: the whole rest of the line.
            skipLine(text);
        }
        // A window ends after a newline, where every read stops unless it
        // skips white space: only a statement that reached the end of the
        // window could have gone on.
        if (file != nullptr && text.cursor == text.end && !file->final()) {
            return Scan::needsWholeText;
        }
    }
}

// Every list allocated at the size the counts give; textBytes bounds the
// faces, whatever the counts claim.
void reserveLists(ObjData& data, const StatementCounts& counts, uint64_t textBytes) {
    reserveFresh(data.positions, counts.positions);
    reserveFresh(data.texCoords, counts.texCoords);
    reserveFresh(data.normals, counts.normals);
    // Faces take 48 bytes each: the reservation stays within a few times the
    // text's size whatever the text claims.
    data.faces.reserve(static_cast<size_t>(
        std::min<uint64_t>(counts.faces, 4 * textBytes / sizeof(ObjFace) + 16)));
}

// The statement lines of the file the window is on, counted a window at a
// time; a line longer than the window counts as several. The window is left
// on the file's start.
bool countFileStatementLines(FileWindow& file, StatementCounts& counts) {
    for (bool moved = false;; moved = true) {
        countStatementLines(file.text(), counts);
        if (file.final()) {
            // A file that fits one window is read once.
            return !moved || rewindFileWindow(file);
        }
        const char* const next = file.text().empty() ? file.buffer.get() + file.dataEnd
                                                     : file.text().data() + file.text().size();
        if (!advanceFileWindow(file, next)) {
            return false;
        }
    }
}

// The whole job of loadObj on an open file, through its window.
Scan readObjFile(FileWindow& file, std::vector<Material>& materials, ObjData& data) {
    StatementCounts counts;
    if (!countFileStatementLines(file, counts)) {
        return Scan::readFailed;
    }
    reserveLists(data, counts, file.fileSize);
    ObjReading reading{.data = data, .materials = materials};
    TextScanner scanner = scanText(file.text());
    const Scan scan =
        readStatements(scanner, reading, &file, std::max<size_t>(file.capacity / 16, 1));
    if (scan == Scan::done) {
        sortFacesByMaterial(data.faces, reading.runs);
    }
    return scan;
}

} // namespace

void parseObj(std::string_view text, std::vector<Material>& materials, ObjData& data) {
    clearObjData(data);
    StatementCounts counts;
    countStatementLines(text, counts);
    reserveLists(data, counts, text.size());
    ObjReading reading{.data = data, .materials = materials};
    TextScanner scanner = scanText(text);
    readStatements(scanner, reading, nullptr);
    sortFacesByMaterial(data.faces, reading.runs);
}

bool loadObj(std::vector<Material>& materials, const std::string& fileName, ObjData& data,
             size_t windowBytes) {
    clearObjData(data);
    if (fileName.find('\0') != std::string::npos) {
        return false;
    }
    const size_t materialCount = materials.size();
    Scan scan = Scan::readFailed;
    {
        FileWindow file;
        if (!openFileWindow(fileName.c_str(), file, windowBytes)) {
            return false;
        }
        scan = readObjFile(file, materials, data);
    }
    if (scan == Scan::done) {
        return true;
    }
    // Nothing of a read given up is kept, libraries included.
    clearObjData(data);
    materials.erase(materials.begin() + static_cast<std::ptrdiff_t>(materialCount),
                    materials.end());
    FileBytes whole;
    if (scan == Scan::readFailed || !readFileBytes(fileName.c_str(), whole)) {
        return false;
    }
    parseObj(whole.text(), materials, data);
    return true;
}
