// Folders for tests that read and write real files: a fresh temporary one,
// removed with its contents afterwards, and a spell in another working
// directory that ends even when an assertion returns early. The standard
// library alone, so the same tests run on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

struct TempFolder {
    std::filesystem::path path = [] {
        std::random_device entropy;
        std::mt19937_64 names((uint64_t{entropy()} << 32) | entropy());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path folder =
                base / ("tidemoor-test-" + std::to_string(names()));
            std::error_code error;
            if (std::filesystem::create_directory(folder, error))
                return folder;
        }
        return std::filesystem::path();
    }();

    TempFolder() = default;
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }

    // The path of relative inside the folder.
    std::string file(const std::string& relative) const { return (path / relative).string(); }

    // Writes bytes to relative as they are, making its folders; returns the
    // file's path.
    std::string write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories((path / relative).parent_path());
        std::ofstream(path / relative, std::ios::binary) << bytes;
        return file(relative);
    }
};

// Makes folder (created when missing) the working directory for the guard's
// lifetime, for code that opens files by relative path.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder)
        : previous(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }

private:
    std::filesystem::path previous;
};
