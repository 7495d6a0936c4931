// obj_load: how fast, and in how much memory, Tidemoor loads large OBJ models
// compared with tinyobjloader and assimp.
//
//   obj_load [--runs N] [--sizes 100k,1m,4m,adversarial] [--folder DIR]
//            [--keep] [--no-hugetlb] [MODEL.obj ...]
//
// Without models it generates displaced-grid models of the given triangle
// counts and, for the size "adversarial", the models made to slow vertex
// de-duplication down (see model_generator.h), in a fresh temporary folder,
// removed at the end unless --keep. The default sizes include
// "adversarial". Every loader runs in a worker process of its own (see
// load_worker.h), N times per model, interleaved; the table gives the median
// time and the median peak resident memory, with the ratios the targets are
// stated in. The whole set is then measured again with transparent huge
// pages for malloc (GLIBC_TUNABLES=glibc.malloc.hugetlb=1), and that table is
// printed too when its figures differ. Figures only: nothing is asserted.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/model_generator.h"
#include "bench/worker_process.h"

namespace {

struct Loader {
    const char* label;
    const char* worker; // executable beside this one
    const char* mode;
};

const Loader loaders[] = {
    {"ours: loadObj + buildMeshGroups", "obj_load_ours", "whole"},
    {"ours: loadObj alone", "obj_load_ours", "parse"},
    {"ours: loadObj + group lists' fresh memory alone", "obj_load_ours", "memory"},
    {"tinyobjloader: LoadObj", "obj_load_tinyobjloader", "plain"},
    {"assimp: ReadFile, no post-processing", "obj_load_assimp", "plain"},
    {"assimp: + JoinIdenticalVertices, CalcTangentSpace", "obj_load_assimp", "joined"},
};
constexpr size_t loaderCount = std::size(loaders);
constexpr size_t oursWhole = 0;
constexpr size_t oursMemory = 2;
constexpr size_t tinyobjloader = 3;

// Figures that differ by more than this between the two malloc set-ups are
// worth a second table.
constexpr double noticeableDifference = 0.10;

struct Model {
    std::string label;
    std::string path;
    uint64_t bytes = 0;
    int64_t triangles = -1; // -1: not known in advance (a given model)
    bool grid = false;      // one of the displaced grids, which scale
};

struct Figures {
    bool ok = false;
    double seconds = 0.0; // median
    double fastest = 0.0;
    double slowest = 0.0;
    double peakMiB = 0.0;  // median
    double startMiB = 0.0; // median resident size before the load
    int64_t triangles = -1;
    std::string error;
};

// figures[model][loader]
using Table = std::vector<std::vector<Figures>>;

struct Options {
    int runs = 3;
    std::vector<uint64_t> sizes{100'000, 1'000'000, 4'000'000};
    bool adversarial = true;
    std::string folder;
    bool keep = false;
    bool hugePagesPass = true;
    std::vector<std::string> models;
};

std::optional<uint64_t> parseSize(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    double scale = 1.0;
    const std::string suffix = end;
    if (suffix == "k" || suffix == "K")
        scale = 1e3;
    else if (suffix == "m" || suffix == "M")
        scale = 1e6;
    else if (!suffix.empty())
        return std::nullopt;
    if (!(value > 0.0) || end == text.c_str())
        return std::nullopt;
    return static_cast<uint64_t>(std::llround(value * scale));
}

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--runs" && hasValue) {
            options.runs = std::atoi(argv[++i]);
            if (options.runs < 1)
                return std::nullopt;
        } else if (argument == "--sizes" && hasValue) {
            options.sizes.clear();
            options.adversarial = false;
            std::string list = argv[++i];
            size_t start = 0;
            while (start <= list.size()) {
                const size_t comma = std::min(list.find(',', start), list.size());
                const std::string item = list.substr(start, comma - start);
                const std::optional<uint64_t> size = parseSize(item);
                if (item == "adversarial")
                    options.adversarial = true;
                else if (size)
                    options.sizes.push_back(*size);
                else
                    return std::nullopt;
                start = comma + 1;
            }
        } else if (argument == "--folder" && hasValue) {
            options.folder = argv[++i];
        } else if (argument == "--keep") {
            options.keep = true;
        } else if (argument == "--no-hugetlb") {
            options.hugePagesPass = false;
        } else if (!argument.empty() && argument[0] != '-') {
            options.models.push_back(argument);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::string folderOfThisProgram() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

// "1.2M", "100k", "512": a triangle count the way the targets name it.
std::string shortCount(uint64_t n) {
    char text[32];
    if (n >= 1'000'000 && n % 100'000 == 0)
        std::snprintf(text, sizeof text, "%gM", static_cast<double>(n) / 1e6);
    else if (n >= 1'000 && n % 1'000 == 0)
        std::snprintf(text, sizeof text, "%gk", static_cast<double>(n) / 1e3);
    else
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(n));
    return text;
}

double mebibytes(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string firstLineOf(const char* path, const char* prefix) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line))
        if (line.rfind(prefix, 0) == 0)
            return line;
    return "";
}

// The 1, 5 and 15 minute load averages: other work on the machine shows in
// the times, and these say how much there was.
std::string loadAverage() {
    std::istringstream fields(firstLineOf("/proc/loadavg", ""));
    std::string one, five, fifteen;
    fields >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void printMachine(const Options& options) {
    std::string cpu = firstLineOf("/proc/cpuinfo", "model name");
    if (const size_t colon = cpu.find(':'); colon != std::string::npos)
        cpu = cpu.substr(colon + 2);
    const std::string hugePages = firstLineOf("/sys/kernel/mm/transparent_hugepage/enabled", "");
    std::printf("OBJ load benchmark: %s, %ld cores, load average %s; transparent huge pages: "
                "%s\n",
                cpu.empty() ? "unknown CPU" : cpu.c_str(), sysconf(_SC_NPROCESSORS_ONLN),
                loadAverage().c_str(), hugePages.empty() ? "unknown" : hugePages.c_str());
    std::printf("Each figure is the median of %d runs, each run a process of its own; time is "
                "the load call's wall time, peak is the process's VmHWM after it, (at start) its "
                "resident size before the load.\n",
                options.runs);
}

// Reads the file once so that every loader finds it in the page cache.
void warmPageCache(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
           file.gcount() > 0) {
    }
}

Table measure(const std::vector<Model>& models, const Options& options, bool hugePages,
              const std::string& binFolder) {
    Table table(models.size(), std::vector<Figures>(loaderCount));
    for (size_t m = 0; m < models.size(); ++m) {
        warmPageCache(models[m].path);
        std::vector<std::vector<double>> seconds(loaderCount);
        std::vector<std::vector<double>> peaks(loaderCount);
        std::vector<std::vector<double>> starts(loaderCount);
        // Runs interleave the loaders, so a slow spell of the machine is
        // shared out rather than falling on one of them.
        std::fprintf(stderr, "measuring %s%s ...\n", models[m].label.c_str(),
                     hugePages ? " with glibc.malloc.hugetlb=1" : "");
        for (int run = 0; run < options.runs; ++run) {
            for (size_t l = 0; l < loaderCount; ++l) {
                Figures& figures = table[m][l];
                if (!figures.error.empty())
                    continue;
                const WorkerResult result = runWorker(binFolder + "/" + loaders[l].worker,
                                                      loaders[l].mode, models[m].path, hugePages);
                if (!result.ok) {
                    figures.error = result.error;
                    continue;
                }
                seconds[l].push_back(result.seconds);
                peaks[l].push_back(static_cast<double>(result.peakKiB) / 1024.0);
                starts[l].push_back(static_cast<double>(result.startKiB) / 1024.0);
                figures.triangles = result.triangles;
            }
        }
        for (size_t l = 0; l < loaderCount; ++l) {
            Figures& figures = table[m][l];
            if (!figures.error.empty() || seconds[l].empty())
                continue;
            figures.ok = true;
            figures.seconds = median(seconds[l]);
            figures.fastest = *std::min_element(seconds[l].begin(), seconds[l].end());
            figures.slowest = *std::max_element(seconds[l].begin(), seconds[l].end());
            figures.peakMiB = median(peaks[l]);
            figures.startMiB = median(starts[l]);
        }
    }
    return table;
}

void printTable(const char* title, const std::vector<Model>& models, const Table& table) {
    std::printf("\n== %s ==\n", title);
    for (size_t m = 0; m < models.size(); ++m) {
        const Model& model = models[m];
        std::printf("\n%s: ", model.label.c_str());
        if (model.triangles >= 0)
            std::printf("%llu triangles, ", static_cast<unsigned long long>(model.triangles));
        std::printf("OBJ file %.1f MiB\n", mebibytes(model.bytes));
        std::printf("  %-52s %9s %17s %9s %10s %10s %19s\n", "loader", "median s",
                    "(fastest-slowest)", "peak MiB", "peak/file", "(at start)",
                    "time/tinyobjloader");
        const Figures& reference = table[m][tinyobjloader];
        for (size_t l = 0; l < loaderCount; ++l) {
            const Figures& figures = table[m][l];
            if (!figures.ok) {
                std::printf("  %-52s failed: %s\n", loaders[l].label, figures.error.c_str());
                continue;
            }
            char spread[48];
            std::snprintf(spread, sizeof spread, "(%.3f-%.3f)", figures.fastest, figures.slowest);
            char start[32];
            std::snprintf(start, sizeof start, "(%.1f)", figures.startMiB);
            std::printf("  %-52s %9.3f %17s %9.1f %10.2f %10s", loaders[l].label, figures.seconds,
                        spread, figures.peakMiB,
                        figures.peakMiB / std::max(mebibytes(model.bytes), 1e-9), start);
            if (reference.ok)
                std::printf(" %19.2f", figures.seconds / reference.seconds);
            else
                std::printf(" %19s", "-");
            if (model.triangles >= 0 && figures.triangles != model.triangles)
                std::printf("  (read %lld triangles!)", static_cast<long long>(figures.triangles));
            std::printf("\n");
        }
    }

    // How time grows with size, from each model to the next larger one.
    for (size_t m = 1; m < models.size(); ++m) {
        if (!models[m].grid || !models[m - 1].grid)
            continue;
        const double growth =
            static_cast<double>(models[m].triangles) / static_cast<double>(models[m - 1].triangles);
        std::printf("\nScaling %s -> %s (%.2fx the triangles), time ratio:\n",
                    models[m - 1].label.c_str(), models[m].label.c_str(), growth);
        for (size_t l = 0; l < loaderCount; ++l) {
            const Figures& small = table[m - 1][l];
            const Figures& large = table[m][l];
            if (small.ok && large.ok)
                std::printf("  %-52s %6.2f\n", loaders[l].label, large.seconds / small.seconds);
        }
    }
}

// The load targets, where the models allow them: the whole load on 1M
// triangles at most 0.45x tinyobjloader's parse; 4x the triangles at most
// 4.4x the time; peak memory at most 2.2x the file size.
void printTargets(const std::vector<Model>& models, const Table& table) {
    std::printf("\nTargets (reported, not asserted):\n");
    const auto find = [&](int64_t triangles) -> std::optional<size_t> {
        for (size_t m = 0; m < models.size(); ++m)
            if (models[m].triangles > 0 &&
                std::abs(static_cast<double>(models[m].triangles) / triangles - 1.0) < 0.02)
                return m;
        return std::nullopt;
    };
    const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    const std::optional<size_t> million = find(1'000'000);
    const std::optional<size_t> fourMillion = find(4'000'000);
    if (million && table[*million][oursWhole].ok && table[*million][tinyobjloader].ok) {
        const double ratio =
            table[*million][oursWhole].seconds / table[*million][tinyobjloader].seconds;
        std::printf("  whole load / tinyobjloader parse, 1M triangles: %.2f (target <= 0.45): %s\n",
                    ratio, verdict(ratio <= 0.45));
        if (table[*million][oursMemory].ok)
            std::printf("    (the parse and the group lists' fresh memory alone, no build work: "
                        "%.2f)\n",
                        table[*million][oursMemory].seconds /
                            table[*million][tinyobjloader].seconds);
    }
    if (million && fourMillion && table[*million][oursWhole].ok &&
        table[*fourMillion][oursWhole].ok) {
        const double ratio =
            table[*fourMillion][oursWhole].seconds / table[*million][oursWhole].seconds;
        std::printf("  whole load time 4M / 1M triangles: %.2f (target <= 4.40): %s\n", ratio,
                    verdict(ratio <= 4.4));
    }
    for (size_t m = 0; m < models.size(); ++m) {
        const Figures& figures = table[m][oursWhole];
        if (!figures.ok)
            continue;
        const double ratio = figures.peakMiB / std::max(mebibytes(models[m].bytes), 1e-9);
        std::printf("  whole load peak memory / file size, %s: %.2f (target <= 2.20): %s\n",
                    models[m].label.c_str(), ratio, verdict(ratio <= 2.2));
    }
}

// Whether any time or peak of the two tables differs noticeably.
bool tablesDiffer(const Table& a, const Table& b) {
    const auto differs = [](double x, double y) {
        return std::abs(x - y) > noticeableDifference * std::max(std::abs(x), std::abs(y));
    };
    for (size_t m = 0; m < a.size(); ++m)
        for (size_t l = 0; l < loaderCount; ++l)
            if (a[m][l].ok != b[m][l].ok ||
                (a[m][l].ok && (differs(a[m][l].seconds, b[m][l].seconds) ||
                                differs(a[m][l].peakMiB, b[m][l].peakMiB))))
                return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const char* const usage = "usage: obj_load [--runs N] [--sizes 100k,1m,4m,adversarial] "
                              "[--folder DIR] [--keep] [--no-hugetlb] [MODEL.obj ...]\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    const std::optional<Options> parsed = parseArguments(argc, argv);
    if (!parsed) {
        std::fputs(usage, stderr);
        return 2;
    }
    Options options = *parsed;
    const std::string binFolder = folderOfThisProgram();

    std::vector<Model> models;
    bool madeFolder = false;
    if (!options.models.empty()) {
        for (const std::string& path : options.models) {
            std::error_code error;
            const uint64_t bytes = std::filesystem::file_size(path, error);
            if (error) {
                std::fprintf(stderr, "obj_load: cannot read %s\n", path.c_str());
                return 1;
            }
            models.push_back({std::filesystem::path(path).filename().string(),
                              std::filesystem::absolute(path).string(), bytes, -1});
        }
    } else {
        if (options.folder.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/obj_load-XXXXXX";
            if (!mkdtemp(pattern.data())) {
                std::fprintf(stderr, "obj_load: cannot make a temporary folder\n");
                return 1;
            }
            options.folder = pattern;
            madeFolder = true;
        } else {
            std::filesystem::create_directories(options.folder);
        }
        // The displaced grids with their sizes, then the adversarial models.
        std::vector<std::pair<std::string, uint64_t>> wanted;
        for (const uint64_t size : options.sizes)
            wanted.emplace_back("grid-" + shortCount(size), size);
        for (const char* name : adversarialModels)
            if (options.adversarial)
                wanted.emplace_back(name, 0);
        for (const auto& [name, size] : wanted) {
            std::fprintf(stderr, "generating %s/%s.obj ... ", options.folder.c_str(), name.c_str());
            std::fflush(stderr);
            const auto start = std::chrono::steady_clock::now();
            GeneratedModel generated;
            if (size > 0 ? !generateGridModel(options.folder, name, size, generated)
                         : !generateAdversarialModel(options.folder, name, generated)) {
                std::fprintf(stderr, "failed\n");
                return 1;
            }
            std::fprintf(
                stderr, "%.1f MiB in %.1f s\n", mebibytes(generated.bytes),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            models.push_back({name, generated.objPath, generated.bytes,
                              static_cast<int64_t>(generated.triangles), size > 0});
        }
    }

    printMachine(options);
    std::fflush(stdout);
    const Table plain = measure(models, options, false, binFolder);
    printTable("glibc malloc as configured by default", models, plain);
    printTargets(models, plain);
    std::fflush(stdout);

    if (options.hugePagesPass) {
        const Table huge = measure(models, options, true, binFolder);
        if (tablesDiffer(plain, huge)) {
            printTable("GLIBC_TUNABLES=glibc.malloc.hugetlb=1 (transparent huge pages for malloc)",
                       models, huge);
            printTargets(models, huge);
        } else {
            std::printf("\nWith GLIBC_TUNABLES=glibc.malloc.hugetlb=1 every figure is within "
                        "%.0f%% of the table above.\n",
                        noticeableDifference * 100);
        }
    }

    std::printf("\nLoad average at the end: %s\n", loadAverage().c_str());
    if (madeFolder && !options.keep)
        std::filesystem::remove_all(options.folder);
    else if (options.models.empty())
        std::printf("\nModels kept in %s\n", options.folder.c_str());
    return 0;
}
