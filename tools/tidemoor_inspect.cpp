// tidemoor-inspect FILE [--json] [--vertices]
//
// Loads an OBJ model (with its materials; textures are named, not loaded) or
// a TGA image (chosen by the extension ".tga" in any case; anything else is
// read as OBJ) the way the renderer would, but without GL, and prints what
// came of it: a short summary, or with --json one JSON object. --vertices
// adds every group's vertices and indices to an OBJ report.
//
// Exit code: 0 when the file loaded, 1 when it did not, 2 for wrong usage.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "tools/inspect/obj_inspection.h"
#include "tools/inspect/tga_inspection.h"

namespace {

constexpr int exitLoaded = 0;
constexpr int exitNotLoaded = 1;
constexpr int exitUsage = 2;

const char* const usage = "usage: tidemoor-inspect FILE [--json] [--vertices]\n";

struct Options {
    std::string file;
    bool json = false;
    bool vertices = false;
};

// The options, or nothing when the command line is wrong.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool haveFile = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--json") {
            options.json = true;
        } else if (!optionsEnded && argument == "--vertices") {
            options.vertices = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return std::nullopt;
        } else if (haveFile) {
            return std::nullopt;
        } else {
            options.file = argument;
            haveFile = true;
        }
    }
    if (!haveFile)
        return std::nullopt;
    return options;
}

bool hasTgaExtension(std::string_view file) {
    if (file.size() < 4)
        return false;
    const std::string_view extension = file.substr(file.size() - 4);
    return strncasecmp(extension.data(), ".tga", 4) == 0;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return exitLoaded;
        }
        if (std::strcmp(argv[i], "--") == 0)
            break;
    }
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        std::fputs(usage, stderr);
        return exitUsage;
    }

    bool loaded = false;
    if (hasTgaExtension(options->file)) {
        const TgaInspection inspection = inspectTga(options->file);
        loaded = inspection.ok;
        if (options->json)
            writeTgaJson(inspection, stdout);
        else
            writeTgaSummary(inspection, stdout);
    } else {
        const ObjInspection inspection = inspectObj(options->file);
        loaded = inspection.ok;
        if (options->json)
            writeObjJson(inspection, options->vertices, stdout);
        else
            writeObjSummary(inspection, options->vertices, stdout);
    }
    std::fflush(stdout);
    return loaded ? exitLoaded : exitNotLoaded;
}
