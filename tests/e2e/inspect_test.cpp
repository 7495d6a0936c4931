// tidemoor-inspect run on small OBJ, MTL and TGA files written into a fresh
// folder: its report, its exit codes, and its output staying valid JSON
// whatever names and numbers the files hold. What the loader makes of a file
// is the unit tests' business; here only the tool's own work is checked.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "program_runner.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

struct Result {
    int exitCode = -1;
    std::string output;
    std::string errors;
    std::string description; // for failure messages
};

class Inspect : public ::testing::Test {
protected:
    Result run(const std::vector<std::string>& arguments) const {
        LaunchOptions options;
        options.program = std::string(TIDEMOOR_BIN_DIR) + "/tidemoor-inspect";
        options.workingDirectory = folder.path.string();
        options.arguments = arguments;
        options.withDisplay = false;
        RunningProgram program = launch(options);
        Result result;
        if (program.pid <= 0) {
            result.description = "could not start " + options.program;
            return result;
        }
        const bool ended = waitForExit(program, 60s);
        result.description = describe(program);
        if (ended)
            result.exitCode = program.exitCode;
        result.output = program.output;
        std::ifstream errors(program.stderrPath, std::ios::binary);
        result.errors.assign(std::istreambuf_iterator<char>(errors), {});
        stopProgram(program);
        return result;
    }

    // Runs with --json (and the extra arguments), expecting exitCode and one
    // valid JSON document on standard output: strict RFC 8259, strings in
    // well-formed UTF-8, nothing after the document.
    Json runJson(const std::string& file, int exitCode,
                 const std::vector<std::string>& extra = {}) const {
        std::vector<std::string> arguments{file, "--json"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << result.description;
        try {
            return Json::parse(result.output);
        } catch (const Json::parse_error& error) {
            ADD_FAILURE() << error.what() << "\n" << result.description;
            return Json();
        }
    }

    TempFolder folder;
};

// Two materials in one library, the second used first in the file; v/vt/vn
// faces, two of them forming a flat unit square.
const char* const sceneObj = "mtllib scene.mtl\n"
                             "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\n"
                             "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 2 0\n"
                             "vn 0 0 1\n"
                             "usemtl shell\n"
                             "f 2/2/1 5/5/1 3/3/1\n"
                             "usemtl sand\n"
                             "f 1/1/1 2/2/1 3/3/1\n"
                             "f 1/1/1 3/3/1 4/4/1\n";
const char* const sceneMtl = "newmtl sand\nKd 0.8 0.7 0.5\nKs 0.25 0.5 0.75\nmap_Kd sand.tga\n"
                             "newmtl shell\nKd 1 1 1\nmap_Kd bikini.tga\n";

void expectVector(const Json& value, std::vector<double> expected) {
    ASSERT_TRUE(value.is_array()) << value;
    ASSERT_EQ(value.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_FLOAT_EQ(value.at(i).get<double>(), expected[i]) << "component " << i;
}

std::string tgaHeader(uint8_t type, uint16_t width, uint16_t height, uint8_t depth) {
    std::string header(18, '\0');
    header[2] = static_cast<char>(type);
    header[12] = static_cast<char>(width & 0xFF);
    header[13] = static_cast<char>(width >> 8);
    header[14] = static_cast<char>(height & 0xFF);
    header[15] = static_cast<char>(height >> 8);
    header[16] = static_cast<char>(depth);
    return header;
}

} // namespace

TEST_F(Inspect, ObjReportGivesCountsMaterialsGroupsAndVertices) {
    folder.write("scene.obj", sceneObj);
    folder.write("scene.mtl", sceneMtl);
    const Json report = runJson("scene.obj", 0, {"--vertices"});
    EXPECT_EQ(report.at("ok"), true);
    EXPECT_EQ(report.at("positions"), 5);
    EXPECT_EQ(report.at("normals"), 1);
    EXPECT_EQ(report.at("texCoords"), 5);
    EXPECT_EQ(report.at("faces"), 3);
    EXPECT_EQ(report.at("droppedFaces"), 0);

    const Json& materials = report.at("materials");
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials.at(0).at("name"), "sand");
    expectVector(materials.at(0).at("specular"), {0.25, 0.5, 0.75});
    EXPECT_EQ(materials.at(0).at("normalMap"), "sand_NRM.tga");
    EXPECT_EQ(materials.at(1).at("texture"), "bikini.tga");
    EXPECT_TRUE(materials.at(1).at("normalMap").is_null());

    // Sorted by material: "sand" first, its square sharing the diagonal.
    const Json& groups = report.at("groups");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups.at(0).at("name"), "sand");
    EXPECT_EQ(groups.at(0).at("vertexCount"), 4);
    EXPECT_EQ(groups.at(0).at("indexCount"), 6);
    const Json& shell = groups.at(1);
    expectVector(shell.at("indices"), {0, 1, 2});
    const Json& vertices = shell.at("vertices");
    ASSERT_EQ(vertices.size(), 3u);
    expectVector(vertices.at(1).at("position"), {2, 0, 0});
    expectVector(vertices.at(1).at("texCoord"), {2, 0});
    expectVector(vertices.at(1).at("normal"), {0, 0, 1});
    expectVector(vertices.at(1).at("tangent"), {1, 0, 0});
}

TEST_F(Inspect, OddNamesAndNonFiniteNumbersStayValidJson) {
    // One word each: a quote, a backslash, U+0001, DEL, a lone 0xFF, a lead
    // byte without its continuation, then a well-formed "é". Bytes that are
    // not UTF-8 come out as the code points of their values.
    const std::string name = "q\"b\\s\x01\x7f\xff\xc3(\xc3\xa9";
    const std::string expected = "q\"b\\s\x01\x7f\xc3\xbf\xc3\x83(\xc3\xa9";
    folder.write("odd.obj", "mtllib odd.mtl\nusemtl " + name +
                                "\nv nan 0 0\nv 1 inf 0\nv 0 1 -inf\nf 1 2 3\n");
    folder.write("odd.mtl", "newmtl " + name + "\nKd nan 0.5 inf\nmap_Kd " + name + ".tga\n");
    const Json report = runJson("odd.obj", 0, {"--vertices"});
    const Json& material = report.at("materials").at(0);
    EXPECT_EQ(material.at("name"), expected);
    EXPECT_EQ(material.at("texture"), expected + ".tga");
    EXPECT_TRUE(material.at("diffuse").at(0).is_null());
    EXPECT_EQ(material.at("diffuse").at(1), 0.5);
    EXPECT_TRUE(material.at("diffuse").at(2).is_null());
    const Json& vertices = report.at("groups").at(0).at("vertices");
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_TRUE(vertices.at(0).at("position").at(0).is_null());
    EXPECT_TRUE(vertices.at(2).at("position").at(2).is_null());
}

TEST_F(Inspect, TgaReportGivesSizeFormatAndFirstPixel) {
    // Stored B G R (A); the report gives R G B (A), whatever the extension's case.
    folder.write("tile.TGA", tgaHeader(2, 2, 1, 24) + "\x0a\x14\x1e\x28\x32\x3c");
    Json report = runJson("tile.TGA", 0);
    EXPECT_EQ(report.at("width"), 2);
    EXPECT_EQ(report.at("height"), 1);
    EXPECT_EQ(report.at("format"), "GL_RGB");
    expectVector(report.at("firstPixel"), {30, 20, 10});
    folder.write("mask.tga", tgaHeader(11, 3, 1, 8) + "\x82\x07"); // one run of three
    report = runJson("mask.tga", 0);
    EXPECT_EQ(report.at("format"), "GL_ALPHA");
    expectVector(report.at("firstPixel"), {7});
}

TEST_F(Inspect, ExitsWithOneForWhatDoesNotLoadAndTwoForWrongUsage) {
    EXPECT_EQ(runJson("absent.obj", 1).at("ok"), false);
    std::filesystem::create_directory(folder.path / "folder.obj");
    EXPECT_EQ(runJson("folder.obj", 1).at("ok"), false);
    folder.write("depth.tga", tgaHeader(2, 4, 4, 16) + std::string(32, '\0'));
    const Json depth = runJson("depth.tga", 1);
    EXPECT_EQ(depth.at("width"), 4);
    EXPECT_TRUE(depth.at("firstPixel").is_null());
    const Result text = run({"absent.obj"});
    EXPECT_EQ(text.exitCode, 1) << text.description;
    EXPECT_NE(text.output.find("absent.obj"), std::string::npos) << text.output;

    folder.write("a.obj", "");
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {}, {"--json"}, {"a.obj", "b.obj"}, {"a.obj", "--colour"}, {"-x", "a.obj"}}) {
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << result.description;
        EXPECT_TRUE(result.output.empty()) << result.output;
        EXPECT_EQ(result.errors.rfind("usage: tidemoor-inspect FILE", 0), 0u) << result.errors;
    }
    // Options may come first; "--" lets a file name start with a dash.
    EXPECT_EQ(run({"--json", "a.obj"}).exitCode, 0);
    folder.write("-odd.obj", "");
    EXPECT_EQ(run({"--", "-odd.obj"}).exitCode, 0);
}
