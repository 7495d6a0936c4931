// tidemoor-inspect run on small OBJ, MTL and TGA files written into a fresh
// folder: its JSON fields, its exit codes, and its output staying valid JSON
// whatever names, numbers and bytes the files hold.
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "program_runner.h"

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
    void SetUp() override {
        char pattern[] = "/tmp/tidemoor-inspect-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    Result run(const std::vector<std::string>& arguments) const {
        LaunchOptions options;
        options.program = std::string(TIDEMOOR_BIN_DIR) + "/tidemoor-inspect";
        options.workingDirectory = folder.string();
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

    std::filesystem::path folder;
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

TEST_F(Inspect, ObjReportCountsMaterialsAndGroups) {
    write("scene.obj", sceneObj);
    write("scene.mtl", sceneMtl);
    const Json report = runJson("scene.obj", 0);

    EXPECT_EQ(report.at("ok"), true);
    EXPECT_EQ(report.at("positions"), 5);
    EXPECT_EQ(report.at("normals"), 1);
    EXPECT_EQ(report.at("texCoords"), 5);
    EXPECT_EQ(report.at("faces"), 3);
    EXPECT_EQ(report.at("droppedFaces"), 0);
    EXPECT_GE(report.at("parseSeconds").get<double>(), 0.0);
    EXPECT_GE(report.at("buildSeconds").get<double>(), 0.0);

    const Json& materials = report.at("materials");
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials.at(0).at("name"), "sand");
    EXPECT_EQ(materials.at(0).at("id"), 0);
    expectVector(materials.at(0).at("diffuse"), {0.8, 0.7, 0.5});
    expectVector(materials.at(0).at("specular"), {0.25, 0.5, 0.75});
    EXPECT_EQ(materials.at(0).at("hasTexture"), true);
    EXPECT_EQ(materials.at(0).at("hasNormalMap"), true);
    EXPECT_EQ(materials.at(0).at("texture"), "sand.tga");
    EXPECT_EQ(materials.at(0).at("normalMap"), "sand_NRM.tga");
    EXPECT_EQ(materials.at(1).at("name"), "shell");
    EXPECT_EQ(materials.at(1).at("id"), 1);
    EXPECT_EQ(materials.at(1).at("texture"), "bikini.tga");
    EXPECT_EQ(materials.at(1).at("hasNormalMap"), false);
    EXPECT_TRUE(materials.at(1).at("normalMap").is_null());

    const Json& groups = report.at("groups");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups.at(0).at("name"), "sand");
    EXPECT_EQ(groups.at(0).at("materialIndex"), 0);
    EXPECT_EQ(groups.at(0).at("vertexCount"), 4); // the square's diagonal is shared
    EXPECT_EQ(groups.at(0).at("indexCount"), 6);
    EXPECT_EQ(groups.at(1).at("name"), "shell");
    EXPECT_EQ(groups.at(1).at("materialIndex"), 1);
    EXPECT_EQ(groups.at(1).at("vertexCount"), 3);
    EXPECT_EQ(groups.at(1).at("indexCount"), 3);
    EXPECT_FALSE(groups.at(0).contains("vertices")) << "vertices are listed only with --vertices";
}

TEST_F(Inspect, VerticesOptionListsEachGroupsVerticesAndIndices) {
    write("scene.obj", sceneObj);
    write("scene.mtl", sceneMtl);
    const Json report = runJson("scene.obj", 0, {"--vertices"});
    const Json& groups = report.at("groups");
    ASSERT_EQ(groups.size(), 2u);
    for (size_t g = 0; g < groups.size(); ++g) {
        const Json& group = groups.at(g);
        const auto vertexCount = group.at("vertexCount").get<size_t>();
        ASSERT_EQ(group.at("vertices").size(), vertexCount) << "group " << g;
        ASSERT_EQ(group.at("indices").size(), group.at("indexCount").get<size_t>())
            << "group " << g;
        for (const Json& index : group.at("indices"))
            EXPECT_LT(index.get<size_t>(), vertexCount) << "group " << g;
    }

    // The single triangle of "shell": its corners in order, as read.
    const Json& shell = groups.at(1);
    expectVector(shell.at("indices"), {0, 1, 2});
    const Json& vertices = shell.at("vertices");
    expectVector(vertices.at(0).at("position"), {1, 0, 0});
    expectVector(vertices.at(1).at("position"), {2, 0, 0});
    expectVector(vertices.at(2).at("position"), {1, 1, 0});
    expectVector(vertices.at(1).at("texCoord"), {2, 0});
    expectVector(vertices.at(2).at("texCoord"), {1, 1});
    for (size_t v = 0; v < 3; ++v) {
        expectVector(vertices.at(v).at("normal"), {0, 0, 1});
        expectVector(vertices.at(v).at("tangent"), {1, 0, 0});
    }
}

TEST_F(Inspect, NamesWithQuotesControlBytesAndBrokenUtf8StayValidJson) {
    // One word each: a quote, a backslash, U+0001, DEL, a lone 0xFF, a lead
    // byte without its continuation, then a well-formed "é".
    const std::string name = "q\"b\\s\x01\x7f\xff\xc3(\xc3\xa9";
    write("odd.obj", "mtllib odd.mtl\nusemtl " + name + "\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    write("odd.mtl", "newmtl " + name + "\nmap_Kd " + name + ".tga\n");
    const Json report = runJson("odd.obj", 0);

    // Bytes that are not UTF-8 come out as the code points of their values.
    const std::string expected = "q\"b\\s\x01\x7f\xc3\xbf\xc3\x83(\xc3\xa9";
    ASSERT_EQ(report.at("materials").size(), 1u);
    EXPECT_EQ(report.at("materials").at(0).at("name"), expected);
    EXPECT_EQ(report.at("materials").at(0).at("texture"), expected + ".tga");
    EXPECT_EQ(report.at("groups").at(0).at("name"), expected);
}

TEST_F(Inspect, NonFiniteNumbersAreWrittenAsNull) {
    write("nan.obj", "mtllib nan.mtl\nv nan 0 0\nv 1 inf 0\nv 0 1 -inf\nf 1 2 3\n");
    write("nan.mtl", "newmtl odd\nKd nan 0.5 inf\n");
    const Json report = runJson("nan.obj", 0, {"--vertices"});

    const Json& diffuse = report.at("materials").at(0).at("diffuse");
    ASSERT_EQ(diffuse.size(), 3u);
    EXPECT_TRUE(diffuse.at(0).is_null());
    EXPECT_EQ(diffuse.at(1), 0.5);
    EXPECT_TRUE(diffuse.at(2).is_null());
    const Json& vertices = report.at("groups").at(0).at("vertices");
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_TRUE(vertices.at(0).at("position").at(0).is_null());
    EXPECT_TRUE(vertices.at(1).at("position").at(1).is_null());
    EXPECT_TRUE(vertices.at(2).at("position").at(2).is_null());
}

TEST_F(Inspect, DroppedFacesAreCounted) {
    write("holes.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                       "f 1 2 3\n"
                       "f 1 2 99\n"    // beyond the list
                       "f 0 1 2\n"     // zero index
                       "  f 1 2\n"     // too few corners
                       "# f 1 2 3\n"   // a comment, no face
                       "f\t1 -1 2\r\n" // relative index, CR LF line end
    );
    const Json report = runJson("holes.obj", 0);
    EXPECT_EQ(report.at("faces"), 2);
    EXPECT_EQ(report.at("droppedFaces"), 3);
}

TEST_F(Inspect, MalformedModelsLoadWithoutCrashingAndGiveValidJson) {
    std::mt19937 random(5);
    std::string garbage;
    for (int i = 0; i < 1 << 16; ++i)
        garbage += static_cast<char>(random() & 0xFF);
    const std::string longWord(1 << 20, 'x');
    const std::vector<std::pair<std::string, std::string>> models{
        {"garbage.obj", garbage},
        {"nul.obj", std::string("v 1 2 3\0v 4 5 6\nf 1\0 2 3\n", 24)},
        {"long.obj", "# " + longWord + "\nv 0 0 0\nusemtl " + longWord + "\nmtllib " + longWord},
        {"truncated.obj", "mtllib t.mtl\nv 0 0 0\nv 1 0 0\nvt 0.5\nvn 0 0\nf 1/1/1 2/"},
        {"words.obj", "v v v\nvt vt\nf f f\nf 1/2/3/4 5//6 ///\nusemtl\nmtllib"},
    };
    write("t.mtl", "newmtl\nKd\nmap_Kd\nnewmtl x\nmap_Kd ab\nillum");
    for (const auto& [name, bytes] : models) {
        SCOPED_TRACE(name);
        write(name, bytes);
        const Json report = runJson(name, 0, {"--vertices"});
        EXPECT_EQ(report.at("ok"), true);
        EXPECT_TRUE(report.at("groups").is_array());
    }
}

TEST_F(Inspect, AnyOtherExtensionIsReadAsObj) {
    write("model.txt", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const Json report = runJson("model.txt", 0);
    EXPECT_EQ(report.at("positions"), 3);
    EXPECT_EQ(report.at("faces"), 1);
    ASSERT_EQ(report.at("groups").size(), 1u);
    EXPECT_EQ(report.at("groups").at(0).at("name"), "default");
    EXPECT_EQ(report.at("materials").size(), 0u);
}

TEST_F(Inspect, MissingFilesExitWithOne) {
    const Json obj = runJson("absent.obj", 1);
    EXPECT_EQ(obj.at("ok"), false);
    EXPECT_EQ(obj.at("groups").size(), 0u);
    const Json tga = runJson("absent.tga", 1);
    EXPECT_EQ(tga.at("ok"), false);
    std::filesystem::create_directory(folder / "folder.obj");
    EXPECT_EQ(runJson("folder.obj", 1).at("ok"), false);

    const Result text = run({"absent.obj"});
    EXPECT_EQ(text.exitCode, 1) << text.description;
    EXPECT_NE(text.output.find("absent.obj"), std::string::npos) << text.output;
}

TEST_F(Inspect, TgaReportGivesSizeFormatAndFirstPixel) {
    // Stored B G R (A); the report gives R G B (A). The extension's case does
    // not matter.
    write("tile.TGA", tgaHeader(2, 2, 1, 24) + "\x0a\x14\x1e\x28\x32\x3c");
    Json report = runJson("tile.TGA", 0);
    EXPECT_EQ(report.at("ok"), true);
    EXPECT_EQ(report.at("width"), 2);
    EXPECT_EQ(report.at("height"), 1);
    EXPECT_EQ(report.at("format"), "GL_RGB");
    expectVector(report.at("firstPixel"), {30, 20, 10});

    write("glass.tga", tgaHeader(2, 1, 1, 32) + "\x01\x02\x03\x04");
    report = runJson("glass.tga", 0);
    EXPECT_EQ(report.at("format"), "GL_RGBA");
    expectVector(report.at("firstPixel"), {3, 2, 1, 4});

    write("mask.tga", tgaHeader(11, 3, 1, 8) + "\x82\x07"); // one run of three
    report = runJson("mask.tga", 0);
    EXPECT_EQ(report.at("format"), "GL_ALPHA");
    EXPECT_EQ(report.at("width"), 3);
    expectVector(report.at("firstPixel"), {7});
}

TEST_F(Inspect, CorruptTgaExitsWithOne) {
    write("short.tga", tgaHeader(2, 4, 4, 24).substr(0, 10));
    Json report = runJson("short.tga", 1);
    EXPECT_EQ(report.at("ok"), false);
    EXPECT_TRUE(report.at("format").is_null());
    EXPECT_TRUE(report.at("firstPixel").is_null());

    write("depth.tga", tgaHeader(2, 4, 4, 16) + std::string(32, '\0'));
    report = runJson("depth.tga", 1);
    EXPECT_EQ(report.at("ok"), false);
    EXPECT_EQ(report.at("width"), 4);
    EXPECT_TRUE(report.at("firstPixel").is_null());
}

TEST_F(Inspect, SummaryWithoutJsonIsReadableText) {
    write("scene.obj", sceneObj);
    write("scene.mtl", sceneMtl);
    const Result result = run({"scene.obj"});
    EXPECT_EQ(result.exitCode, 0) << result.description;
    EXPECT_NE(result.output.find("positions 5"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("\"sand\""), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("sand_NRM.tga"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("4 vertices, 6 indices"), std::string::npos) << result.output;

    write("tile.tga", tgaHeader(2, 1, 1, 24) + "\x01\x02\x03");
    const Result tga = run({"tile.tga"});
    EXPECT_EQ(tga.exitCode, 0) << tga.description;
    EXPECT_NE(tga.output.find("1 x 1, GL_RGB"), std::string::npos) << tga.output;
}

TEST_F(Inspect, WrongUsageExitsWithTwoAndAUsageLine) {
    write("a.obj", "");
    const std::vector<std::vector<std::string>> wrong{
        {}, {"--json"}, {"a.obj", "b.obj"}, {"a.obj", "--colour"}, {"-x", "a.obj"}};
    for (const std::vector<std::string>& arguments : wrong) {
        const Result result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << result.description;
        EXPECT_TRUE(result.output.empty()) << result.output;
        EXPECT_EQ(result.errors.rfind("usage: tidemoor-inspect FILE", 0), 0u) << result.errors;
    }
    // Options may come first; "--" lets a file name start with a dash.
    EXPECT_EQ(run({"--json", "a.obj"}).exitCode, 0);
    write("-odd.obj", "");
    EXPECT_EQ(run({"--", "-odd.obj"}).exitCode, 0);
}
