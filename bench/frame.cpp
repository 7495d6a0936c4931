// frame: how long a frame of the default scene takes with the real shaders,
// against a floor: the same geometry from the same camera with shaders that
// only read the colour texture, and no shadow pass. A third run, "reads",
// keeps the real shaders but for a lit pass that makes the real one's texture
// reads and takes its inputs with none of its arithmetic: the lowest the real
// frame could cost with those reads.
//
//   frame [--frames N] [--rounds R] [--size WxH] [--keep]
//
// The run folders real/, floor/ and reads/ are laid out in a fresh temporary
// folder, each a copy of the built scene with its shaders in a sibling
// Shader/ folder; tidemoor-capture renders each with --stats, the three in
// turn, R times (3 by default), and every figure is the median of its R runs:
// a change in the machine's load then weighs on all three alike. Needs no
// display: the capture renders through EGL. Figures only: nothing is asserted.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Figures {
    double cpuMedian = 0, cpuP99 = 0, gpuMedian = 0, gpuP99 = 0, startUp = 0;
    bool cpu = false, gpu = false, started = false;
    std::string renderer; // the capture's "renderer:" line, without its label
};

// Lays out root/name/{scene,Shader} the first time and runs the capture in
// its scene folder. The files of replacements, when given, take the place of
// those shaders.
bool measure(const fs::path& root, const char* name, const fs::path& shaders,
             const std::string& captureArguments, Figures& figures,
             const fs::path& replacements = {}) {
    const fs::path run = root / name;
    if (!fs::exists(run)) {
        fs::create_directories(run);
        fs::copy(TIDEMOOR_SCENE_DIR, run / "scene", fs::copy_options::recursive);
        fs::copy(shaders, run / "Shader", fs::copy_options::recursive);
        if (!replacements.empty())
            fs::copy(replacements, run / "Shader", fs::copy_options::overwrite_existing);
    }
    const std::string command = "cd '" + (run / "scene").string() + "' && '" + TIDEMOOR_CAPTURE +
                                "' --stats " + captureArguments + " 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr)
        return false;
    char line[512];
    while (std::fgets(line, sizeof line, output) != nullptr) {
        figures.cpu |= std::sscanf(line, "cpu ms per frame: median %lf, p99 %lf",
                                   &figures.cpuMedian, &figures.cpuP99) == 2;
        figures.gpu |= std::sscanf(line, "gpu ms per frame: median %lf, p99 %lf",
                                   &figures.gpuMedian, &figures.gpuP99) == 2;
        figures.started |= std::sscanf(line, "start-up to first frame: %lf", &figures.startUp) == 1;
        std::string text = line;
        if (text.rfind("renderer: ", 0) == 0) {
            text.erase(text.find_last_not_of('\n') + 1);
            figures.renderer = text.substr(10);
        }
    }
    const int status = pclose(output);
    if (status != 0 || !figures.cpu)
        std::fprintf(stderr, "frame: the %s run failed (status %d)\n", name, status);
    return status == 0 && figures.cpu;
}

void printRow(const char* label, const Figures& f) {
    std::printf("%-6s cpu ms  median %8.3f  p99 %8.3f\n", label, f.cpuMedian, f.cpuP99);
    if (f.gpu)
        std::printf("%-6s gpu ms  median %8.3f  p99 %8.3f\n", label, f.gpuMedian, f.gpuP99);
    else
        std::printf("%-6s gpu ms  unavailable\n", label);
}

double ratio(double a, double b) {
    return b > 0 ? a / b : 0.0;
}

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Each figure the median of the runs' own.
Figures medianFigures(const std::vector<Figures>& runs) {
    Figures result;
    const auto median = [&](double Figures::*field, bool Figures::*present, bool& found) {
        std::vector<double> values;
        for (const Figures& run : runs)
            if (run.*present)
                values.push_back(run.*field);
        found = !values.empty();
        return medianOf(values);
    };
    result.cpuMedian = median(&Figures::cpuMedian, &Figures::cpu, result.cpu);
    result.cpuP99 = median(&Figures::cpuP99, &Figures::cpu, result.cpu);
    result.gpuMedian = median(&Figures::gpuMedian, &Figures::gpu, result.gpu);
    result.gpuP99 = median(&Figures::gpuP99, &Figures::gpu, result.gpu);
    result.startUp = median(&Figures::startUp, &Figures::started, result.started);
    if (!runs.empty())
        result.renderer = runs.front().renderer;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    std::string frames = "240", size = "1024x800";
    int rounds = 3;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--keep")
            keep = true;
        else if (flag == "--frames" && i + 1 < argc && std::atoi(argv[i + 1]) > 0)
            frames = argv[++i];
        else if (flag == "--rounds" && i + 1 < argc && std::atoi(argv[i + 1]) > 0)
            rounds = std::atoi(argv[++i]);
        else if (flag == "--size" && i + 1 < argc)
            size = argv[++i];
        else {
            std::fprintf(stderr, "usage: frame [--frames N] [--rounds R] [--size WxH] [--keep]\n");
            return 2;
        }
    }
    std::string pattern = (fs::temp_directory_path() / "tidemoor-frame-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("frame: mkdtemp");
        return 1;
    }
    const fs::path root = pattern;
    const std::string common = "--frames " + frames + " --size " + size;
    std::vector<Figures> realRuns(rounds), floorRuns(rounds), readsRuns(rounds);
    bool measured = true;
    for (int r = 0; r < rounds && measured; ++r) {
        measured =
            measure(root, "real", TIDEMOOR_SHADER_DIR, common, realRuns[r]) &&
            measure(root, "floor", FLOOR_SHADER_DIR, common + " --key 0:W", floorRuns[r]) &&
            measure(root, "reads", TIDEMOOR_SHADER_DIR, common, readsRuns[r], READS_SHADER_DIR);
    }
    const Figures real = medianFigures(realRuns);
    const Figures floor = medianFigures(floorRuns);
    const Figures reads = medianFigures(readsRuns);
    if (keep)
        std::printf("run folders kept in %s\n", root.c_str());
    else
        fs::remove_all(root);
    if (!measured)
        return 1;

    std::printf("frame: default scene, %s frames at %s, medians of %d runs each (floor: texture "
                "only, no shadows)\n",
                frames.c_str(), size.c_str(), rounds);
    std::printf("renderer: %s\n", real.renderer.empty() ? "unknown" : real.renderer.c_str());
    printRow("real", real);
    printRow("floor", floor);
    printRow("reads", reads);
    std::printf("real / floor  cpu  median %.2f  p99 %.2f  (target: median <= 4)\n",
                ratio(real.cpuMedian, floor.cpuMedian), ratio(real.cpuP99, floor.cpuP99));
    if (real.gpu && floor.gpu)
        std::printf("real / floor  gpu  median %.2f  p99 %.2f  (target: median <= 2.5)\n",
                    ratio(real.gpuMedian, floor.gpuMedian), ratio(real.gpuP99, floor.gpuP99));
    if (reads.gpu && floor.gpu)
        std::printf("reads / floor gpu  median %.2f  (the real shaders' texture reads and inputs "
                    "alone)\n",
                    ratio(reads.gpuMedian, floor.gpuMedian));
    if (real.started)
        std::printf("real   start-up to first frame %.1f ms\n", real.startUp);
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average: %.2f %.2f %.2f (%ld cores)\n", load[0], load[1], load[2],
                    sysconf(_SC_NPROCESSORS_ONLN));
    return 0;
}
